// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where a HidLibrary that follows real devices sends its device events. The
// program that makes the library gives it one: a window toolkit posts them to
// the connected window's queue; a program without a window takes them itself.

#include "protocol/hid_library.h"

class DeviceEventSink {
public:
    virtual ~DeviceEventSink() = default;
    // The window given to Connect; nullptr once disconnected.
    virtual void Target(WindowHandle window) = 0;
    // Queues one event for the target. From any thread, one call at a time.
    virtual void Post(int code, DeviceHandle handle) = 0;
    // Drops what was posted and not yet delivered; on the connecting thread.
    virtual void DropPending() = 0;
};
