// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the backend knows of one device node (a hidraw node, a Windows device
// path): where it lives and which device it belongs to.

#include <cstdint>
#include <optional>
#include <string>

struct HidIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    friend bool operator==(const HidIdentity&, const HidIdentity&) = default;
};

struct DeviceNode {
    std::string devnode;                  // e.g. /dev/hidraw3
    std::optional<HidIdentity> identity;  // empty when the device vanished before it was looked at
};

// True when the seam's 32-bit vendor/product pair names `identity`.
bool SameIdentity(HidIdentity identity, std::int32_t vendorId, std::int32_t productId);
