// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/event_sink.h"

void EventSink::Attach(WindowHandle window)
{
    std::lock_guard lock(mutex_);
    sink_->Target(window);
    attached_ = window != nullptr;
}

void EventSink::Detach()
{
    std::lock_guard lock(mutex_);
    if (!attached_)
        return;
    attached_ = false;
    // Events already posted must not reach the window either.
    sink_->DropPending();
    sink_->Target(nullptr);
}

void EventSink::Post(int code, DeviceHandle handle)
{
    std::lock_guard lock(mutex_);
    if (attached_)
        sink_->Post(code, handle);
}
