// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Drives a MainForm through its real widgets, as a user would.

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

#include <string>
#include <utility>
#include <vector>

#include "device_link/device_event.h"
#include "main_window/main_form.h"
#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

template <typename Widget>
Widget* Control(QWidget& form, const char* name)
{
    auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        ADD_FAILURE() << "no control " << name;
    return widget;
}

// Picks a list entry the way a user does: open the list, move to the row,
// press Enter (which also re-picks the entry that is already current).
inline void PickEntry(QComboBox* box, int row)
{
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
}

inline void TypeIntoSelector(QComboBox* box, const QString& text)
{
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
}

inline void ShowAndActivate(QWidget& form)
{
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
}

// Delivers a device event the way every backend does.
inline void Deliver(QObject& window, int code, DeviceHandle handle = 0)
{
    PostDeviceEvent(WindowHandleOf(&window), code, handle);
    QCoreApplication::sendPostedEvents(&window, DeviceEventMessage);
}

// Delivers everything posted, including what delivering posts in turn.
inline void DeliverAll()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::sendPostedEvents();
}

inline Report InputReport(std::uint8_t tag, std::uint8_t character)
{
    Report report{};
    report[TagByte] = tag;
    const std::size_t at = tag == TagSmsc ? SmscCharByte : tag == TagPhone ? PhoneCharByte
                                                                          : TextCharByte;
    report[at] = character;
    return report;
}

// Queues input reports in `library` and notifies the form once for each.
inline void ReadBack(QObject& form, RecordingLibrary& library, const std::vector<Report>& reports)
{
    for (const Report& report : reports) {
        library.pendingInput.push_back(report);
        Deliver(form, EventRead, library.presentHandle);
    }
}

// A form over a recording library, loaded and active as after start-up.
class LoadedForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Load();
        ShowAndActivate(form);
    }

    RecordingLibrary library;
    MainForm form{library};
    QLineEdit* pin = Control<QLineEdit>(form, "pin");
    QComboBox* Combo1 = Control<QComboBox>(form, "Combo1");
    QGroupBox* t_a_1 = Control<QGroupBox>(form, "t_a_1");
    QLineEdit* t_e_m_1 = Control<QLineEdit>(form, "t_e_m_1");
    QPlainTextEdit* Text1 = Control<QPlainTextEdit>(form, "Text1");
    QPushButton* b_e_1 = Control<QPushButton>(form, "b_e_1");
    QComboBox* ALARMA = Control<QComboBox>(form, "ALARMA");
    QLabel* notice = Control<QLabel>(form, "aviso");
};
