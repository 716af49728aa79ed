// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where the command line finds units: the attached ones as listed, and a
// HidLibrary that talks to one of them. The USB backend provides it in the
// program; tests provide the in-process unit.

#include <memory>
#include <string>
#include <vector>

#include "protocol/hid_library.h"

struct ListedUnit {
    enum class Access { Openable, Denied, Failed };
    std::string devnode;
    Access access = Access::Failed;
};

class UnitSource {
public:
    virtual ~UnitSource() = default;
    virtual std::vector<ListedUnit> List() = 0;
    // A link of its own to the unit on `devnode` only, open while it is held:
    // units served side by side each hold theirs.
    virtual std::shared_ptr<HidLibrary> Open(const std::string& devnode) = 0;
    // What to do so that this user may open a unit, as indented lines.
    virtual std::string AccessFix() const = 0;
};
