// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/whole_characters.h"

QValidator::State WholeCharacters::validate(QString& input, int& pos) const
{
    QString whole;
    whole.reserve(input.size());
    int cursor = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        const bool paired =
            (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) ||
            (c.isLowSurrogate() && i > 0 && input.at(i - 1).isHighSurrogate());
        if (c.isSurrogate() && !paired) {
            if (i < pos)
                --cursor;
            continue;
        }
        whole += c;
    }
    input = whole;
    pos = cursor;
    return Acceptable;
}
