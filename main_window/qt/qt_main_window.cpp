// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/qt_main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "main_window/qt/entry_selector.h"
#include "main_window/qt/message_text_field.h"
#include "main_window/qt/notice_band.h"
#include "main_window/qt/qt_controls.h"

QtMainWindow::QtMainWindow(HidLibrary& library, QWidget* parent) : QWidget(parent)
{
    BuildControls();
    windowSide_ = std::make_unique<QtFormWindow>(*this);
    pinBox_ = std::make_unique<QtLineBox>(*pin);
    phoneBox_ = std::make_unique<QtLineBox>(*t_e_m_1);
    messageBox_ = std::make_unique<QtMessageBox>(*message_, *Text1);
    operatorList_ = std::make_unique<QtEntryList>(*operators_, *Combo1);
    zoneList_ = std::make_unique<QtEntryList>(*zones_, *ALARMA);
    frame_ = std::make_unique<QtFrame>(*t_a_1);
    button_ = std::make_unique<QtButton>(*b_e_1);
    form_ = std::make_unique<MainForm>(
        library, hook_,
        MainFormControls{*windowSide_, *pinBox_, *operatorList_, *frame_, *phoneBox_, *messageBox_, *button_,
                         *zoneList_, *notices_});
    WireEvents();
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::WireEvents()
{
    MainForm& form = *form_;
    operators_->OnSelected([&form] { form.Combo1_Click(); });
    zones_->OnSelected([&form] { form.ALARMA_Click(); });
    connect(b_e_1, &QPushButton::clicked, this, [&form] { form.b_e_1_Click(); });
    connect(pin, &QLineEdit::textChanged, this, [&form] { form.pin_Change(); });
    connect(t_e_m_1, &QLineEdit::textChanged, this, [&form] { form.t_e_m_1_Change(); });
    connect(Text1, &QPlainTextEdit::textChanged, this, [&form] { form.Text1_Change(); });
    notices_->OnUserAction([&form] { form.UserAction(); });
}

void QtMainWindow::closeEvent(QCloseEvent* event)
{
    form_->Unload();
    event->accept();  // closing is never refused
}
