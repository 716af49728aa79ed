// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Connects the main window to the HID library and routes the library's device
// events to the window's DeviceNotifications, before the window's own
// handling sees them.

#include "device_link/window_hook.h"
#include "protocol/hid_library.h"

class DeviceNotifications;

class HIDDLLInterface {
public:
    HIDDLLInterface(HidLibrary& library, WindowHook& hook);
    // A window that outlives the link gets its own handling back.
    ~HIDDLLInterface();
    HIDDLLInterface(const HIDDLLInterface&) = delete;
    HIDDLLInterface& operator=(const HIDDLLInterface&) = delete;

    // Stores the window, connects the library to it, then hooks the window's
    // events, which go to `notifications`. Returns Connect's result.
    bool AttachDeviceLink(WindowHandle window, DeviceNotifications& notifications);
    // Disconnects the library first, then unhooks the window. Returns
    // Disconnect's result.
    bool DetachDeviceLink();

    // Dispatches one device event to the attached notifications; unknown
    // codes reach only the window.
    void DeviceEventProc(int code, DeviceHandle handle);

private:
    HidLibrary& library_;
    WindowHook& hook_;
    WindowHandle window_ = nullptr;
    DeviceNotifications* notifications_ = nullptr;
    bool hooked_ = false;
};
