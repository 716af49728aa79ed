// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/win32/win32_controls.h"

#include <commctrl.h>

#include "main_window/code_units.h"

std::u16string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void Win32FormWindow::PostToWindow(std::function<void()> job)
{
    auto* held = new std::function<void()>(std::move(job));
    if (!PostMessageW(window_, JobMessage, 0, reinterpret_cast<LPARAM>(held)))
        delete held;
}

void Win32FormWindow::RunJob(LPARAM job)
{
    auto* held = reinterpret_cast<std::function<void()>*>(job);
    (*held)();
    delete held;
}

void Win32FormWindow::DropJobs(HWND window)
{
    MSG message;
    while (PeekMessageW(&message, window, JobMessage, JobMessage, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
}

std::u16string Win32TextBox::Text() const { return WindowText(edit_); }

void Win32TextBox::SetText(const std::u16string& text)
{
    // A multi-line edit raises no EN_CHANGE for a text set by the program,
    // a single-line one does: the change is raised here, once, for both.
    setting_ = true;
    SetWindowTextW(edit_, Wide(CutToUnits(text, limit_)));
    setting_ = false;
    if (onChange_)
        onChange_();
}

void Win32TextBox::SetMaxLength(std::size_t units)
{
    limit_ = units;
    SendMessageW(edit_, EM_SETLIMITTEXT, units, 0);
}

void Win32TextBox::SetEnabled(bool enabled) { EnableWindow(edit_, enabled); }

void Win32TextBox::Changed()
{
    if (setting_)
        return;
    const std::u16string text = Text();
    DWORD start = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    std::size_t cursor = start;
    const std::u16string whole = WithoutHalfPairs(text, &cursor);
    if (whole != text) {
        setting_ = true;
        SetWindowTextW(edit_, Wide(whole));
        SendMessageW(edit_, EM_SETSEL, cursor, cursor);
        setting_ = false;
    }
    if (onChange_)
        onChange_();
}

std::optional<int> Win32EntryList::SelectedEntry() const
{
    const LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (typed_ || index == CB_ERR)
        return std::nullopt;
    return static_cast<int>(index);
}

std::int32_t Win32EntryList::EntryData(int index) const
{
    return static_cast<std::int32_t>(SendMessageW(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void Win32EntryList::SelectEntry(int index)
{
    if (index < 0 || index >= static_cast<int>(SendMessageW(combo_, CB_GETCOUNT, 0, 0)))
        return;
    SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Picked();
}

void Win32EntryList::SetEnabled(bool enabled) { EnableWindow(combo_, enabled); }

void Win32EntryList::Notified(WORD code)
{
    switch (code) {
    case CBN_EDITCHANGE: typed_ = true; break;
    // While the list is open, moving through it is no pick yet: the pick is
    // its closing on an entry, which Win32 reports also for the entry that
    // was already selected. Some systems report the selection's change after
    // that closing too: it is the same pick.
    case CBN_SELCHANGE:
        if (!SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) &&
            (typed_ || SendMessageW(combo_, CB_GETCURSEL, 0, 0) != picked_))
            Picked();
        break;
    case CBN_SELENDOK: Picked(); break;
    default: break;
    }
}

void Win32EntryList::Picked()
{
    typed_ = false;
    picked_ = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (onClick_)
        onClick_();
}

void Win32Captioned::SetCaption(const std::u16string& caption) { SetWindowTextW(control_, Wide(caption)); }
void Win32Captioned::SetEnabled(bool enabled) { EnableWindow(control_, enabled); }

Win32NoticeArea::Win32NoticeArea(HWND label, HWND tooltip) : label_(label), tooltip_(tooltip)
{
    if (tooltip_ == nullptr)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(label_);
    tool.uId = reinterpret_cast<UINT_PTR>(label_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);  // long texts wrap
}

void Win32NoticeArea::ShowNotice(const std::u16string& shortText, const std::u16string& longText)
{
    SetWindowTextW(label_, Wide(shortText));
    ShowWindow(label_, shortText.empty() ? SW_HIDE : SW_SHOWNA);
    longText_ = longText;
    if (tooltip_ == nullptr)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(label_);
    tool.uId = reinterpret_cast<UINT_PTR>(label_);
    tool.lpszText = const_cast<wchar_t*>(Wide(longText_));
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}
