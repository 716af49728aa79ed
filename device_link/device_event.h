// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The device event that backends post to the attached window: an event code
// and the device handle, delivered on the window's thread by Qt's event loop.

#include <QEvent>

#include "protocol/hid_library.h"

class QObject;

inline constexpr QEvent::Type DeviceEventMessage = static_cast<QEvent::Type>(0x80C8);

class DeviceEvent : public QEvent {
public:
    DeviceEvent(int code, DeviceHandle handle)
        : QEvent(DeviceEventMessage), code_(code), handle_(handle) {}

    int wParam() const { return code_; }          // the event code
    DeviceHandle lParam() const { return handle_; }  // the device handle (0 for EventChanged)

private:
    int code_;
    DeviceHandle handle_;
};

// The window handle given to Connect, as the object events are posted to.
inline QObject* WindowObject(WindowHandle window) { return static_cast<QObject*>(window); }
inline WindowHandle WindowHandleOf(QObject* window) { return window; }

// Queues one device event for `window`; safe from any thread. Qt drops it if
// the window is destroyed before it is delivered.
void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle = 0);
