// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Follows the alarm unit's HID device interfaces through the system's
// device-interface notifications, received by a message-only window of the
// watch's own on the thread that starts it, so nothing is polled. Only
// interfaces whose path names the unit's vendor and product are reported;
// paths are lower case.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "usb_backend/device_watch.h"

// The device paths of the attached HID interfaces with this identity, lower
// case, listed through SetupAPI: Wine's cfgmgr32 cannot list device
// interfaces, so hidapi's own listing finds nothing there.
std::vector<std::string> ListHidInterfaces(HidIdentity identity);

class NotificationWatch : public DeviceWatch {
public:
    explicit NotificationWatch(HidIdentity unit);
    ~NotificationWatch() override;

    std::vector<DeviceNode> Enumerate() override;
    // Registers for notifications before listing, so no plug-in falls
    // between the two; one told twice is known already and says nothing.
    bool Start(DeviceWatchListener& listener) override;
    void Stop() override;

    // The window that receives WM_DEVICECHANGE while started, else null.
    void* NotificationWindow() const;

private:
    class Registration;
    // A HID device interface arrived or left.
    void InterfaceChanged(bool arrived, std::wstring_view name);

    const HidIdentity unit_;
    const std::string unitName_;  // "vid_1781&pid_07d0", as in a device path
    DeviceWatchListener* listener_ = nullptr;
    std::unique_ptr<Registration> registration_;
};
