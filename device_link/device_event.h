// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The device event that backends post to the attached window: an event code
// and the device handle, delivered on the window's thread by its toolkit's
// event loop, one at a time and in the order posted.

#include <memory>

#include "protocol/hid_library.h"

// The window message that carries a device event (WM_APP + 200).
inline constexpr int DeviceEventMessage = 0x80C8;

// Queues one device event for `window`; safe from any thread. The toolkit
// drops it if the window is gone before it is delivered. Each toolkit's
// device-link library defines it.
void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle = 0);

// The window a backend posts its events to, held so that a window destroyed
// while still connected is noticed and not posted to. Each toolkit's
// device-link library defines it.
class EventTarget {
public:
    EventTarget();
    ~EventTarget();
    EventTarget(const EventTarget&) = delete;
    EventTarget& operator=(const EventTarget&) = delete;

    void Set(WindowHandle window);  // nullptr: none
    explicit operator bool() const;
    void Post(int code, DeviceHandle handle = 0) const;
    // Drops the device events posted to the window and not yet delivered;
    // only from the window's thread.
    void DropPending() const;

private:
    struct Window;
    std::unique_ptr<Window> window_;
};
