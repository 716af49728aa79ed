// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/hidapi_port.h"

#include <hidapi.h>

void StartHidapi()
{
    static std::once_flag once;
    std::call_once(once, [] { hid_init(); });
}

std::mutex& HidapiGlobalsMutex()
{
    static std::mutex mutex;
    return mutex;
}

HidapiPort::~HidapiPort()
{
    hid_close(reader_);
    hid_close(writer_);
}

// hidapi waits for the unit to take the report, then gives up.
bool HidapiPort::Write(const Report& report)
{
    return hid_write(writer_, report.data(), report.size()) > 0;
}

int HidapiPort::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
{
    return hid_read_timeout(reader_, buffer.data(), buffer.size(), static_cast<int>(timeout.count()));
}

std::unique_ptr<UnitPort> OpenHidapiPort(const std::string& path)
{
    StartHidapi();
    const std::lock_guard lock(HidapiGlobalsMutex());
    hid_device* reader = hid_open_path(path.c_str());
    hid_device* writer = reader ? hid_open_path(path.c_str()) : nullptr;
    if (writer)
        return std::make_unique<HidapiPort>(reader, writer);
    if (reader)
        hid_close(reader);
    return nullptr;
}
