// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/message_text.h"

namespace {

bool IsBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

}  // namespace

std::size_t WireUnitsOf(QChar displayed)
{
    return IsBreak(displayed) ? 2 : 1;
}

QString CutToUnits(const QString& text, std::size_t maxUnits)
{
    if (static_cast<std::size_t>(text.size()) <= maxUnits)
        return text;
    auto keep = static_cast<qsizetype>(maxUnits);
    if (keep > 0 && text.at(keep - 1).isHighSurrogate() && text.at(keep).isLowSurrogate())
        --keep;
    return text.left(keep);
}
