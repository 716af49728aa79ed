// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the window's handlers need of its controls, whatever toolkit draws
// them. Texts are UTF-16 code units, as the protocol holds them. A control
// raises its event through the toolkit: a text box its change whenever its
// text changes (also when set here), a list its click whenever an entry
// becomes selected (also when selected here, also the entry already
// selected).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "protocol/hid_library.h"

class Control {
public:
    virtual ~Control() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

class TextBox : public Control {
public:
    virtual std::u16string Text() const = 0;
    // The box keeps what fits its maximum length, whole characters only.
    virtual void SetText(const std::u16string& text) = 0;
    // Code units the box takes at the most; a line break is CR LF, two.
    virtual void SetMaxLength(std::size_t units) = 0;
};

class EntryList : public Control {
public:
    // None when the user has typed into the edit field instead.
    virtual std::optional<int> SelectedEntry() const = 0;
    virtual std::int32_t EntryData(int index) const = 0;
    // Selects as a user's pick would; an index outside the list does nothing.
    virtual void SelectEntry(int index) = 0;
};

class Captioned : public Control {
public:
    virtual void SetCaption(const std::u16string& caption) = 0;
};

// The band where the window tells the user what it knows: a short text that
// fits it and a long one with the counts and the fix. Empty hides it.
class NoticeArea {
public:
    virtual ~NoticeArea() = default;
    virtual void ShowNotice(const std::u16string& shortText, const std::u16string& longText) = 0;
};

// The window itself.
class FormWindow {
public:
    virtual ~FormWindow() = default;
    virtual WindowHandle NativeHandle() = 0;
    // Runs `job` on the window's thread, after what is queued there; safe
    // from any thread. Dropped if the window is gone by then.
    virtual void PostToWindow(std::function<void()> job) = 0;
};

// The controls by the names the window gives them (the two labels only show
// their captions, so the handlers need nothing of them).
struct MainFormControls {
    FormWindow& window;
    TextBox& pin;
    EntryList& Combo1;
    Captioned& t_a_1;
    TextBox& t_e_m_1;
    TextBox& Text1;
    Captioned& b_e_1;
    EntryList& ALARMA;
    NoticeArea& notice;
};
