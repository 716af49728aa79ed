// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The provision command: serves each unit as it is plugged in, side by side
// with those under way, until it has served `count` units or SIGINT or
// SIGTERM comes.

#include <cstddef>
#include <string>

#include "command_line/command_line.h"
#include "command_line/zone_listing.h"

struct ProvisionRequest {
    RestorePlan plan;
    std::u16string pin;     // empty: no PIN reports
    std::size_t count = 0;  // 0: until a signal
    std::size_t parallel = 0;  // units served at once; 0: no limit
    std::string logPath;    // empty: no log
};

// Takes the units from context.arrivals and, on a thread of its own, a link
// for each one from context.units.Open(node). Exit status: ExitOk when every
// unit served was ok, ExitDifferences when any was not.
int ProvisionUnits(CommandContext& context, const ProvisionRequest& request);
