// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/attached_units.h"

#include <libudev.h>
#include <sys/stat.h>

#include "usb_backend/linux/hid_id.h"
#include "usb_backend/linux/hidraw_opener.h"
#include "usb_backend/linux/udev_hidraw_watch.h"

std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId)
{
    // The listing the link itself follows, so a unit listed is one it finds.
    std::vector<AttachedUnit> units;
    for (const DeviceNode& node : UdevHidrawWatch().Enumerate()) {
        if (node.identity == HidIdentity{vendorId, productId})
            units.push_back({node.devnode, NodeAccess(node.devnode)});
    }
    return units;
}

std::string UsbSerialNumber(const std::string& devnode, std::uint16_t vendorId, std::uint16_t productId)
{
    // Called on the watch's thread for each unit plugged in: this one node's
    // udev record, not hidapi's listing of every unit under its lock, which
    // would hold up the opening of units already under way.
    struct stat node{};
    if (stat(devnode.c_str(), &node) != 0 || !S_ISCHR(node.st_mode))
        return "";
    udev* context = udev_new();  // libudev contexts are not shared across threads
    if (context == nullptr)
        return "";
    std::string serial;
    if (udev_device* hidraw = udev_device_new_from_devnum(context, 'c', node.st_rdev)) {
        if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr)) {
            const char* id = udev_device_get_property_value(hid, "HID_ID");
            const char* uniq = udev_device_get_property_value(hid, "HID_UNIQ");
            if (id != nullptr && uniq != nullptr)
                serial = HidSerialNumber(id, uniq, {vendorId, productId});
        }
        udev_device_unref(hidraw);
    }
    udev_unref(context);
    return serial;
}
