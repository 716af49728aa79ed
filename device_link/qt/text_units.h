// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Qt strings and the protocol's texts are both sequences of UTF-16 code
// units; these conversions copy them unit for unit. (QString::fromUtf16 would
// drop a leading byte-order mark, so it is not used.)

#include <QString>
#include <QStringView>
#include <string>

inline std::u16string ToUnits(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

inline QString FromUnits(const std::u16string& text)
{
    return QStringView(text).toString();
}
