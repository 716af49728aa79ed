// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A line edit with a maximum length cuts an insertion, and a text set by
// the program, by code units, so an emoji across the limit would leave half
// of its surrogate pair in the box and on the wire. This validator, which
// the edit runs after either, drops any half pair: the character goes whole.

#include <QValidator>

class WholeCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
