// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line's commands, driven by a UnitSource and writing to the
// given streams, so tests run them against the in-process unit.

#include <ostream>
#include <string>
#include <vector>

#include "command_line/connected_unit.h"
#include "command_line/unit_source.h"
#include "protocol/unit_arrivals.h"

struct CommandContext {
    UnitSource& units;
    std::ostream& out;
    std::ostream& err;
    bool progress = false;  // say "zone k of n" on err (when it is a terminal)
    ReadBackTimings timings;
    // Where provision learns of units plugged in and pulled out.
    UnitArrivals* arrivals = nullptr;
    // Stop once the arguments are checked: no file read, no unit touched.
    bool argumentsOnly = false;
};

// Runs the command in `arguments` (program name first, as main gets them,
// in UTF-8) and returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, CommandContext& context);
