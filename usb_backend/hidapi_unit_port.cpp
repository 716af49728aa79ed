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
    // On Linux hidapi's device path is the hidraw node itself. hidapi keeps
    // one error string per handle and replaces it on every read and write, so
    // the reader thread and the writer each get a handle of their own.
    hid_device* reader = hid_open_path(devnode.c_str());
    hid_device* writer = reader ? hid_open_path(devnode.c_str()) : nullptr;
    if (writer)
        return {std::make_unique<HidapiPort>(reader, writer), false};
    if (reader)
        hid_close(reader);
    // hidapi does not say why; ask the node directly.
    const bool denied = access(devnode.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
    return {nullptr, denied};
}

HidapiPort::~HidapiPort()
{
    hid_close(reader_);
    hid_close(writer_);
}

bool HidapiPort::Write(const Report& report)
{
    return hid_write(writer_, report.data(), report.size()) > 0;
}

int HidapiPort::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
{
    return hid_read_timeout(reader_, buffer.data(), buffer.size(), static_cast<int>(timeout.count()));
}
