// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/utf8_text.h"

#include <utf8.h>

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string FromUtf8(std::string_view text)
{
    return utf8::utf8to16(utf8::replace_invalid(text));
}

std::string ToUtf8(std::u16string_view text)
{
    // utfcpp throws at a lone half of a pair, and takes the unit after a
    // high half along with it: each lone half is replaced first.
    std::u16string whole(text);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (IsHigh(whole[i]) && i + 1 < whole.size() && IsLow(whole[i + 1]))
            ++i;
        else if (IsHigh(whole[i]) || IsLow(whole[i]))
            whole[i] = u'\uFFFD';
    }
    return utf8::utf16to8(whole);
}
