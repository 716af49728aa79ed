// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real window against the virtual unit through the kernel's USB HID
// driver: what only that path shows, checked at the unit (the 8 bytes it
// took) and in the window.

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "expected_reports.h"
#include "guest_unit.h"

namespace {

using namespace std::chrono_literals;

class EndToEnd : public testing::Test {
protected:
    void SetUp() override { LoadStoredZones(unit_); }

    // Picks a zone and checks that its values (by default the stored ones)
    // arrive, and that its request was the last report sent.
    void ExpectZoneReadBack(ToolSession& tool, int zone, QString phone = {}, QString message = {},
                            const QString& operatorName = "AMENA") {
        if (phone.isEmpty()) {
            phone = QString::fromStdString(Stored[zone - 1].first);
            message = QString::fromLatin1(Stored[zone - 1].second).replace("\r\n", "\n");
        }
        tool.PickZone(zone - 1);
        WaitUntil([&] { return tool.Phone() == phone && tool.Message() == message; });
        Settle(300ms);  // a stray report after the answer would show now
        EXPECT_EQ(std::tuple(tool.Phone(), tool.Message(), tool.Operator()), std::tuple(phone, message, operatorName));
        EXPECT_EQ(unit_.LogSize() ? unit_.Log().back()[5] : 0, zone) << "the last report was not the zone's request";
    }

    GuestUnit unit_;
};

// Started with the unit present, after the start-up exchange has finished.
class StartedWithUnit : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
        tool_ = std::make_unique<ToolSession>();
        ASSERT_NO_FATAL_FAILURE(AwaitStartUpExchange(unit_, *tool_));
    }

    std::unique_ptr<ToolSession> tool_;
};

TEST_F(EndToEnd, StartUpAnswerArrivingLateNeverShowsAndNotificationsComeOnWithoutReplug) {
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    // Start-up asks for zone 1 before the link exists; a slow unit makes
    // sure part of that answer arrives after read notifications come on.
    unit_.SetReplyInterval(20ms);
    ToolSession tool;
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool));
    std::printf("[   INFO   ] read notifications came on after %zu of the %zu reports of the start-up answer\n",
                unit_.RepliesSent(), StartUpAnswer);
    ASSERT_TRUE(WaitUntil([&] { return unit_.RepliesSent() == StartUpAnswer && unit_.InputTaken(); }))
        << unit_.RepliesSent();
    Settle();  // time for the tail to show, which it must not
    unit_.SetReplyInterval(1ms);
    EXPECT_EQ(std::tuple(tool.Phone(), tool.Message(), tool.Operator()),
              std::tuple(QString("Tlf env."), QString("Texto a enviar"), QString("MOVISTAR")));

    // CR LF and a Latin-1 letter cross the kernel.
    ExpectZoneReadBack(tool, 3);
    EXPECT_EQ(unit_.Log(), (std::vector<WireReport>{{0, 0, 0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 3, 0, 0}}));
}

TEST_F(StartedWithUnit, EditSendAndReselectBringsBackWhatWasSent) {
    ExpectZoneReadBack(*tool_, 2);
    tool_->TypePin("4321");
    tool_->PickOperator(3);  // YOIGO
    tool_->TypePhone("699888777");
    tool_->SetMessage("Hola\nmundo \u00F1");
    std::vector<WireReport> expected = unit_.Log();
    const auto upload = ExpectedUpload(2, u"4321", u"622996111", u"699888777", u"Hola\r\nmundo \u00F1");
    expected.insert(expected.end(), upload.begin(), upload.end());
    tool_->PressSend();
    ASSERT_TRUE(WaitUntil([&] { return unit_.LogSize() >= expected.size(); })) << unit_.LogSize() << " reports";
    Settle(300ms);  // time for a report too many to land
    EXPECT_EQ(unit_.Log(), expected);

    ExpectZoneReadBack(*tool_, 2, "699888777", "Hola\nmundo \u00F1", "YOIGO");
    // The request carries the data and address of the last write before it.
    expected.push_back(expected.back());
    expected.back()[5] = 2;
    EXPECT_EQ(unit_.Log(), expected);
}

TEST_F(EndToEnd, NoUnitAtStartThenOneArrivesAndWorks) {
    ToolSession tool;
    Settle();  // time for a wrong arrival to show
    EXPECT_EQ(tool.Events().Count(EventPlugged), 0);
    tool.PickZone(1);
    tool.TypePhone("699111222");
    tool.PressSend();  // nowhere to go; must return all the same

    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    ASSERT_TRUE(WaitUntil([&] { return tool.Events().Count(EventPlugged) > 0; })) << "the unit's arrival was missed";
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool));
    ExpectZoneReadBack(tool, 2);
    EXPECT_EQ(unit_.LogSize(), 1u) << "only the zone request reached the unit";
}

}  // namespace
