// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Arbitrary bytes as a backup file through the check restore and provision
// make before sending anything: a refused file says why, and a file taken
// holds zones 1 to 4 at most once each, in order, within the unit's limits.

#include <cstdlib>

#include "command_line/zone_listing.h"
#include "protocol/report_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto plan = ParseBackupFile(std::string_view(reinterpret_cast<const char*>(data), size), error);
    bool holds = plan ? !plan->zones.empty() : !error.empty();
    for (std::size_t i = 0; plan && i < plan->zones.size(); ++i) {
        const ZoneUpload& zone = plan->zones[i];
        holds = holds && zone.zone >= 1 && zone.zone <= 4 && (i == 0 || plan->zones[i - 1].zone < zone.zone) &&
                zone.phone.size() <= PhoneMaxLength && zone.text.size() <= TextMaxLength;
    }
    if (!holds)
        std::abort();
    return 0;
}
