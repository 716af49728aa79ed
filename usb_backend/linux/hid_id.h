// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The identity udev gives a hid device.

#include <optional>
#include <string>
#include <string_view>

#include "usb_backend/hid_identity.h"

// Parses the HID_ID property of a hid device, "BBBB:VVVVVVVV:PPPPPPPP" in hex.
// The bus part is not checked: virtual (uhid) devices carry other bus types
// than USB and must still be recognised.
std::optional<HidIdentity> ParseHidId(std::string_view text);

// The serial number of a hid device of `unit`'s identity, from its HID_ID and
// HID_UNIQ properties, in UTF-8 (bytes that are none show as U+FFFD); empty
// for another device.
std::string HidSerialNumber(std::string_view hidId, std::string_view uniq, HidIdentity unit);
