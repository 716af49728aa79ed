// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HidLibrary on Windows: the unit's HID interfaces followed through
// device-interface notifications on the connecting (the window's) thread,
// the unit opened through hidapi's Windows backend.

#include "usb_backend/unit_link.h"

struct WindowsHidOptions {
    std::ostream* diagnostics = &std::cerr;
    // When set, only the unit at this device path (any case) is used;
    // otherwise the first unit found.
    std::string onlyDevnode;
    // Notifications on a thread of the library's own, for a program whose
    // thread has no message loop; otherwise on the connecting thread.
    bool ownThread = false;
};

// What a Windows user is told: another program holding the unit is the only
// reason an open is refused.
LinkNotices WindowsNotices();

class WindowsHidLibrary : public UnitLink {
public:
    explicit WindowsHidLibrary(std::unique_ptr<DeviceEventSink> sink, WindowsHidOptions options = {});
};
