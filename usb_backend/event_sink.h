// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The link's side of its event sink: posting and detaching exclude each
// other, so once Detach returns no thread can post.

#include <memory>
#include <mutex>

#include "protocol/device_event_sink.h"

class EventSink {
public:
    explicit EventSink(std::unique_ptr<DeviceEventSink> sink) : sink_(std::move(sink)) {}

    void Attach(WindowHandle window);
    // Stops posting and drops what the window was posted and did not get yet.
    void Detach();
    // Posts to the attached window; does nothing when detached. Any thread.
    void Post(int code, DeviceHandle handle = 0);

private:
    std::mutex mutex_;
    std::unique_ptr<DeviceEventSink> sink_;
    bool attached_ = false;
};
