// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/windows/windows_hid_library.h"

#include "usb_backend/windows/held_device_opener.h"
#include "usb_backend/windows/notification_thread.h"
#include "usb_backend/windows/notification_watch.h"
#include "usb_backend/windows/wide_path.h"

namespace {

std::string HeldNotice(const std::string& path)
{
    return "velbrix-qorun: the alarm unit is plugged in at " + path +
           " but another program holds it open; close that program and try again.\n";
}

std::unique_ptr<DeviceWatch> Watch(bool ownThread)
{
    const HidIdentity unit = UnitLinkOptions{}.unit;
    if (ownThread)
        return std::make_unique<NotificationThread>(unit);
    return std::make_unique<NotificationWatch>(unit);
}

UnitLinkOptions LinkOptions(WindowsHidOptions options)
{
    UnitLinkOptions link;
    // No access rule is applied after plug-in: a refusal is not retried.
    link.openAttempts = 1;
    link.diagnostics = options.diagnostics;
    link.notices = WindowsNotices();
    link.onlyDevnode = LowerAscii(std::move(options.onlyDevnode));
    return link;
}

}  // namespace

LinkNotices WindowsNotices()
{
    return {HeldNotice,
            "velbrix-qorun: cannot watch for devices being plugged in (no device notifications);"
            " the alarm unit is only found when the tool writes to it.\n"};
}

WindowsHidLibrary::WindowsHidLibrary(std::unique_ptr<DeviceEventSink> sink, WindowsHidOptions options)
    : UnitLink(Watch(options.ownThread), std::make_unique<HeldDeviceOpener>(),
               std::move(sink), LinkOptions(std::move(options)))
{
}
