// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/attached_units.h"

#include <hidapi.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "usb_backend/hidapi_unit_port.h"

namespace {

AttachedUnit::Access TryOpen(const std::string& devnode)
{
    if (hid_device* device = hid_open_path(devnode.c_str())) {
        hid_close(device);
        return AttachedUnit::Access::Openable;
    }
    // hidapi does not say why; ask the node directly.
    if (access(devnode.c_str(), R_OK | W_OK) != 0 && errno == EACCES)
        return AttachedUnit::Access::Denied;
    return AttachedUnit::Access::Failed;
}

}  // namespace

std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId)
{
    HidapiOpener initialise;  // hid_init, once per process
    std::vector<AttachedUnit> units;
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        const std::string devnode = info->path != nullptr ? info->path : "";
        const bool listed = std::any_of(units.begin(), units.end(),
                                        [&](const AttachedUnit& unit) { return unit.devnode == devnode; });
        if (!devnode.empty() && !listed)
            units.push_back({devnode, AttachedUnit::Access::Failed});
    }
    hid_free_enumeration(all);
    for (AttachedUnit& unit : units)
        unit.access = TryOpen(unit.devnode);
    return units;
}
