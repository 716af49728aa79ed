// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's longest upload over a real USB link: pulled out after k
// reports, or stalled, the unit holds exactly what the window says reached
// it, and the window stays live meanwhile.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "device_link/qt/text_units.h"
#include "expected_reports.h"
#include "guest_unit.h"

namespace {

using namespace std::chrono_literals;

const QString Pin = "9876", Phone = "699111222", Text = "Alarma: intrusion detectada en la zona, llame ya!";
const std::vector<WireReport> Upload = ExpectedUpload(4, ToUnits(Pin), u"607003110", ToUnits(Phone), ToUnits(Text));

std::vector<WireReport> Prefix(std::size_t n) { return {Upload.begin(), Upload.begin() + static_cast<long>(n)}; }

class LongestUpload : public testing::Test {
protected:
    void SetUp() override {
        LoadStoredZones(unit_);
        ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
        tool_ = std::make_unique<ToolSession>();
        ASSERT_NO_FATAL_FAILURE(AwaitStartUpExchange(unit_, *tool_));
        tool_->PickZone(3);
        // The text comes last: once whole, the answer is over.
        ASSERT_TRUE(WaitUntil([&] { return tool_->Message() == QString::fromLatin1(Stored[3].second); }));
        tool_->TypePin(Pin);
        tool_->PickOperator(2);  // VODAFONE
        tool_->TypePhone(Phone);
        tool_->SetMessage(Text);
        Settle(300ms);  // a stray report would move the operator now
        ASSERT_EQ(tool_->Operator(), "VODAFONE");
        unit_.ClearLog();
    }

    // Presses send and waits for the upload to end.
    void SendAndAwaitEnd() {
        tool_->PressSend();
        EXPECT_TRUE(WaitUntil([&] { return tool_->SendEnabled(); })) << "the upload never ended";
    }

    // How many reports the window says reached the unit: all when it says sent.
    std::size_t Told() {
        if (tool_->Notice() == "Configuración enviada") return Upload.size();
        EXPECT_EQ(tool_->Notice(), "Envío interrumpido");
        const auto count = QRegularExpression("llegaron (\\d+) informes").match(tool_->NoticeDetail());
        EXPECT_TRUE(count.hasMatch()) << tool_->NoticeDetail().toStdString();
        return count.captured(1).toULong();
    }

    GuestUnit unit_;
    std::unique_ptr<ToolSession> tool_;
};

class PulledAfter : public LongestUpload, public testing::WithParamInterface<std::size_t> {};

TEST_P(PulledAfter, TheWindowCountsWhatTheUnitTookAndTheNextPlugInTakesTheWholeUpload) {
    const std::size_t k = GetParam();
    unit_.RemoveAfter(k);
    SendAndAwaitEnd();
    // The last writes may end before the unit has read them all.
    ASSERT_TRUE(WaitUntil([&] { return !unit_.Present(); })) << unit_.LogSize() << " reports read";
    EXPECT_EQ(unit_.Log(), Prefix(k));
    EXPECT_TRUE(EndpointTook(Upload, unit_.Log(), unit_.DrainedAtUnplug(), Told()));

    // Nothing of the old upload is left to arrive once the unit is back.
    unit_.Remove();
    unit_.ClearLog();
    tool_->Events().Clear();
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    ASSERT_TRUE(WaitUntil([&] { return tool_->Events().Count(EventPlugged) > 0; }));
    Settle(300ms);  // time for a left-over report to land
    EXPECT_EQ(unit_.LogSize(), 0u);
    SendAndAwaitEnd();
    EXPECT_EQ(unit_.Log(), Upload);
    EXPECT_EQ(tool_->Notice(), "Configuración enviada");
}

// The first report, the tenth, all but the last, and the last.
INSTANTIATE_TEST_SUITE_P(Reports, PulledAfter, testing::Values(1, 10, Upload.size() - 1, Upload.size()));

// How long the window goes without repainting meanwhile is the benchmark's.
TEST_F(LongestUpload, AStallEndsTheUploadAsInterruptedWithTheWindowLiveAndLocked) {
    SendAndAwaitEnd();
    EXPECT_EQ(unit_.Log(), Upload);

    // Stalled after 10: the controller's buffers take a few more, then the
    // kernel gives up on the write that waits.
    unit_.ClearLog();
    unit_.StallAfter(10);
    tool_->PressSend();
    ASSERT_TRUE(WaitUntil([&] { return unit_.Stalled(); }));
    Settle(1s);  // time for a wrong early end, well within the kernel's 5 s
    EXPECT_EQ(tool_->Notice(), "Enviando configuración");
    EXPECT_FALSE(tool_->SendEnabled());
    EXPECT_FALSE(tool_->ZoneEnabled());
    tool_->PressSend();
    tool_->TryZoneKey(Qt::Key_Down);
    ASSERT_TRUE(WaitUntil([&] { return tool_->SendEnabled(); })) << "the stalled upload never ended";
    EXPECT_EQ(tool_->Notice(), "Envío interrumpido");
    const QString told = tool_->NoticeDetail();

    // A zone picked while the unit still stalls: its request waits off the
    // window's thread, behind what the unit's endpoint holds.
    tool_->PickZone(0);
    Settle(1s);  // lets the request reach the stalled endpoint first; a later one passes too

    // What the unit takes once it reads again is what the window counted,
    // then that request: no second upload.
    unit_.Resume();
    // The whole answer, so no tail of it lands in the next zone's.
    ASSERT_TRUE(WaitUntil([&] {
        return tool_->Phone() == QString::fromStdString(Stored[0].first) && tool_->Message() == Stored[0].second.c_str();
    }));
    const std::vector<WireReport> log = unit_.Log();
    const std::size_t taken = log.size() - 1;
    EXPECT_EQ(std::vector<WireReport>(log.begin(), log.end() - 1), Prefix(taken));
    EXPECT_EQ(log.back()[5], 1) << "the last report was not zone 1's request";
    EXPECT_GE(taken, 10u);
    EXPECT_TRUE(told.contains(QString("llegaron %1 informes").arg(taken)))
        << told.toStdString() << " / the unit took " << taken;

    // Back on zone 4, a send after the stall goes through whole.
    tool_->PickZone(3);
    // The answer is over once the part of the text the unit took shows.
    const QString partText = QString::fromLatin1(unit_.WithModel([](AlarmUnitModel& m) { return m.Text(4); }));
    ASSERT_TRUE(WaitUntil([&] { return tool_->Phone() == Phone && tool_->Message() == partText; }))
        << tool_->Phone().toStdString() << " / " << tool_->Message().toStdString();
    tool_->PickOperator(2);
    tool_->SetMessage(Text);
    unit_.ClearLog();
    SendAndAwaitEnd();
    EXPECT_EQ(unit_.Log(), Upload);
}

}  // namespace
