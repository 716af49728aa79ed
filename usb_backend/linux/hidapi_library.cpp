// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/hidapi_library.h"

#include "usb_backend/linux/hidraw_opener.h"
#include "usb_backend/linux/udev_notices.h"

namespace {

UnitLinkOptions LinkOptions(HidapiOptions options)
{
    UnitLinkOptions link;
    link.diagnostics = options.diagnostics;
    link.notices = UdevNotices();
    link.onlyDevnode = std::move(options.onlyDevnode);
    return link;
}

}  // namespace

HidapiLibrary::HidapiLibrary(std::unique_ptr<DeviceEventSink> sink, HidapiOptions options)
    : UnitLink(std::make_unique<UdevHidrawWatch>(options.source), std::make_unique<HidrawOpener>(), std::move(sink),
               LinkOptions(std::move(options)))
{
}
