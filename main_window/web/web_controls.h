// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window's controls over page elements.

#include <cstdint>
#include <functional>
#include <vector>

#include "device_link/web/page_window.h"
#include "main_window/controls.h"
#include "main_window/web/page_elements.h"

class WebTextBox : public TextBox {
public:
    WebTextBox(PageElements& page, const char* name) : page_(page), name_(name) {}
    // CR LF line breaks, as the protocol holds them.
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    void SetMaxLength(std::size_t units) override { limit_ = units; }
    void SetEnabled(bool enabled) override { page_.SetEnabled(name_, enabled); }
    // The user changed the text: what is over the limit or half a character
    // goes, then the change is raised.
    void Typed();
    std::function<void()> onChange;

private:
    PageElements& page_;
    const char* name_;
    std::size_t limit_ = 32767;
};

class WebEntryList : public EntryList {
public:
    WebEntryList(PageElements& page, const char* name, std::vector<std::int32_t> data)
        : page_(page), name_(name), data_(std::move(data)) {}
    std::optional<int> SelectedEntry() const override;
    std::int32_t EntryData(int index) const override { return data_.at(static_cast<std::size_t>(index)); }
    void SelectEntry(int index) override;
    void SetEnabled(bool enabled) override { page_.SetEnabled(name_, enabled); }
    void Picked() { if (onClick) onClick(); }
    std::function<void()> onClick;

private:
    PageElements& page_;
    const char* name_;
    std::vector<std::int32_t> data_;
};

class WebCaptioned : public Captioned {
public:
    WebCaptioned(PageElements& page, const char* name) : page_(page), name_(name) {}
    void SetCaption(const std::u16string& caption) override { page_.SetCaption(name_, caption); }
    void SetEnabled(bool enabled) override { page_.SetEnabled(name_, enabled); }

private:
    PageElements& page_;
    const char* name_;
};

// The short text in the band, the long one when the pointer rests on it.
class WebNoticeArea : public NoticeArea {
public:
    WebNoticeArea(PageElements& page, const char* name) : page_(page), name_(name) {}
    void ShowNotice(const std::u16string& shortText, const std::u16string& longText) override;

private:
    PageElements& page_;
    const char* name_;
};

class WebFormWindow : public FormWindow {
public:
    explicit WebFormWindow(PageQueue& queue) : window_(queue) {}
    WindowHandle NativeHandle() override { return window_.Handle(); }
    void PostToWindow(std::function<void()> job) override { window_.Post(std::move(job)); }

private:
    PageWindow window_;
};
