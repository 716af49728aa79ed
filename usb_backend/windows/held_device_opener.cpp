// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/windows/held_device_opener.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "usb_backend/hidapi_port.h"
#include "usb_backend/windows/wide_path.h"

OpenResult HeldDeviceOpener::Open(const std::string& path)
{
    // When a read-write open is refused, hidapi opens with no access
    // instead, which succeeds but neither reads nor writes; so ask first,
    // and learn why it was refused.
    const HANDLE probe = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OVERLAPPED, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {nullptr, error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED};
    }
    CloseHandle(probe);
    return {OpenHidapiPort(path), false};
}
