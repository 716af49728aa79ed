// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tool's window drawn with Qt's widgets: it builds the controls at their
// places, hands them to MainForm and turns each widget's event into its
// handler. All the window decides is MainForm's.

#include <QWidget>
#include <memory>

#include "device_link/qt/qt_window_hook.h"
#include "main_window/controls.h"
#include "main_window/main_form.h"

class EntrySelector;
class MessageTextField;
class NoticeBand;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QtButton;
class QtEntryList;
class QtFormWindow;
class QtFrame;
class QtLineBox;
class QtMessageBox;

class QtMainWindow : public QWidget {
public:
    explicit QtMainWindow(HidLibrary& library, QWidget* parent = nullptr);
    ~QtMainWindow() override;

    // The window's load: runs the start-up sequence. Once, before show().
    void Load() { form_->Load(); }
    MainForm& Form() { return *form_; }


protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void WireEvents();
    void SetTabOrder();
    void DescribeForScreenReaders();
    void CentreOnScreen();

    QLabel* Label2 = nullptr;
    QLineEdit* pin = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QGroupBox* t_a_1 = nullptr;
    QLineEdit* t_e_m_1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* b_e_1 = nullptr;
    QComboBox* ALARMA = nullptr;
    QLabel* notice_ = nullptr;  // the band between the operator selector and the frame

    EntrySelector* operators_ = nullptr;
    EntrySelector* zones_ = nullptr;
    MessageTextField* message_ = nullptr;
    NoticeBand* notices_ = nullptr;
    std::unique_ptr<QtFormWindow> windowSide_;
    std::unique_ptr<QtLineBox> pinBox_, phoneBox_;
    std::unique_ptr<QtMessageBox> messageBox_;
    std::unique_ptr<QtEntryList> operatorList_, zoneList_;
    std::unique_ptr<QtFrame> frame_;
    std::unique_ptr<QtButton> button_;

    QtWindowHook hook_;
    std::unique_ptr<MainForm> form_;  // last: it goes first, detaching from the controls
};
