// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Win32's own controls as the window's controls. Each holds its control's
// handle; the window procedure hands each notification to the control it
// comes from, which raises its event.

#include "device_link/win32/win32_window_hook.h"
#include "main_window/controls.h"

// The window itself: its handle for the device link, and its message queue
// for jobs handed back from other threads.
class Win32FormWindow : public FormWindow {
public:
    // The private message that carries a posted job.
    static constexpr UINT JobMessage = WM_APP + 1;

    explicit Win32FormWindow(HWND window) : window_(window) {}
    WindowHandle NativeHandle() override { return window_; }
    // The job travels in lParam; a window that is gone refuses it, so it is
    // deleted here.
    void PostToWindow(std::function<void()> job) override;
    // Runs and deletes the job a JobMessage carries.
    static void RunJob(LPARAM job);
    // Deletes the jobs still queued for a window being destroyed.
    static void DropJobs(HWND window);

private:
    HWND window_;
};

// An edit box, single- or multi-line. Win32 counts its limit in UTF-16
// units, as the seam does; it keeps line breaks as given.
class Win32TextBox : public TextBox {
public:
    explicit Win32TextBox(HWND edit) : edit_(edit) {}
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    void SetMaxLength(std::size_t units) override;
    void SetEnabled(bool enabled) override;

    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    // EN_CHANGE: a paste cut at the limit may have kept half of a pair,
    // which goes before the change is raised.
    void Changed();

private:
    HWND edit_;
    std::size_t limit_ = 0x7FFE;  // the edit control's own default
    bool setting_ = false;
    std::function<void()> onChange_;
};

// A drop-down combo box with an editable field and an integer per entry.
class Win32EntryList : public EntryList {
public:
    explicit Win32EntryList(HWND combo) : combo_(combo) {}
    std::optional<int> SelectedEntry() const override;
    std::int32_t EntryData(int index) const override;
    void SelectEntry(int index) override;
    void SetEnabled(bool enabled) override;

    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // The combo box's notification codes.
    void Notified(WORD code);

private:
    void Picked();

    HWND combo_;
    bool typed_ = false;  // text typed since the last pick
    LRESULT picked_ = CB_ERR;
    std::function<void()> onClick_;
};

// A group box or a push button.
class Win32Captioned : public Captioned {
public:
    explicit Win32Captioned(HWND control) : control_(control) {}
    void SetCaption(const std::u16string& caption) override;
    void SetEnabled(bool enabled) override;

private:
    HWND control_;
};

// A label that shows the short text, with the long one as its tooltip.
class Win32NoticeArea : public NoticeArea {
public:
    Win32NoticeArea(HWND label, HWND tooltip);
    void ShowNotice(const std::u16string& shortText, const std::u16string& longText) override;

private:
    HWND label_;
    HWND tooltip_;
    std::u16string longText_;  // the tooltip keeps a pointer to it
};

// The seam's text as a Win32 string and back: both are UTF-16 units.
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
std::u16string WindowText(HWND window);
