// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window's layout is drawn up in twips; Qt works in logical pixels and
// scales those for high-DPI screens itself.

#include <QRect>

#include "main_window/main_form_layout.h"

inline constexpr int TwipsPerPixel = 15;

constexpr int FromTwips(int twips) { return twips / TwipsPerPixel; }

constexpr QRect PixelRect(TwipRect twips)
{
    return QRect(FromTwips(twips.left), FromTwips(twips.top), FromTwips(twips.width), FromTwips(twips.height));
}
