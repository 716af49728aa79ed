// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window's layout is drawn up in twips; Qt works in logical pixels and
// scales those for high-DPI screens itself.

#include <QRect>
#include <QSize>

inline constexpr int TwipsPerPixel = 15;

constexpr int FromTwips(int twips) { return twips / TwipsPerPixel; }

constexpr QRect TwipRect(int left, int top, int width, int height)
{
    return QRect(FromTwips(left), FromTwips(top), FromTwips(width), FromTwips(height));
}

constexpr QSize TwipSize(int width, int height)
{
    return QSize(FromTwips(width), FromTwips(height));
}
