// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Drives the Qt window through its real widgets, as a user would.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "device_link/qt/device_event_qt.h"
#include "main_window/qt/qt_main_window.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"
#include "device_link/window_event_sink.h"
#include "tests/support/faulty_unit_library.h"
#include "tests/support/recording_library.h"
#include "tests/support/reports.h"

template <typename Widget>
Widget* Control(QWidget& form, const char* name)
{
    auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) ADD_FAILURE() << "no control " << name;
    return widget;
}

// As a user does; Enter also re-picks the entry that is already current.
inline void PickEntry(QComboBox* box, int row)
{
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
}

inline void TypeIntoSelector(QComboBox* box, const QString& text) { box->lineEdit()->selectAll(), QTest::keyClicks(box->lineEdit(), text); }

inline void ShowAndActivate(QWidget& form) { form.show(), form.activateWindow(); EXPECT_TRUE(QTest::qWaitForWindowActive(&form)); }

inline void Deliver(QObject& window, int code, DeviceHandle handle = 0)
{
    PostDeviceEvent(WindowHandleOf(&window), code, handle);
    QCoreApplication::sendPostedEvents(&window, DeviceEventMessage);
}

// Delivers everything posted, including what delivering posts in turn.
inline void DeliverAll()
{
    for (int round = 0; round < 3; ++round) QCoreApplication::sendPostedEvents();
}

inline void ReadBack(QObject& form, RecordingLibrary& library, const std::vector<Report>& reports)
{
    for (const Report& report : reports) library.pendingInput.push_back(report), Deliver(form, EventRead, library.presentHandle);
    QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);  // the redraw posted behind them
}

// The Qt window over `Library`, its form and the widgets the tests drive.
template <typename Library>
struct FormOver {
    template <typename... Args>
    explicit FormOver(Args&&... args) : library(std::forward<Args>(args)...) {}

    Library library;
    QtMainWindow window{library};
    MainForm& form = window.Form();
    QLineEdit* pin = Control<QLineEdit>(window, "pin");
    QComboBox* Combo1 = Control<QComboBox>(window, "Combo1");
    QLineEdit* t_e_m_1 = Control<QLineEdit>(window, "t_e_m_1");
    QPlainTextEdit* Text1 = Control<QPlainTextEdit>(window, "Text1");
    QPushButton* b_e_1 = Control<QPushButton>(window, "b_e_1");
    QComboBox* ALARMA = Control<QComboBox>(window, "ALARMA");
    QLabel* notice = Control<QLabel>(window, "aviso");
};

// Over a recording library, loaded and active as after start-up.
class LoadedForm : public ::testing::Test, public FormOver<RecordingLibrary> {
protected:
    void SetUp() override { window.Load(); ShowAndActivate(window); }
};

struct UnitModel { AlarmUnitModel model; };

// Over the in-process unit, which `before` may fill or break before Load.
struct UnitWindow : UnitModel, FormOver<FaultyUnitLibrary> {
    explicit UnitWindow(const std::function<void(UnitWindow&)>& before = {}, bool plugged = true)
        : FormOver(model, PostToWindow(), plugged)
    {
        if (before) before(*this);
        window.Load(), ShowAndActivate(window);
        DeliverAll();  // Connect's change event enables read notifications
    }
};
