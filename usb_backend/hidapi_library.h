// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The production HidLibrary: hidraw nodes followed through udev, the alarm
// unit opened through hidapi.

#include "usb_backend/udev_hidraw_watch.h"
#include "usb_backend/unit_link.h"

struct HidapiOptions {
    UeventSource source = UeventSource::Automatic;
    std::ostream* diagnostics = &std::cerr;
};

class HidapiLibrary : public UnitLink {
public:
    HidapiLibrary();
    // With `onlyDevnode` set, only the unit on that hidraw node is used;
    // otherwise the first unit found.
    explicit HidapiLibrary(HidapiOptions options, std::string onlyDevnode = {});
};
