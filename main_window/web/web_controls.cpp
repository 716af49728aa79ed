// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/web/web_controls.h"

#include "main_window/code_units.h"

namespace {

std::u16string WithCrLf(std::u16string_view text)
{
    std::u16string out;
    for (const char16_t unit : text) {
        if (unit == u'\n')
            out += u'\r';
        out += unit;
    }
    return out;
}

std::u16string WithLf(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
            out += text[i];
    return out;
}

// Cut to `limit` units, never inside a character nor inside a line break.
std::u16string Kept(std::u16string_view text, std::size_t limit)
{
    std::u16string kept = CutToUnits(text, limit);
    if (!kept.empty() && kept.size() < text.size() && kept.back() == u'\r' && text[kept.size()] == u'\n')
        kept.pop_back();
    return kept;
}

}  // namespace

std::u16string WebTextBox::Text() const { return WithCrLf(page_.Value(name_)); }

void WebTextBox::SetText(const std::u16string& text)
{
    page_.SetValue(name_, WithLf(Kept(text, limit_)));
    if (onChange)
        onChange();
}

void WebTextBox::Typed()
{
    const std::u16string text = Text();
    const std::u16string kept = Kept(WithoutHalfPairs(text), limit_);
    if (kept != text)
        page_.SetValue(name_, WithLf(kept));
    if (onChange)
        onChange();
}

std::optional<int> WebEntryList::SelectedEntry() const
{
    const int index = page_.PickedEntry(name_);
    if (index < 0 || index >= static_cast<int>(data_.size()))
        return std::nullopt;
    return index;
}

void WebEntryList::SelectEntry(int index)
{
    if (index < 0 || index >= static_cast<int>(data_.size()))
        return;
    page_.PickEntry(name_, index);
    Picked();
}

void WebNoticeArea::ShowNotice(const std::u16string& shortText, const std::u16string& longText)
{
    page_.SetCaption(name_, shortText);
    page_.SetTitle(name_, longText);
    page_.SetShown(name_, !shortText.empty());
}
