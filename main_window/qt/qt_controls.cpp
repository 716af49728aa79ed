// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/qt_controls.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

#include "device_link/qt/device_event_qt.h"
#include "device_link/qt/text_units.h"
#include "main_window/qt/entry_selector.h"
#include "main_window/qt/font_fit.h"
#include "main_window/qt/message_text_field.h"

WindowHandle QtFormWindow::NativeHandle()
{
    return WindowHandleOf(&window_);
}

void QtFormWindow::PostToWindow(std::function<void()> job)
{
    QMetaObject::invokeMethod(&window_, std::move(job), Qt::QueuedConnection);
}

std::u16string QtLineBox::Text() const
{
    return ToUnits(edit_.text());
}

void QtLineBox::SetText(const std::u16string& text)
{
    // QLineEdit cuts a set text by code units too, then hands it to its
    // validator, which drops the half pair the cut left.
    edit_.setText(FromUnits(text));
}

void QtLineBox::SetMaxLength(std::size_t units)
{
    edit_.setMaxLength(static_cast<int>(units));
}

void QtLineBox::SetEnabled(bool enabled)
{
    edit_.setEnabled(enabled);
}

std::u16string QtMessageBox::Text() const
{
    return field_.Text();
}

void QtMessageBox::SetText(const std::u16string& text)
{
    field_.SetText(text);
}

void QtMessageBox::SetMaxLength(std::size_t units)
{
    field_.SetMaxUnits(units);
}

void QtMessageBox::SetEnabled(bool enabled)
{
    edit_.setEnabled(enabled);
}

std::optional<int> QtEntryList::SelectedEntry() const
{
    const int entry = selector_.SelectedEntry();
    if (entry < 0)
        return std::nullopt;
    return entry;
}

std::int32_t QtEntryList::EntryData(int index) const
{
    return selector_.EntryData(index);
}

void QtEntryList::SelectEntry(int index)
{
    selector_.Select(index);
}

void QtEntryList::SetEnabled(bool enabled)
{
    box_.setEnabled(enabled);
}

void QtFrame::SetCaption(const std::u16string& caption)
{
    frame_.setTitle(FromUnits(caption));
}

void QtFrame::SetEnabled(bool enabled)
{
    frame_.setEnabled(enabled);
}

void QtButton::SetCaption(const std::u16string& caption)
{
    button_.setText(FromUnits(caption));
    FitCaption(button_);
}

void QtButton::SetEnabled(bool enabled)
{
    button_.setEnabled(enabled);
}
