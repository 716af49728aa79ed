// The real tool against the virtual unit on /dev/uhid: what only the
// kernel's hidraw path shows, each checked on both sides (what the unit
// received, what the window shows).

#include <gtest/gtest.h>

#include <QString>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "expected_reports.h"
#include "guest_unit.h"
#include "main_window/text_units.h"

namespace {

using namespace std::chrono_literals;

const std::size_t StartUpAnswer = StoredServiceCentre.size() + Stored[0].first.size() + Stored[0].second.size();

// The longest configuration the window allows: 4 + 9 + 9 + 49 code units.
const QString LongPin = QStringLiteral("9876");
const QString LongPhone = QStringLiteral("699111222");
const QString LongText = QStringLiteral("Alarma: intrusion detectada en la zona, llame ya!");

class EndToEnd : public testing::Test {
protected:
    void SetUp() override { LoadStoredZones(unit_); }

    // Starts the tool with the unit present and lets the start-up exchange
    // finish first, as a user would: a zone picked while that answer still
    // streams would get its tail, which no scenario here is about.
    std::unique_ptr<ToolSession> StartWithUnit() {
        auto tool = std::make_unique<ToolSession>();
        EXPECT_TRUE(WaitUntil([&] { return unit_.RepliesSent() >= StartUpAnswer; }))
            << "the start-up request got no full answer: " << unit_.RepliesSent();
        AwaitArrival(*tool);
        Settle();
        return tool;
    }

    // The backend's arrival report is what (through OnChanged) turns read
    // notifications on.
    static void AwaitArrival(ToolSession& tool) {
        ASSERT_TRUE(WaitUntil([&] { return tool.Events().Count(EventChanged) > 0; }))
            << "no EventChanged reached the window";
    }

    // Picks a zone and checks that its values arrive, and nothing more.
    void ExpectZoneReadBack(ToolSession& tool, int zone, const QString& phone, const QString& message,
                            const QString& operatorName) {
        tool.PickZone(zone - 1);
        WaitUntil([&] { return tool.Phone() == phone && tool.Message() == message; });
        Settle(300ms);
        EXPECT_EQ(tool.Phone(), phone);
        EXPECT_EQ(tool.Message(), message);
        EXPECT_EQ(tool.Operator(), operatorName);
        ASSERT_FALSE(unit_.Log().empty());
        EXPECT_EQ(unit_.Log().back()[5], zone) << "the last report was not the zone's request";
    }

    void ExpectStoredZone(ToolSession& tool, int zone) {
        // Shown with "\n" for the unit's CR LF.
        const auto& [phone, text] = Stored[zone - 1];
        ExpectZoneReadBack(tool, zone, QString::fromStdString(phone),
                           QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                           QStringLiteral("AMENA"));
    }

    UhidUnit unit_;
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
    ASSERT_TRUE(WaitUntil([&] { return unit_.RepliesSent() == StartUpAnswer; }))
        << "the start-up request got no full answer: " << unit_.RepliesSent();
    Settle();
    unit_.SetReplyInterval(1ms);
    EXPECT_EQ(tool.Phone(), QStringLiteral("Tlf env."));
    EXPECT_EQ(tool.Message(), QStringLiteral("Texto a enviar"));
    EXPECT_EQ(tool.Operator(), QStringLiteral("MOVISTAR"));

    // Choosing a zone fills it; a line break (CR LF on the wire) and a
    // Latin-1 letter cross the kernel.
    ExpectStoredZone(tool, 3);
    EXPECT_EQ(unit_.Log(), (std::vector<WireReport>{{0, 0, 0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 3, 0, 0}}));
}

TEST_F(EndToEnd, EditSendAndReselectBringsBackWhatWasSent) {
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    const auto session = StartWithUnit();
    ToolSession& tool = *session;
    ExpectStoredZone(tool, 2);

    tool.TypePin(QStringLiteral("4321"));
    tool.PickOperator(3);  // YOIGO
    tool.TypePhone(QStringLiteral("699888777"));
    tool.SetMessage(QStringLiteral("Hola\nmundo \u00F1"));
    std::vector<WireReport> expected = unit_.Log();
    const auto upload = ExpectedUpload(2, u"4321", u"622996111", u"699888777", u"Hola\r\nmundo \u00F1");
    expected.insert(expected.end(), upload.begin(), upload.end());
    tool.PressSend();
    ASSERT_TRUE(WaitUntil([&] { return unit_.LogSize() >= expected.size(); }))
        << "the unit received " << unit_.LogSize() << " of " << expected.size() << " reports";
    Settle(300ms);
    EXPECT_EQ(unit_.Log(), expected);

    ExpectZoneReadBack(tool, 2, QStringLiteral("699888777"), QStringLiteral("Hola\nmundo \u00F1"),
                       QStringLiteral("YOIGO"));
    // The request carries the data and address of the last write before it.
    expected.push_back(expected.back());
    expected.back()[5] = 2;
    EXPECT_EQ(unit_.Log(), expected);
}

TEST_F(EndToEnd, UnitPulledMidUploadGotExactlyThePrefixAndAfterReplugTheWholeUploadGoesThrough) {
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    const auto session = StartWithUnit();
    ToolSession& tool = *session;
    ExpectStoredZone(tool, 4);
    tool.TypePin(LongPin);
    tool.PickOperator(2);  // VODAFONE
    tool.TypePhone(LongPhone);
    tool.SetMessage(LongText);
    const auto upload = ExpectedUpload(4, ToUnits(LongPin), u"607003110", ToUnits(LongPhone), ToUnits(LongText));

    // Pulled out after 40 of the 142 reports: the press must return.
    unit_.ClearLog();
    unit_.RemoveAfter(40);
    tool.Events().Clear();
    tool.PressSend();
    ASSERT_TRUE(WaitUntil([&] { return !unit_.Present() && tool.Events().Count(EventChanged) > 0; }));
    EXPECT_EQ(unit_.Log(), std::vector<WireReport>(upload.begin(), upload.begin() + 40));

    tool.Events().Clear();
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool));
    unit_.ClearLog();
    tool.PressSend();
    ASSERT_TRUE(WaitUntil([&] { return unit_.LogSize() >= upload.size(); }));
    Settle(300ms);
    EXPECT_EQ(unit_.Log(), upload);
    ExpectZoneReadBack(tool, 4, LongPhone, LongText, QStringLiteral("VODAFONE"));
}

TEST_F(EndToEnd, NoUnitAtStartThenOneArrivesAndWorks) {
    ToolSession tool;
    Settle();
    EXPECT_EQ(tool.Events().Count(EventPlugged), 0);
    tool.PickZone(1);
    tool.TypePhone(LongPhone);
    tool.PressSend();  // nowhere to go; must return all the same

    ASSERT_NO_FATAL_FAILURE(PlugIn(unit_));
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool));
    EXPECT_GE(tool.Events().Count(EventPlugged), 1);
    ExpectStoredZone(tool, 2);
    EXPECT_EQ(unit_.LogSize(), 1u) << "only the zone request reached the unit";
}

}  // namespace
