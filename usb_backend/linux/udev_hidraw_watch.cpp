// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/udev_hidraw_watch.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "usb_backend/linux/hid_id.h"

namespace {

const char* SourceName(UeventSource source)
{
    switch (source) {
    case UeventSource::Udev:
        return "udev";
    case UeventSource::Kernel:
        return "kernel";
    case UeventSource::Automatic:
        break;
    }
    // libudev's own test for a running udevd.
    return access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
}

// Node and identity of a hidraw device; the identity comes from its hid
// parent, which exists whatever bus carries the device (USB, uhid, ...).
std::optional<DeviceNode> Describe(udev_device* device)
{
    const char* devnode = udev_device_get_devnode(device);
    if (devnode == nullptr)
        return std::nullopt;
    DeviceNode node{devnode, std::nullopt};
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
        if (const char* id = udev_device_get_property_value(hid, "HID_ID"))
            node.identity = ParseHidId(id);
    }
    return node;
}

}  // namespace

UdevHidrawWatch::UdevHidrawWatch(UeventSource source) : source_(source) {}

UdevHidrawWatch::~UdevHidrawWatch()
{
    Stop();
}

std::vector<DeviceNode> UdevHidrawWatch::Enumerate()
{
    // A context of its own: libudev contexts are not shared across threads.
    std::vector<DeviceNode> nodes;
    udev* context = udev_new();
    if (context == nullptr)
        return nodes;
    if (udev_enumerate* listing = udev_enumerate_new(context)) {
        udev_enumerate_add_match_subsystem(listing, "hidraw");
        udev_enumerate_scan_devices(listing);
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(listing))
        {
            udev_device* device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (device == nullptr)
                continue;  // gone meanwhile
            if (auto node = Describe(device))
                nodes.push_back(std::move(*node));
            udev_device_unref(device);
        }
        udev_enumerate_unref(listing);
    }
    udev_unref(context);
    std::sort(nodes.begin(), nodes.end(),
              [](const DeviceNode& a, const DeviceNode& b) { return a.devnode < b.devnode; });
    return nodes;
}

bool UdevHidrawWatch::Start(DeviceWatchListener& listener)
{
    Stop();
    listener_ = &listener;
    // The monitor receives before the listing is taken, so nothing that
    // happens in between is missed; a repeated arrival is harmless.
    const bool watching = OpenMonitor();
    listener.Snapshot(Enumerate());
    if (watching)
        thread_ = std::thread([this] { Run(); });
    return watching;
}

void UdevHidrawWatch::Stop()
{
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        // An eventfd write of 8 bytes cannot be short; its result is moot.
        [[maybe_unused]] ssize_t written = write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    CloseMonitor();
    listener_ = nullptr;
}

bool UdevHidrawWatch::OpenMonitor()
{
    udev_ = udev_new();
    if (udev_ != nullptr)
        monitor_ = udev_monitor_new_from_netlink(udev_, SourceName(source_));
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (monitor_ == nullptr || wakeFd_ < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        CloseMonitor();
        return false;
    }
    // Drain reads until the socket is empty, so it must never block.
    const int fd = udev_monitor_get_fd(monitor_);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return true;
}

void UdevHidrawWatch::CloseMonitor()
{
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (udev_ != nullptr)
        udev_unref(udev_);
    if (wakeFd_ >= 0)
        close(wakeFd_);
    monitor_ = nullptr;
    udev_ = nullptr;
    wakeFd_ = -1;
}

void UdevHidrawWatch::Run()
{
    pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    while (true) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        const short ready = fds[0].revents;
        if (ready & (POLLHUP | POLLNVAL))
            return;
        if (ready & POLLERR) {
            // The socket overflowed and messages were lost: start over from
            // a fresh listing.
            Drain();
            listener_->Snapshot(Enumerate());
        } else if (ready & POLLIN) {
            Drain();
        }
    }
}

void UdevHidrawWatch::Drain()
{
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        Handle(device);
        udev_device_unref(device);
    }
}

void UdevHidrawWatch::Handle(udev_device* device)
{
    const char* action = udev_device_get_action(device);
    if (action == nullptr)
        return;
    if (std::strcmp(action, "add") == 0) {
        if (auto node = Describe(device))
            listener_->Arrived(*node);
    } else if (std::strcmp(action, "remove") == 0) {
        if (const char* devnode = udev_device_get_devnode(device))
            listener_->Left(devnode);
    }
}
