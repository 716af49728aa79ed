// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/attached_units.h"

#include <hidapi.h>
#include <utf8cpp/utf8.h>

#include <algorithm>
#include <iterator>

#include "usb_backend/hidapi_port.h"
#include "usb_backend/linux/hidraw_opener.h"

namespace {

// hidapi's wide strings hold code points on Linux; one that is none shows as U+FFFD.
std::string Utf8(const wchar_t* text)
{
    std::string out;
    for (; *text != L'\0'; ++text) {
        auto c = static_cast<std::uint32_t>(*text);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        utf8::append(c, std::back_inserter(out));
    }
    return out;
}

}  // namespace

std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId)
{
    StartHidapi();
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
    HidrawOpener opener;
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
    StartHidapi();
    const std::lock_guard lock(HidapiGlobalsMutex());
    std::string serial;
    hid_device_info* all = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        if (info->path != nullptr && devnode == info->path && info->serial_number != nullptr) {
            serial = Utf8(info->serial_number);
            break;
        }
    }
    hid_free_enumeration(all);
    return serial;
}
