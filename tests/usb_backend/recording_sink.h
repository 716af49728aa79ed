// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A window's event queue without a toolkit: what the link posts waits there
// until the test takes it, as a window's queue waits for its event loop.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "protocol/device_event_sink.h"

using RecordedEvents = std::vector<std::pair<int, DeviceHandle>>;  // (code, handle)

struct EventQueue {
    std::mutex mutex;
    WindowHandle target = nullptr;
    RecordedEvents pending;
    int postsWithoutTarget = 0;

    RecordedEvents Take() { std::lock_guard lock(mutex); return std::exchange(pending, {}); }
    std::size_t Size() { std::lock_guard lock(mutex); return pending.size(); }
};

class RecordingSink : public DeviceEventSink {
public:
    explicit RecordingSink(std::shared_ptr<EventQueue> queue) : queue_(std::move(queue)) {}
    void Target(WindowHandle window) override { std::lock_guard lock(queue_->mutex); queue_->target = window; }
    void DropPending() override { std::lock_guard lock(queue_->mutex); queue_->pending.clear(); }
    void Post(int code, DeviceHandle handle) override
    {
        const std::lock_guard lock(queue_->mutex);
        if (queue_->target) queue_->pending.emplace_back(code, handle); else ++queue_->postsWithoutTarget;
    }

private:
    std::shared_ptr<EventQueue> queue_;
};

// The bound only keeps a broken build from hanging; the caller asserts on the result.
inline bool WaitFor(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}
