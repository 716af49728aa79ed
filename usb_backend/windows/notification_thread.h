// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The notification watch on a thread of its own that waits for messages,
// for a program whose own thread has no message loop (the command line):
// the changes then come on that thread, as the udev watch's do on Linux.

#include <future>
#include <thread>

#include "usb_backend/device_watch.h"

class NotificationThread : public DeviceWatch {
public:
    explicit NotificationThread(HidIdentity unit);
    ~NotificationThread() override;

    NotificationThread(const NotificationThread&) = delete;
    NotificationThread& operator=(const NotificationThread&) = delete;

    std::vector<DeviceNode> Enumerate() override;
    // Returns once the thread has listed the devices and delivered the
    // Snapshot.
    bool Start(DeviceWatchListener& listener) override;
    void Stop() override;

    // The watch's notification window while started, else null.
    void* NotificationWindow() const { return window_; }

private:
    void Run(DeviceWatchListener& listener, std::promise<bool>& started);

    const HidIdentity unit_;
    std::thread thread_;
    unsigned long threadId_ = 0;
    void* window_ = nullptr;
};
