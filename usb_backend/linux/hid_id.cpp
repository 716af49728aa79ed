// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/hid_id.h"

#include <array>
#include <cctype>
#include <charconv>
#include <iterator>

#include <utf8cpp/utf8.h>

namespace {

// Whole-field hex number; rejects signs, prefixes and trailing text.
std::optional<std::uint32_t> HexField(std::string_view field)
{
    if (field.empty() || field.size() > 8)
        return std::nullopt;
    for (char c : field) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, 16);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<HidIdentity> ParseHidId(std::string_view text)
{
    std::array<std::string_view, 3> fields;
    std::size_t count = 0;
    while (true) {
        std::size_t colon = text.find(':');
        if (count == fields.size())
            return std::nullopt;
        fields[count++] = text.substr(0, colon);
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    if (count != fields.size() || !HexField(fields[0]))
        return std::nullopt;
    auto vendor = HexField(fields[1]);
    auto product = HexField(fields[2]);
    if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
        return std::nullopt;
    return HidIdentity{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::string HidSerialNumber(std::string_view hidId, std::string_view uniq, HidIdentity unit)
{
    if (ParseHidId(hidId) != unit)
        return "";
    std::string serial;
    utf8::replace_invalid(uniq.begin(), uniq.end(), std::back_inserter(serial));
    return serial;
}
