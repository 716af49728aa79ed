// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Everything that crosses the cable: device identity, report bytes, command
// and tag codes, the unit's memory map and the rule that spreads a field's
// bytes over addresses.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::int32_t DeviceVendorId = 6017;   // 0x1781
inline constexpr std::int32_t DeviceProductId = 2000;  // 0x07D0

// Output report bytes.
inline constexpr std::size_t CommandByte = 6;
inline constexpr std::size_t DataByte = 7;
inline constexpr std::size_t AddressByte = 8;
inline constexpr std::uint8_t CmdWriteByte = 10;

// Input report: byte 8 says which byte carries the character.
inline constexpr std::size_t TagByte = 8;
inline constexpr std::uint8_t TagSmsc = 1;   // character in byte 5
inline constexpr std::uint8_t TagPhone = 2;  // character in byte 6
inline constexpr std::uint8_t TagText = 3;   // character in byte 7
inline constexpr std::size_t SmscCharByte = 5;
inline constexpr std::size_t PhoneCharByte = 6;
inline constexpr std::size_t TextCharByte = 7;

// Memory map.
inline constexpr std::int32_t PinOffset = 0;
inline constexpr std::int32_t SmscOffset = 5;
inline constexpr std::int32_t TextOffset = 10;  // from the zone's base
inline constexpr std::int32_t HighestAddress = 255;

// Longest values the window lets through; each lands its last write on the
// last address of its area.
inline constexpr std::size_t PinMaxLength = 4;
inline constexpr std::size_t PhoneMaxLength = 9;
inline constexpr std::size_t TextMaxLength = 49;

struct ZoneEntry {
    std::u16string_view text;
    std::int32_t zone;
    std::int32_t base;
};

inline constexpr std::array<ZoneEntry, 4> ZoneTable{{
    {u"Zona 1", 1, 15},
    {u"Zona 2", 2, 75},
    {u"Zona 3", 3, 135},
    {u"Zona 4", 4, 195},
}};

struct OperatorEntry {
    std::u16string_view text;
    std::int32_t smsc;  // service-centre number; its decimal text goes on the wire
};

inline constexpr std::array<OperatorEntry, 4> OperatorTable{{
    {u"MOVISTAR", 609090909},
    {u"AMENA", 656000311},
    {u"VODAFONE", 607003110},
    {u"YOIGO", 622996111},
}};

// Digits with a leading minus when negative, no leading space.
std::u16string DecimalText(std::int64_t number);

// UTF-16LE bytes of a text: low byte first, no terminator, no code page.
std::vector<std::uint8_t> EncodeField(std::u16string_view text);

// The character an input byte stands for: ASCII below 128, Windows-1252
// above; its five undefined bytes map to the C1 control of the same value.
char16_t CharacterOfInputByte(std::uint8_t byte);

// Address of byte `index` of a field starting at `offset`: offset + index/2
// rounded half to even *after* the addition, so the offset's parity decides
// where the ties go. May exceed 255; the caller must not send such a write.
std::int64_t HalfEvenAddress(std::int64_t offset, std::size_t index);
