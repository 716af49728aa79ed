// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/event_sink.h"

#include "device_link/device_event.h"

void EventSink::Attach(WindowHandle window)
{
    std::lock_guard lock(mutex_);
    window_ = window;
}

WindowHandle EventSink::Detach()
{
    std::lock_guard lock(mutex_);
    WindowHandle window = window_;
    window_ = nullptr;
    return window;
}

void EventSink::Post(int code, DeviceHandle handle)
{
    std::lock_guard lock(mutex_);
    if (window_ != nullptr)
        PostDeviceEvent(window_, code, handle);
}
