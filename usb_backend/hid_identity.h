// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the backend knows of one hidraw node: where it lives and which device
// it belongs to.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct HidIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    friend bool operator==(const HidIdentity&, const HidIdentity&) = default;
};

struct HidrawNode {
    std::string devnode;                  // e.g. /dev/hidraw3
    std::optional<HidIdentity> identity;  // empty when the device vanished before it was looked at
};

// Parses the HID_ID property of a hid device, "BBBB:VVVVVVVV:PPPPPPPP" in hex.
// The bus part is not checked: virtual (uhid) devices carry other bus types
// than USB and must still be recognised.
std::optional<HidIdentity> ParseHidId(std::string_view text);

// True when the seam's 32-bit vendor/product pair names `identity`.
bool SameIdentity(HidIdentity identity, std::int32_t vendorId, std::int32_t productId);
