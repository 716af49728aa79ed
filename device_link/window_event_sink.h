// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A USB backend's device events posted to the connected window's queue, as
// the toolkit this program is built with delivers them.

#include <memory>

#include "device_link/device_event.h"
#include "protocol/device_event_sink.h"

class WindowEventSink : public DeviceEventSink {
public:
    void Target(WindowHandle window) override { target_.Set(window); }
    void Post(int code, DeviceHandle handle) override { target_.Post(code, handle); }
    void DropPending() override { target_.DropPending(); }

private:
    EventTarget target_;
};

inline std::unique_ptr<DeviceEventSink> PostToWindow()
{
    return std::make_unique<WindowEventSink>();
}
