// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/utf16_text.h"

#include <utf8.h>

#include <iterator>

std::u16string Utf16Of(std::string_view utf8)
{
    std::string valid;
    utf8::replace_invalid(utf8.begin(), utf8.end(), std::back_inserter(valid));
    std::u16string units;
    utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(units));
    return units;
}

std::string Utf8Of(std::u16string_view utf16)
{
    // utfcpp refuses a lone surrogate; it stands for nothing, so U+FFFD.
    std::u16string paired(utf16);
    for (std::size_t i = 0; i < paired.size(); ++i) {
        const bool high = paired[i] >= 0xD800 && paired[i] <= 0xDBFF;
        const bool low = paired[i] >= 0xDC00 && paired[i] <= 0xDFFF;
        if (high && i + 1 < paired.size() && paired[i + 1] >= 0xDC00 && paired[i + 1] <= 0xDFFF)
            ++i;
        else if (high || low)
            paired[i] = 0xFFFD;
    }
    std::string text;
    utf8::utf16to8(paired.begin(), paired.end(), std::back_inserter(text));
    return text;
}
