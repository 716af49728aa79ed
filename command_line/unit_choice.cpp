// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/unit_choice.h"

#include <algorithm>

namespace {

const char* AccessWord(ListedUnit::Access access)
{
    switch (access) {
    case ListedUnit::Access::Openable: return "can be opened";
    case ListedUnit::Access::Denied: return "permission denied";
    case ListedUnit::Access::Failed: return "cannot be opened";
    }
    return "";
}

}  // namespace

std::string DescribeUnits(const std::vector<ListedUnit>& units)
{
    std::string text;
    for (const ListedUnit& unit : units)
        text += unit.devnode + "\t" + AccessWord(unit.access) + "\n";
    return text;
}

Failure AccessDenied(const std::string& devnode, const std::string& accessFix)
{
    return {ExitNoUnit, "the unit at " + devnode + " may not be opened by this user (permission denied)\n" + accessFix};
}

UnitChoice ChooseUnit(const std::vector<ListedUnit>& units, const std::string& wanted,
                      const std::string& accessFix)
{
    UnitChoice choice;
    if (units.empty()) {
        choice.failure = {ExitNoUnit, "no unit attached\n"};
        return choice;
    }
    const ListedUnit* unit = nullptr;
    if (!wanted.empty()) {
        auto found = std::find_if(units.begin(), units.end(),
                                  [&](const ListedUnit& u) { return u.devnode == wanted; });
        if (found == units.end()) {
            choice.failure = {ExitNoUnit, "no unit attached at " + wanted + "; attached:\n" +
                                              DescribeUnits(units)};
            return choice;
        }
        unit = &*found;
    } else if (units.size() > 1) {
        choice.failure = {ExitBadInput, "several units attached; pick one with --device NODE:\n" +
                                            DescribeUnits(units)};
        return choice;
    } else {
        unit = &units.front();
    }
    if (unit->access == ListedUnit::Access::Denied) {
        choice.failure = AccessDenied(unit->devnode, accessFix);
        return choice;
    }
    if (unit->access == ListedUnit::Access::Failed) {
        choice.failure = {ExitNoUnit, "the unit at " + unit->devnode + " cannot be opened\n"};
        return choice;
    }
    choice.devnode = unit->devnode;
    return choice;
}
