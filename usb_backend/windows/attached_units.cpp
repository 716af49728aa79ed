// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/attached_units.h"

#include <hidapi.h>

#include "usb_backend/hidapi_port.h"
#include "usb_backend/windows/held_device_opener.h"
#include "usb_backend/windows/notification_watch.h"
#include "usb_backend/windows/wide_path.h"

std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId)
{
    std::vector<AttachedUnit> units;
    HeldDeviceOpener opener;
    for (std::string& path : ListHidInterfaces({vendorId, productId})) {
        const OpenResult opened = opener.Open(path);  // closed again at once
        const auto access = opened.port ? AttachedUnit::Access::Openable
                            : opened.permissionDenied ? AttachedUnit::Access::Denied
                                                      : AttachedUnit::Access::Failed;
        units.push_back({std::move(path), access});
    }
    return units;
}

std::string UsbSerialNumber(const std::string& devnode, std::uint16_t, std::uint16_t)
{
    // hidapi's listing finds nothing under Wine: ask the device itself.
    StartHidapi();
    const std::lock_guard lock(HidapiGlobalsMutex());
    hid_device* device = hid_open_path(devnode.c_str());
    if (device == nullptr)
        return {};
    wchar_t serial[128] = {};
    const bool got = hid_get_serial_number_string(device, serial, sizeof serial / sizeof serial[0]) == 0;
    hid_close(device);
    return got ? Utf8Path(serial) : std::string();
}
