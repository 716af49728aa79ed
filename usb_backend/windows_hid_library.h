// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HidLibrary on Windows, over hidapi's Windows backend. Hot-plug comes
// from the system's device-interface notifications for HID devices, received
// by a message-only window of the library's own on the connecting thread, so
// nothing is polled. The unit is opened on demand and its input read on a
// thread of its own, as the Linux backend does.
//
// Threads: the public calls and the notifications come on the connecting
// (the window's) thread, except that WriteEx may also come from one other
// thread; a write runs outside the library's lock.

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "device_link/device_event.h"
#include "protocol/hid_library.h"
#include "protocol/report_layout.h"
#include "usb_backend/event_sink.h"
#include "usb_backend/hid_identity.h"
#include "usb_backend/input_queue.h"
#include "usb_backend/opened_unit.h"
#include "usb_backend/unit_port.h"
#include "usb_backend/unit_presence.h"

// The HID devices as the library reaches them; hidapi in production, a fake
// in the tests. Open says permissionDenied when another program holds the
// device open for itself.
class HidDevices : public UnitOpener {
public:
    // Device paths of the attached HID devices with this identity.
    virtual std::vector<std::string> Enumerate(HidIdentity identity) = 0;
};

std::unique_ptr<HidDevices> HidapiDevices();

struct WindowsHidOptions {
    HidIdentity unit{static_cast<std::uint16_t>(DeviceVendorId), static_cast<std::uint16_t>(DeviceProductId)};
    // How long the reader waits per read; bounds how long closing takes.
    std::chrono::milliseconds readTimeout{50};
};

class DeviceNotifications;

class WindowsHidLibrary : public HidLibrary {
public:
    explicit WindowsHidLibrary(std::unique_ptr<HidDevices> devices = HidapiDevices(), WindowsHidOptions options = {});
    ~WindowsHidLibrary() override;

    WindowsHidLibrary(const WindowsHidLibrary&) = delete;
    WindowsHidLibrary& operator=(const WindowsHidLibrary&) = delete;

    // True when plugging and unplugging are followed from now on.
    bool Connect(WindowHandle window) override;
    bool Disconnect() override;
    DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) override;
    void SetReadNotify(DeviceHandle handle, bool enabled) override;
    bool Read(DeviceHandle handle, Report& report) override;
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override;
    bool WritesWait() const override { return true; }
    // Denied once an open of the present unit was refused because another
    // program holds it, until an open succeeds or another plug-in replaces it.
    UnitAccess Access(std::int32_t vendorId, std::int32_t productId) override;

    // The window that receives WM_DEVICECHANGE while connected, else null.
    WindowHandle NotificationWindow() const;

private:
    friend class DeviceNotifications;
    // A device interface of the HID class arrived or left.
    void InterfaceChanged(bool arrived, std::wstring_view name);

    // With no notifications, nothing keeps the presence current: list the
    // devices again, unless the unit is open (a failing write says it left).
    void RefreshIfUnwatched();
    // The unit's devices as listed now, keyed by lower-case path.
    std::vector<HidrawNode> Listed();
    void ReleaseStaleUnit();
    OpenedUnit* EnsureOpen();
    void CloseUnit();

    std::unique_ptr<HidDevices> devices_;
    const WindowsHidOptions options_;
    const std::string unitName_;  // "vid_1781&pid_07d0", as in a device path

    EventSink sink_;
    EventTarget target_;
    InputQueue queue_;

    std::recursive_mutex mutex_;  // guards what follows, never held across a write
    std::unique_ptr<DeviceNotifications> notifications_;
    UnitPresence presence_;  // keyed by the lower-case device path
    DeviceHandle deniedHandle_ = 0;
    std::shared_ptr<OpenedUnit> unit_;  // a write under way holds it open
};
