// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows tool under Wine against the virtual unit as a USB gadget: Wine's
// HID bus reaches the unit's hidraw node, and the window is read and driven
// from another process (window_probe) as a user would see and use it.
//   qorun_wine_e2e --wine=WINE --tool=velbrix-qorun.exe --probe=window_probe.exe

#include <gtest/gtest.h>

#include <optional>

#include "expected_reports.h"
#include "guest_unit.h"
#include "wine_window.h"

namespace {

// The same upload the Linux window's test sends: the longest, 142 reports.
const std::vector<WireReport> Upload = ExpectedUpload(4, u"9876", u"607003110", u"699111222",
                                                      u"Alarma: intrusion detectada en la zona, llame ya!");

class UnderWine : public testing::Test {
protected:
    void SetUp() override {
        LoadStoredZones(unit_);
        ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
        window_.emplace();
        // A plain window is up once its zone selector shows.
        ASSERT_TRUE(Shows("ALARMA", "Zona 1")) << "no window";
        // The start-up request's answer, which the window does not show, is over.
        ASSERT_TRUE(WineWindow::Polled([&] { return unit_.RepliesSent() >= StartUpAnswer && unit_.InputTaken(); }))
            << "the start-up request never reached the unit";
    }

    QStringList Ask(const QString& command) { return window_->Ask(command); }
    QString Text(const QString& name) { return window_->Text(name); }
    testing::AssertionResult Shows(const QString& name, const QString& text) {
        if (WineWindow::Polled([&] { return Text(name) == text; }, std::chrono::minutes(5)))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << name.toStdString() << " shows \"" << Text(name).toStdString()
                                           << "\", not \"" << text.toStdString() << '"';
    }
    // Pressed until the notice tells an outcome other than `retry`.
    QString Send(const QString& retry = "") {
        QString notice;
        WineWindow::Polled([&] {
            Ask("click b_e_1");
            WineWindow::Polled([&] { return (notice = Text("aviso")) != "Enviando configuración"; });
            return notice != retry;
        });
        return notice;
    }
    // Zone 4 filled in as the upload has it, once the unit's own text shows.
    void FillUpload() {
        Ask("set Text1 -");
        Ask("pick ALARMA 3");
        ASSERT_TRUE(Shows("Text1", QString::fromLatin1(unit_.WithModel([](AlarmUnitModel& m) { return m.Text(4); }))));
        Ask("set pin 9876");
        Ask("pick Combo1 2");  // VODAFONE
        Ask("set t_e_m_1 699111222");
        Ask("set Text1 Alarma: intrusion detectada en la zona, llame ya!");
        unit_.ClearLog();
    }

    GuestUnit unit_;
    std::optional<WineWindow> window_;
};

TEST_F(UnderWine, StartsWithTheUnitReadsAZoneBackAndUploadsByteExact) {
    EXPECT_EQ(Text("aviso"), "");  // neither absent nor held by another program
    for (const int zone : {1, 2}) {
        Ask(QString("pick ALARMA %1").arg(zone - 1));
        EXPECT_TRUE(Shows("t_e_m_1", QString::fromStdString(Stored[zone - 1].first)));
        EXPECT_TRUE(Shows("Text1", QString::fromLatin1(Stored[zone - 1].second)));
        EXPECT_EQ(Text("Combo1"), "AMENA");
    }
    ASSERT_NO_FATAL_FAILURE(FillUpload());
    EXPECT_EQ(Send(), "Configuración enviada");
    EXPECT_EQ(unit_.Log(), Upload);
}

// Pulled out after k reports, then plugged in again, in one window.
TEST_F(UnderWine, AnUnplugMidSendIsCountedAndAReplugWorksAgain) {
    for (const std::size_t k : {std::size_t{10}, Upload.size() - 1}) {
        SCOPED_TRACE(k);
        ASSERT_NO_FATAL_FAILURE(FillUpload());
        unit_.RemoveAfter(k);
        // Up to OutRequests writes may land after the last one the unit read.
        std::size_t told = Upload.size();
        if (const QString notice = Send(); notice != "Configuración enviada") {
            ASSERT_EQ(notice, "Envío interrumpido");
            const QString tip = Ask("tip").join(' ');
            const auto count = QRegularExpression("llegaron (\\d+) informes").match(tip);
            ASSERT_TRUE(count.hasMatch()) << tip.toStdString();
            told = count.captured(1).toULong();
        }
        ASSERT_TRUE(WaitUntil([&] { return !unit_.Present(); }));
        EXPECT_TRUE(EndpointTook(Upload, unit_.Log(), unit_.DrainedAtUnplug(), told));

        unit_.Remove();
        EXPECT_EQ(Send("Envío interrumpido"), "Alarma no conectada");
        ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
        EXPECT_TRUE(Shows("aviso", "")) << "the unit's return was missed";
        unit_.ClearLog();
        EXPECT_EQ(Send(), "Configuración enviada");
        EXPECT_EQ(unit_.Log(), Upload);
    }
}

}  // namespace
