// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How a toolkit puts the device link in front of a window's own handling:
// each device event reaching the window goes to `route` first, then on to
// the window as before. Qt does it with an event filter, Win32 by replacing
// the window procedure.

#include <functional>

#include "protocol/hid_library.h"

class WindowHook {
public:
    using Route = std::function<void(int code, DeviceHandle handle)>;

    virtual ~WindowHook() = default;
    virtual void Install(WindowHandle window, Route route) = 0;
    // Gives the window its own handling back.
    virtual void Remove() = 0;
};
