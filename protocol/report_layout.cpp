// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/report_layout.h"

std::u16string DecimalText(std::int64_t number)
{
    // Built by hand: the protocol stays free of locales and narrow strings.
    const bool negative = number < 0;
    // Work in unsigned so the most negative value does not overflow.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(number)
                                       : static_cast<std::uint64_t>(number);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        digits.insert(digits.begin(), u'-');
    return digits;
}

std::vector<std::uint8_t> EncodeField(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

char16_t CharacterOfInputByte(std::uint8_t byte)
{
    // Windows-1252 differs from Latin-1 only in 0x80-0x9F.
    static constexpr std::array<char16_t, 32> c1{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (byte >= 0x80 && byte <= 0x9F)
        return c1[byte - 0x80];
    return static_cast<char16_t>(byte);
}

std::int64_t HalfEvenAddress(std::int64_t offset, std::size_t index)
{
    // offset + index/2 is either whole or ends in .5; in integers that is
    // exact, with the tie going to whichever neighbour is even.
    const std::int64_t whole = offset + static_cast<std::int64_t>(index / 2);
    if (index % 2 == 0)
        return whole;
    return (whole % 2 == 0) ? whole : whole + 1;
}
