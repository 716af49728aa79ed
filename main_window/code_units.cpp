// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/code_units.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string CutToUnits(std::u16string_view text, std::size_t maxUnits)
{
    if (text.size() <= maxUnits)
        return std::u16string(text);
    std::size_t keep = maxUnits;
    if (keep > 0 && IsHigh(text[keep - 1]) && IsLow(text[keep]))
        --keep;
    return std::u16string(text.substr(0, keep));
}

std::u16string WithoutHalfPairs(std::u16string_view text, std::size_t* cursor)
{
    std::u16string whole;
    whole.reserve(text.size());
    const std::size_t at = cursor != nullptr ? *cursor : 0;
    std::size_t moved = at;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool paired = (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) ||
                            (IsLow(c) && i > 0 && IsHigh(text[i - 1]));
        if ((IsHigh(c) || IsLow(c)) && !paired) {
            if (i < at)
                --moved;
            continue;
        }
        whole += c;
    }
    if (cursor != nullptr)
        *cursor = moved;
    return whole;
}
