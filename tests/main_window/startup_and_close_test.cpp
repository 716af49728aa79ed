// Start-up (before the window is first shown) and close.

#include <QTimer>

#include "tests/main_window/form_driver.h"

namespace {

// Records the order in which the form calls the library.
class CallOrderLibrary : public RecordingLibrary {
public:
    std::vector<std::string> calls;
    bool Connect(WindowHandle window) override
    {
        calls.push_back("Connect");
        return RecordingLibrary::Connect(window);
    }
    bool Disconnect() override
    {
        calls.push_back("Disconnect");
        return RecordingLibrary::Disconnect();
    }
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        calls.push_back("WriteEx");
        return RecordingLibrary::WriteEx(vendorId, productId, report);
    }
};

TEST(StartUp, AsksForZoneOneBeforeAttachingAndShowsThePlaceholders)
{
    CallOrderLibrary library;
    MainForm form(library);
    form.Load();

    EXPECT_EQ(library.calls, (std::vector<std::string>{"WriteEx", "Connect"}));
    ASSERT_EQ(library.written.size(), 1u);
    EXPECT_EQ(library.written[0], (Report{0, 0, 0, 0, 0, 0, 1, 0, 0}));

    EXPECT_EQ(form.State().SelectedSmsc, u"609090909");
    EXPECT_EQ(form.State().SelectedZone, u"1");
    EXPECT_EQ(Control<QLineEdit>(form, "pin")->text(), QStringLiteral("pin"));
    EXPECT_EQ(Control<QComboBox>(form, "Combo1")->currentText(), QStringLiteral("MOVISTAR"));
    EXPECT_EQ(Control<QGroupBox>(form, "t_a_1")->title(), QStringLiteral("Zona Alarma 1"));
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");
    EXPECT_EQ(form.MessageText(), u"Texto a enviar");
    EXPECT_EQ(Control<QPushButton>(form, "b_e_1")->text(), QStringLiteral("Env. Config. Zona 1"));
    EXPECT_EQ(Control<QComboBox>(form, "ALARMA")->currentText(), QStringLiteral("Zona 1"));
    EXPECT_FALSE(Control<QLabel>(form, "aviso")->isVisibleTo(&form));
}

TEST(StartUp, DeviceEventsReachTheFormOnlyOnceAttached)
{
    RecordingLibrary library;
    MainForm form(library);
    Deliver(form, EventChanged);
    EXPECT_EQ(library.readNotifyCalls, 0);
    form.Load();
    Deliver(form, EventChanged);
    Deliver(form, EventChanged);
    EXPECT_EQ(library.readNotifyCalls, 2);
}

TEST(StartUp, TheStartUpAnswerStillArrivingAfterAttachNeverLandsInTheFields)
{
    RecordingLibrary library;
    MainForm form(library);
    form.Load();
    Deliver(form, EventChanged);

    // The tail of the unit's answer to the start-up request.
    ReadBack(form, library, {InputReport(TagSmsc, '6'), InputReport(TagPhone, '6'),
                             InputReport(TagText, 'Z')});
    EXPECT_TRUE(library.pendingInput.empty());  // taken, not left queued
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");
    EXPECT_EQ(form.MessageText(), u"Texto a enviar");
    EXPECT_TRUE(form.State().ReceivedSmsc.empty());

    // The user's first pick starts decoding.
    PickEntry(Control<QComboBox>(form, "ALARMA"), 1);
    ReadBack(form, library, {InputReport(TagPhone, '6'), InputReport(TagText, 'Z')});
    EXPECT_EQ(form.PhoneText(), u"6");
    EXPECT_EQ(form.MessageText(), u"Z");
}

TEST(Close, DetachesTheLinkOnceAndEndsTheProgram)
{
    CallOrderLibrary library;
    MainForm form(library);
    form.Load();
    ShowAndActivate(form);

    // Closing the one window ends the event loop (a watchdog exits with 99
    // should it not).
    bool closed = false;
    QTimer::singleShot(0, &form, [&] { closed = form.close(); });
    QTimer::singleShot(10000, qApp, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(closed);  // never refused
    EXPECT_EQ(library.disconnectCalls, 1);
    EXPECT_EQ(library.calls.back(), "Disconnect");

    // Detached: a read notification no longer reaches the decoder.
    library.pendingInput.push_back(InputReport(TagPhone, '5'));
    Deliver(form, EventRead, library.presentHandle);
    EXPECT_EQ(library.pendingInput.size(), 1u);
    form.close();
    EXPECT_EQ(library.disconnectCalls, 1);
}

}  // namespace
