// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/message_text.h"

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
