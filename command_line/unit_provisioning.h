// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One unit on the bench: the backup restored onto it and read back, as
// restore --verify does, and what came of it.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "command_line/connected_unit.h"
#include "command_line/unit_commands.h"
#include "command_line/zone_listing.h"

struct UnitOutcome {
    enum class Result { Ok, Differs, Interrupted, StoppedTakingReports, NoAnswer, NoPermission };
    Result result = Result::Ok;
    std::size_t reportsSent = 0;  // output reports the unit took
    std::vector<FieldDifference> differences;
    std::string detail;  // one line for the user; empty for ok and differs
};

// The result as the per-unit line and the log name it.
const char* ResultName(UnitOutcome::Result result);

// Called with "upload zone k of n" and "verify zone k of n" as it goes.
using ProvisionProgress = std::function<void(const std::string& step)>;

// `unit` is connected, not yet attached, over `library`, which talks to this
// unit only; the caller detaches it once the outcome is out, so the user need
// not wait for the link's teardown. The PIN, when not empty, goes with the
// first zone, as restore sends it.
UnitOutcome ProvisionUnit(ConnectedUnit& unit, HidLibrary& library, const RestorePlan& plan, const std::u16string& pin,
                          const ReadBackTimings& timings, const std::string& accessFix,
                          const ProvisionProgress& progress);
