// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window as it is drawn up, in twips (1440 to the inch, 15 to a pixel at
// 96 dpi): each toolkit builds its controls from these. Controls inside the
// frame are placed relative to it, all others to the window's client area.

#include <string_view>

struct TwipRect {
    int left, top, width, height;
};

namespace Layout {

inline constexpr std::u16string_view Caption = u"Velbrix Qorun";
inline constexpr int ClientWidth = 2865;
inline constexpr int ClientHeight = 5070;

struct Place {
    const char* name;
    TwipRect rect;
    std::u16string_view text;  // initial text or caption
    int tab;                   // place in the keyboard tab order, 0 first
};

inline constexpr Place Label2{"Label2", {720, 120, 1215, 255}, u"Pin", 8};
inline constexpr Place pin{"pin", {1080, 360, 495, 285}, u"pin", 7};
inline constexpr Place Label1{"Label1", {720, 840, 1335, 255}, u"Compañia", 6};
inline constexpr Place Combo1{"Combo1", {720, 1080, 1455, 315}, u"Compañia", 5};
inline constexpr Place t_a_1{"t_a_1", {360, 1680, 2055, 2775}, u"Zona de Alarma 1", 0};
inline constexpr Place t_e_m_1{"t_e_m_1", {480, 600, 975, 285}, u"Tlf envio", 1};
inline constexpr Place Text1{"Text1", {120, 1080, 1575, 1095}, u"Texto a enviar\r\n", 2};
inline constexpr Place b_e_1{"b_e_1", {120, 2280, 1575, 375}, u"Env. Config. zona 1", 3};
inline constexpr Place ALARMA{"ALARMA", {600, 4560, 1575, 315}, u"alarma", 4};

// The notice band fills the free strip between the operator selector and
// the frame, across the whole window.
inline constexpr TwipRect Notice{0, Combo1.rect.top + Combo1.rect.height, ClientWidth,
                                 t_a_1.rect.top - (Combo1.rect.top + Combo1.rect.height)};

// The longest text the PIN and phone boxes must show whole.
inline constexpr std::u16string_view PinSample = u"8888";
inline constexpr std::u16string_view PhoneSample = u"888888888";

}  // namespace Layout

// What the PIN box shows until the user types the PIN.
inline constexpr char16_t PinDesignText[] = u"pin";
