// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The page's elements in the browser's document, through page.js.

#include <functional>
#include <string>

#include "main_window/web/page_elements.h"

class DomPageElements : public PageElements {
public:
    // The window's client area is the element with id "client"; `onEvent`
    // hears what the user does there.
    explicit DomPageElements(std::function<void(const std::string& name, PageEvent event)> onEvent);
    void Make(const char* name, ElementKind kind, const char* parent, TwipRect rect, std::u16string_view text,
              int tab) override;
    std::u16string Value(const char* name) const override;
    void SetValue(const char* name, std::u16string_view text) override;
    void SetEnabled(const char* name, bool enabled) override;
    void SetShown(const char* name, bool shown) override;
    void SetCaption(const char* name, std::u16string_view caption) override;
    void SetTitle(const char* name, std::u16string_view title) override;
    void AddEntry(const char* name, std::u16string_view text) override;
    int PickedEntry(const char* name) const override;
    void PickEntry(const char* name, int index) override;
    void Focus(const char* name) override;
};
