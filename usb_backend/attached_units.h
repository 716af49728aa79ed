// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Every attached device with one identity, as the platform lists it, and
// whether this user can open it: what a command line shows before choosing a
// unit. Each platform folder implements it.

#include <cstdint>
#include <string>
#include <vector>

struct AttachedUnit {
    enum class Access { Openable, Denied, Failed };
    std::string devnode;
    Access access = Access::Failed;
};

// One entry per device node (a hidraw node, a HID interface's path), in the
// platform's order, with whether this user may open each; none is left open.
std::vector<AttachedUnit> ListAttachedUnits(std::uint16_t vendorId, std::uint16_t productId);

// The USB serial number of the device on `devnode`, in UTF-8; empty when it
// has none or is gone.
std::string UsbSerialNumber(const std::string& devnode, std::uint16_t vendorId, std::uint16_t productId);
