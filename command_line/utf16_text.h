// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line's texts are UTF-8; the protocol's are UTF-16 code units.
// What cannot be converted becomes U+FFFD, so a text never vanishes whole.

#include <string>
#include <string_view>

std::u16string Utf16Of(std::string_view utf8);
std::string Utf8Of(std::u16string_view utf16);
