// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Follows hidraw nodes through a udev netlink monitor watched by a thread of
// its own: the thread sleeps in poll() on the monitor and a wake-up eventfd,
// so with no device events it uses no CPU.

#include <thread>

#include "usb_backend/device_watch.h"

struct udev;
struct udev_device;
struct udev_monitor;

// Which netlink messages to follow. "udev" messages come after udevd has
// applied its rules (node permissions included); "kernel" ones come straight
// from the kernel and are all there is where no udevd runs (a bare VM).
enum class UeventSource { Automatic, Udev, Kernel };

class UdevHidrawWatch : public DeviceWatch {
public:
    // Automatic takes "udev" when udevd is running, else "kernel".
    explicit UdevHidrawWatch(UeventSource source = UeventSource::Automatic);
    ~UdevHidrawWatch() override;

    UdevHidrawWatch(const UdevHidrawWatch&) = delete;
    UdevHidrawWatch& operator=(const UdevHidrawWatch&) = delete;

    std::vector<DeviceNode> Enumerate() override;
    bool Start(DeviceWatchListener& listener) override;
    void Stop() override;

private:
    bool OpenMonitor();
    void CloseMonitor();
    void Run();
    void Drain();
    void Handle(udev_device* device);

    const UeventSource source_;
    DeviceWatchListener* listener_ = nullptr;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int wakeFd_ = -1;
    std::thread thread_;
};
