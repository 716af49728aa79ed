// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line has no window: a unit's device events wait in a queue of
// its own, which the command takes them from, in order, while it waits for
// the unit. The library's sink is told the queue as the window it connects
// to, so each connected unit gets its own events and none after it is gone.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "protocol/device_event_sink.h"

struct QueuedDeviceEvent {
    int code = 0;
    DeviceHandle handle = 0;
};

class DeviceEventQueue {
public:
    // From any thread.
    void Push(QueuedDeviceEvent event);
    void Clear();
    // The oldest event, waiting for one until `deadline` at most.
    std::optional<QueuedDeviceEvent> Take(std::chrono::steady_clock::time_point deadline);

    // The queue as the window handle a library connects to.
    WindowHandle AsWindow() { return this; }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<QueuedDeviceEvent> events_;
};

// The sink a library posts through, for the command line: into the queue it
// was connected to, nothing while disconnected.
std::unique_ptr<DeviceEventSink> PostToQueue();
