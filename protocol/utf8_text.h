// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// UTF-8 to UTF-16 and back, for every layer that has no toolkit to do it.
// Nothing is refused: what is not a character (a byte that is no UTF-8, an
// overlong form, an encoded surrogate, a lone half of a surrogate pair)
// becomes U+FFFD, one for each such sequence.

#include <string>
#include <string_view>

std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);
