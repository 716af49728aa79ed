// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Picks the unit a command talks to out of the attached ones.

#include <optional>
#include <string>
#include <vector>

#include "command_line/exit_status.h"
#include "command_line/unit_source.h"

struct UnitChoice {
    std::string devnode;  // set when a usable unit was chosen
    Failure failure;      // otherwise why not
};

// `wanted` is the --device value, empty when not given. Several units and no
// --device is a usage error that lists them; none, a missing --device node or
// one this user may not open means no usable unit.
UnitChoice ChooseUnit(const std::vector<ListedUnit>& units, const std::string& wanted,
                      const std::string& accessFix);

// The unit at `devnode` refuses this user, and what to do about it.
Failure AccessDenied(const std::string& devnode, const std::string& accessFix);

// One line per unit: its node and whether it can be opened.
std::string DescribeUnits(const std::vector<ListedUnit>& units);
