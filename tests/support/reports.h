// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit's answer, one character a report, and what an upload writes.

#include <vector>

#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"

inline Report InputReport(std::uint8_t tag, std::uint8_t character)
{
    Report report{};
    report[TagByte] = tag;
    report[tag == TagSmsc ? SmscCharByte : tag == TagPhone ? PhoneCharByte : TextCharByte] = character;
    return report;
}

inline std::vector<Report> UploadOf(int zone, int smsc, const std::u16string& pin, const std::u16string& phone,
                                    const std::u16string& text)
{
    RecordingLibrary reference;
    ConfiguratorState state;
    SendZoneConfiguration(state, reference, zone, smsc, pin, phone, text);
    return reference.written;
}
