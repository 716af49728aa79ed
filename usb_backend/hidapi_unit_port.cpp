// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/hidapi_unit_port.h"

#include <hidapi.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

HidapiOpener::HidapiOpener()
{
    // hid_exit is never called: other instances may still use hidapi, and
    // it holds nothing worth giving back before the process ends.
    static std::once_flag once;
    std::call_once(once, [] { hid_init(); });
}

std::mutex& HidapiGlobalsMutex()
{
    static std::mutex mutex;
    return mutex;
}

OpenResult HidapiOpener::Open(const std::string& devnode)
{
    const std::lock_guard lock(HidapiGlobalsMutex());
    // On Linux hidapi's device path is the hidraw node itself.
    if (hid_device* device = hid_open_path(devnode.c_str()))
        return {std::make_unique<HidapiPort>(device), false};
    // hidapi does not say why; ask the node directly.
    const bool denied = access(devnode.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
    return {nullptr, denied};
}

HidapiPort::~HidapiPort()
{
    hid_close(device_);
}

bool HidapiPort::Write(const Report& report)
{
    return hid_write(device_, report.data(), report.size()) > 0;
}

int HidapiPort::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
{
    return hid_read_timeout(device_, buffer.data(), buffer.size(), static_cast<int>(timeout.count()));
}
