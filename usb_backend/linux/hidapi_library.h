// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HidLibrary on Linux: hidraw nodes followed through udev, the alarm
// unit opened through hidapi.

#include "usb_backend/linux/udev_hidraw_watch.h"
#include "usb_backend/unit_link.h"

struct HidapiOptions {
    UeventSource source = UeventSource::Automatic;
    std::ostream* diagnostics = &std::cerr;
    // When set, only the unit on this hidraw node is used; otherwise the
    // first unit found.
    std::string onlyDevnode;
};

class HidapiLibrary : public UnitLink {
public:
    explicit HidapiLibrary(std::unique_ptr<DeviceEventSink> sink, HidapiOptions options = {});
};
