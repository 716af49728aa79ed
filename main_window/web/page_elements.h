// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The page's elements as the web window uses them, each known by the name
// the window gives its control. Texts are UTF-16 as the page holds them: a
// line break is one LF. Setting a value raises no page event.

#include <cstddef>
#include <string>
#include <string_view>

#include "main_window/main_form_layout.h"

enum class ElementKind { Label, Line, Lines, Combo, Frame, Button, Notice };

// What the user did to an element.
enum class PageEvent {
    Typed,    // a text box's text, or a combo box's edit field, changed
    Picked,   // a combo box's entry was chosen from its list
    Pressed,  // a button
    Touched,  // any key or mouse press in the window
};

class PageElements {
public:
    virtual ~PageElements() = default;
    // At `rect` (twips, 15 to a CSS pixel) inside `parent` ("" for the
    // window); `tab` is its place in the tab order, -1 for none.
    virtual void Make(const char* name, ElementKind kind, const char* parent, TwipRect rect,
                      std::u16string_view text, int tab) = 0;
    virtual std::u16string Value(const char* name) const = 0;
    virtual void SetValue(const char* name, std::u16string_view text) = 0;
    virtual void SetEnabled(const char* name, bool enabled) = 0;
    virtual void SetShown(const char* name, bool shown) = 0;
    // A frame's, label's or button's caption.
    virtual void SetCaption(const char* name, std::u16string_view caption) = 0;
    // Shown when the pointer rests on it.
    virtual void SetTitle(const char* name, std::u16string_view title) = 0;
    virtual void AddEntry(const char* name, std::u16string_view text) = 0;
    // The entry chosen and still shown in the edit field; -1 once typed over.
    virtual int PickedEntry(const char* name) const = 0;
    // Chooses the entry and shows its text in the edit field.
    virtual void PickEntry(const char* name, int index) = 0;
    virtual void Focus(const char* name) = 0;
};
