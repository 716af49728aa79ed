// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Field limits count UTF-16 code units, but a character outside the Basic
// Multilingual Plane (an emoji) takes two, and half of one is no character:
// a limit or a paste never keeps half of a pair.

#include <cstddef>
#include <string>
#include <string_view>

// `text` cut to at most `maxUnits` code units, never between the two halves
// of a surrogate pair.
std::u16string CutToUnits(std::u16string_view text, std::size_t maxUnits);

// `text` without any lone half of a surrogate pair. `cursor`, a position in
// `text`, is moved along so it stays between the same characters.
std::u16string WithoutHalfPairs(std::u16string_view text, std::size_t* cursor = nullptr);
