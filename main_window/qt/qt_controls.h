// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Qt's widgets as the window's controls.

#include "main_window/controls.h"

class EntrySelector;
class MessageTextField;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The window itself: its handle for the device link, and its event loop for
// jobs handed back from other threads.
class QtFormWindow : public FormWindow {
public:
    explicit QtFormWindow(QWidget& window) : window_(window) {}
    WindowHandle NativeHandle() override;
    // Qt drops the job if the window is destroyed first.
    void PostToWindow(std::function<void()> job) override;

private:
    QWidget& window_;
};

// A line edit with the WholeCharacters validator, as the window builds it:
// its maximum length cuts what is set, never half a character.
class QtLineBox : public TextBox {
public:
    explicit QtLineBox(QLineEdit& edit) : edit_(edit) {}
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    void SetMaxLength(std::size_t units) override;
    void SetEnabled(bool enabled) override;

private:
    QLineEdit& edit_;
};

// The SMS text: its line breaks are CR LF on the wire and in the limit.
class QtMessageBox : public TextBox {
public:
    QtMessageBox(MessageTextField& field, QWidget& edit) : field_(field), edit_(edit) {}
    std::u16string Text() const override;
    void SetText(const std::u16string& text) override;
    void SetMaxLength(std::size_t units) override;
    void SetEnabled(bool enabled) override;

private:
    MessageTextField& field_;
    QWidget& edit_;
};

class QtEntryList : public EntryList {
public:
    QtEntryList(EntrySelector& selector, QWidget& box) : selector_(selector), box_(box) {}
    std::optional<int> SelectedEntry() const override;
    std::int32_t EntryData(int index) const override;
    void SelectEntry(int index) override;
    void SetEnabled(bool enabled) override;

private:
    EntrySelector& selector_;
    QWidget& box_;
};

class QtFrame : public Captioned {
public:
    explicit QtFrame(QGroupBox& frame) : frame_(frame) {}
    void SetCaption(const std::u16string& caption) override;
    void SetEnabled(bool enabled) override;

private:
    QGroupBox& frame_;
};

// A push button whose caption is fitted to it.
class QtButton : public Captioned {
public:
    explicit QtButton(QPushButton& button) : button_(button) {}
    void SetCaption(const std::u16string& caption) override;
    void SetEnabled(bool enabled) override;

private:
    QPushButton& button_;
};
