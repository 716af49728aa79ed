// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A device event as Qt delivers it: a QEvent of its own type posted to the
// window's QObject, which is what a window handle is under Qt.

#include <QEvent>

#include "device_link/device_event.h"

class QObject;

class DeviceEvent : public QEvent {
public:
    DeviceEvent(int code, DeviceHandle handle)
        : QEvent(static_cast<QEvent::Type>(DeviceEventMessage)), code_(code), handle_(handle) {}

    int wParam() const { return code_; }             // the event code
    DeviceHandle lParam() const { return handle_; }  // the device handle (0 for EventChanged)

private:
    int code_;
    DeviceHandle handle_;
};

// The window handle given to Connect, as the object events are posted to.
inline QObject* WindowObject(WindowHandle window) { return static_cast<QObject*>(window); }
inline WindowHandle WindowHandleOf(QObject* window) { return window; }
