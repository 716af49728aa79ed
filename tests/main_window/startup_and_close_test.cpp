// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up (before the window is first shown) and close.

#include <QTimer>

#include "tests/main_window/form_driver.h"

namespace {

TEST(StartUp, AsksForZoneOneBeforeAttachingAndKeepsThePlaceholdersOverItsAnswer)
{
    RecordingLibrary library;
    MainForm form(library);
    form.Load();

    EXPECT_EQ(library.calls, (std::vector<std::string>{"WriteEx", "Connect"}));
    EXPECT_EQ(library.written, std::vector<Report>{(Report{0, 0, 0, 0, 0, 0, 1, 0, 0})});

    EXPECT_EQ(Control<QLineEdit>(form, "pin")->text(), QStringLiteral("pin"));
    EXPECT_EQ(Control<QComboBox>(form, "Combo1")->currentText(), QStringLiteral("MOVISTAR"));
    EXPECT_EQ(Control<QGroupBox>(form, "t_a_1")->title(), QStringLiteral("Zona Alarma 1"));
    EXPECT_EQ(Control<QPushButton>(form, "b_e_1")->text(), QStringLiteral("Env. Config. Zona 1"));
    EXPECT_EQ(Control<QComboBox>(form, "ALARMA")->currentText(), QStringLiteral("Zona 1"));

    // The start-up answer still arriving after attach never lands in the fields.
    Deliver(form, EventPlugged, 7);  // changes nothing by itself
    EXPECT_TRUE(library.readNotifyCalls.empty());
    // Every change asks for the handle again and passes it on as it comes.
    library.presentHandle = 0;
    Deliver(form, EventChanged);
    library.presentHandle = 7;
    Deliver(form, EventChanged);
    EXPECT_EQ(library.readNotifyCalls, (std::vector<std::pair<DeviceHandle, bool>>{{0, true}, {7, true}}));

    // The tail of the unit's answer to the start-up request.
    ReadBack(form, library, {InputReport(TagSmsc, '6'), InputReport(TagPhone, '6'), InputReport(TagText, 'Z')});
    EXPECT_TRUE(library.pendingInput.empty());  // taken, not left queued
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");  // the placeholders, as Load set them
    EXPECT_EQ(form.MessageText(), u"Texto a enviar");
    EXPECT_TRUE(form.State().ReceivedSmsc.empty());

    // The user's first pick starts decoding.
    PickEntry(Control<QComboBox>(form, "ALARMA"), 1);
    library.pendingInput.push_back(InputReport(TagPhone, '6'));
    Deliver(form, EventRead, library.presentHandle + 1);  // the event's handle is not the unit's
    EXPECT_EQ(form.PhoneText(), u"");
    Deliver(form, EventRead, library.presentHandle);
    ReadBack(form, library, {InputReport(TagText, 'Z')});
    EXPECT_EQ(form.PhoneText(), u"6");
    EXPECT_EQ(form.MessageText(), u"Z");
}

TEST(Close, DetachesTheLinkOnceAndEndsTheProgram)
{
    RecordingLibrary library;
    MainForm form(library);
    form.Load();
    ShowAndActivate(form);

    // Closing the one window ends the event loop; 99 says it did not.
    QTimer::singleShot(0, &form, [&] { form.close(); });
    QTimer::singleShot(10000, qApp, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(library.Count("Disconnect"), 1);
    form.close();
    EXPECT_EQ(library.Count("Disconnect"), 1);
}

}  // namespace
