// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A line edit with a maximum length cuts an insertion by code units, so an
// emoji pasted into the last free place would leave half of its surrogate
// pair in the box and on the wire. This validator drops any half pair, so
// the character is refused whole.

#include <QValidator>

class WholeCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
