// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/entry_selector.h"

#include <QComboBox>
#include <QLineEdit>

EntrySelector::EntrySelector(QComboBox& box) : QObject(&box), box_(box)
{
    box_.setInsertPolicy(QComboBox::NoInsert);
    box_.setCompleter(nullptr);  // no inline completion picking entries
    QLineEdit* edit = box_.lineEdit();
    // Qt selects the entry matching the typed text when editing finishes or
    // Enter is pressed; here typed text never counts as a selection.
    disconnect(edit, &QLineEdit::editingFinished, &box_, nullptr);
    disconnect(edit, &QLineEdit::returnPressed, &box_, nullptr);

    // `activated` is the user's pick from the list (popup, arrow keys,
    // wheel), also when the entry picked is already the current one.
    connect(&box_, &QComboBox::activated, this, &EntrySelector::OnPicked);
    connect(edit, &QLineEdit::textEdited, this, &EntrySelector::OnTyped);
}

void EntrySelector::Select(int index)
{
    if (index < 0 || index >= box_.count())
        return;
    box_.setCurrentIndex(index);
    OnPicked(box_.currentIndex());
}

std::int32_t EntrySelector::EntryData(int index) const
{
    return box_.itemData(index).toInt();
}

void EntrySelector::OnPicked(int index)
{
    selected_ = index;
    if (onSelected_)
        onSelected_();
}

void EntrySelector::OnTyped()
{
    selected_ = -1;
    if (box_.currentIndex() < 0)
        return;
    // Qt would keep the old entry current; drop it without losing what the
    // user is typing (clearing the index also clears the edit field).
    QLineEdit* edit = box_.lineEdit();
    const QString typed = edit->text();
    const int cursor = edit->cursorPosition();
    box_.setCurrentIndex(-1);
    edit->setText(typed);
    edit->setCursorPosition(cursor);
}
