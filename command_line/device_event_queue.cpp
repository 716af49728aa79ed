// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/device_event_queue.h"

void DeviceEventQueue::Push(QueuedDeviceEvent event)
{
    {
        const std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    arrived_.notify_one();
}

void DeviceEventQueue::Clear()
{
    const std::lock_guard lock(mutex_);
    events_.clear();
}

std::optional<QueuedDeviceEvent> DeviceEventQueue::Take(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_until(lock, deadline, [this] { return !events_.empty(); }))
        return std::nullopt;
    const QueuedDeviceEvent event = events_.front();
    events_.pop_front();
    return event;
}

namespace {

class QueueSink : public DeviceEventSink {
public:
    void Target(WindowHandle window) override
    {
        const std::lock_guard lock(mutex_);
        queue_ = static_cast<DeviceEventQueue*>(window);
    }
    void Post(int code, DeviceHandle handle) override
    {
        // Under the lock, so a disconnect never races a post into a queue
        // about to go.
        const std::lock_guard lock(mutex_);
        if (queue_ != nullptr)
            queue_->Push({code, handle});
    }
    void DropPending() override
    {
        const std::lock_guard lock(mutex_);
        if (queue_ != nullptr)
            queue_->Clear();
    }

private:
    std::mutex mutex_;
    DeviceEventQueue* queue_ = nullptr;
};

}  // namespace

std::unique_ptr<DeviceEventSink> PostToQueue()
{
    return std::make_unique<QueueSink>();
}
