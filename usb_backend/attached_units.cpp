// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/attached_units.h"

#include <QString>

#include <hidapi.h>

#include <algorithm>

#include "usb_backend/hidapi_unit_port.h"

std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId)
{
    HidapiOpener opener;
    std::vector<AttachedUnit> units;
    std::unique_lock lock(HidapiGlobalsMutex());
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        const std::string devnode = info->path != nullptr ? info->path : "";
        const bool listed = std::any_of(units.begin(), units.end(),
                                        [&](const AttachedUnit& unit) { return unit.devnode == devnode; });
        if (!devnode.empty() && !listed)
            units.push_back({devnode, AttachedUnit::Access::Failed});
    }
    hid_free_enumeration(all);
    lock.unlock();
    for (AttachedUnit& unit : units) {
        const OpenResult opened = opener.Open(unit.devnode);  // closed again at once
        unit.access = opened.port ? AttachedUnit::Access::Openable
                      : opened.permissionDenied ? AttachedUnit::Access::Denied
                                                : AttachedUnit::Access::Failed;
    }
    return units;
}

std::string UsbSerialNumber(const std::string& devnode, std::uint16_t vendorId, std::uint16_t productId)
{
    // Called on the watch's thread.
    const std::lock_guard lock(HidapiGlobalsMutex());
    HidapiOpener opener;  // initialises hidapi
    std::string serial;
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        if (info->path != nullptr && devnode == info->path && info->serial_number != nullptr) {
            serial = QString::fromWCharArray(info->serial_number).toStdString();
            break;
        }
    }
    hid_free_enumeration(all);
    return serial;
}
