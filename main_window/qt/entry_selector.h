// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// An editable combo box whose selected entry is only ever one the user or the
// program picked from its list. Typing into the edit field leaves no entry
// selected, and Qt is kept from turning typed text into a selection on its
// own (completion, or a matching text confirmed with Enter or focus-out).

#include <QObject>
#include <cstdint>
#include <functional>

class QComboBox;

class EntrySelector : public QObject {
public:
    // Takes over `box` (already editable and filled).
    explicit EntrySelector(QComboBox& box);
    // `onSelected` runs once for every selection, including a re-pick of the
    // selected entry.
    void OnSelected(std::function<void()> onSelected) { onSelected_ = std::move(onSelected); }

    // Selects `index` as the program and runs the selection handler; an
    // index outside the list changes nothing.
    void Select(int index);
    // Index of the selected entry, -1 when there is none.
    int SelectedEntry() const { return selected_; }
    std::int32_t EntryData(int index) const;

private:
    void OnPicked(int index);
    void OnTyped();

    QComboBox& box_;
    std::function<void()> onSelected_;
    int selected_ = -1;
};
