// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the kernel is told about the virtual unit, whichever way it is
// attached: USB 1781:07d0 with one 8-byte input and one 8-byte output report,
// no report IDs, on a vendor-defined usage page.

#include <cstdint>

inline constexpr std::uint16_t VirtualUnitVendorId = 0x1781;
inline constexpr std::uint16_t VirtualUnitProductId = 0x07d0;
inline constexpr std::uint8_t VirtualUnitReportLength = 8;

inline constexpr std::uint8_t VirtualUnitReportDescriptor[] = {
    0x06, 0x00, 0xFF,  // Usage Page (vendor-defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x08,        //   Report Count (8)
    0x09, 0x02,        //   Usage (2)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};
