// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/whole_characters.h"

#include "device_link/qt/text_units.h"
#include "main_window/code_units.h"

QValidator::State WholeCharacters::validate(QString& input, int& pos) const
{
    auto cursor = static_cast<std::size_t>(pos);
    input = FromUnits(WithoutHalfPairs(ToUnits(input), &cursor));
    pos = static_cast<int>(cursor);
    return Acceptable;
}
