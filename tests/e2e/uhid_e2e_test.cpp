// Scenarios of the real tool against the virtual unit on /dev/uhid, each
// checked on both sides: what the unit received, what the window shows.

#include <gtest/gtest.h>

#include <QString>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "protocol/hid_library.h"
#include "expected_reports.h"
#include "main_window/text_units.h"
#include "tool_session.h"
#include "virtual_unit/uhid_unit.h"

namespace {

using namespace std::chrono_literals;

struct StoredZone {
    std::string phone;
    std::string text;      // Latin-1 bytes as the unit holds them
    QString shown;         // what the text field then shows
};

// Pre-loaded in the unit, as if uploaded earlier. The service centre is
// AMENA's, so a read-back that lands visibly switches the operator away from
// the start-up choice MOVISTAR.
const std::string StoredServiceCentre = "656000311";
const StoredZone Stored[4] = {
    {"611222333", "Zona uno", QStringLiteral("Zona uno")},
    {"622000111", "Puerta principal", QStringLiteral("Puerta principal")},
    {"633444555", "Linea 1\r\nLinea 2", QStringLiteral("Linea 1\nLinea 2")},
    {"644777888", "Humo en cocina \xF1", QStringLiteral("Humo en cocina \u00F1")},
};

std::size_t AnswerLength(int zone) {
    return StoredServiceCentre.size() + Stored[zone - 1].phone.size() + Stored[zone - 1].text.size();
}

// The longest configuration the window allows: 4 + 9 + 9 + 49 code units.
const QString LongPin = QStringLiteral("9876");
const QString LongPhone = QStringLiteral("699111222");
const QString LongText = QStringLiteral("Alarma: intrusion detectada en la zona, llame ya!");

std::string Describe(const std::vector<WireReport>& reports) {
    std::string out;
    char byte[4];
    for (const WireReport& report : reports) {
        for (std::uint8_t b : report) {
            std::snprintf(byte, sizeof byte, "%02X ", b);
            out += byte;
        }
        out += "\n";
    }
    return out;
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        unit_.WithModel([](AlarmUnitModel& model) {
            model.StoreServiceCentre(StoredServiceCentre);
            model.StorePin("1234");
            for (int zone = 1; zone <= 4; ++zone)
                model.StoreZone(zone, Stored[zone - 1].phone, Stored[zone - 1].text);
        });
    }

    // Plugs the unit in and waits until the kernel has made its hidraw node.
    void PlugIn() {
        ASSERT_TRUE(unit_.Create()) << unit_.Error();
        ASSERT_TRUE(WaitUntil([this] { return !unit_.HidrawNode().empty(); }))
            << "the kernel made no hidraw node for the unit";
    }

    // Starts the tool with the unit present and, as a user would, lets the
    // start-up exchange finish before anything else happens: a zone picked
    // while that answer still streams would get its tail, which no scenario
    // here is about.
    std::unique_ptr<ToolSession> StartWithUnit() {
        auto tool = std::make_unique<ToolSession>();
        EXPECT_TRUE(WaitUntil([&] { return unit_.RepliesSent() >= AnswerLength(1); }))
            << "the start-up request got no full answer: " << unit_.RepliesSent();
        EXPECT_TRUE(WaitUntil([&] { return tool->Events().Count(EventChanged) > 0; }))
            << "no EventChanged reached the window";
        Settle();
        return tool;
    }

    // Waits for the backend to report the unit's arrival to the window, which
    // (through OnChanged) turns read notifications on.
    static void AwaitArrival(ToolSession& tool, int changesBefore) {
        ASSERT_TRUE(WaitUntil([&] { return tool.Events().Count(EventChanged) > changesBefore; }))
            << "no EventChanged reached the window";
    }

    // Picks a zone and checks that its stored values arrive, and nothing more.
    void ExpectZoneReadBack(ToolSession& tool, int zone, const QString& phone,
                            const QString& message, const QString& operatorName) {
        const std::size_t repliesBefore = unit_.RepliesSent();
        tool.PickZone(zone - 1);
        EXPECT_EQ(tool.ZoneTitle(), QStringLiteral("Zona Alarma %1").arg(zone));
        EXPECT_TRUE(WaitUntil([&] { return tool.Phone() == phone && tool.Message() == message; }))
            << "zone " << zone << " shows phone '" << tool.Phone().toStdString() << "' text '"
            << tool.Message().toStdString() << "'";
        Settle(300ms);
        EXPECT_GT(unit_.RepliesSent(), repliesBefore) << "the unit was not asked";
        EXPECT_EQ(tool.Phone(), phone);
        EXPECT_EQ(tool.Message(), message);
        EXPECT_EQ(tool.Operator(), operatorName);
        ASSERT_FALSE(unit_.Log().empty());
        EXPECT_EQ(unit_.Log().back()[5], zone) << "the last report was not the zone's request";
    }

    void ExpectStoredZone(ToolSession& tool, int zone, const QString& operatorName) {
        ExpectZoneReadBack(tool, zone, QString::fromStdString(Stored[zone - 1].phone),
                           Stored[zone - 1].shown, operatorName);
    }

    UhidUnit unit_;
};

TEST(ExpectedReports, FollowTheWorkedExamples) {
    // The reference the scenarios compare with must itself be right.
    const auto reports = ExpectedUpload(2, u"1234", u"656000311", u"12", u"Hi");
    const std::vector<int> addresses{0, 0, 1, 2, 2, 2, 3, 4, 5, 6, 6, 6, 7, 8, 8, 8, 9, 10, 10, 10,
                                     11, 12, 12, 12, 13, 14, 75, 76, 76, 76, 85, 86, 86, 86};
    ASSERT_EQ(reports.size(), addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) EXPECT_EQ(reports[i][7], addresses[i]) << i;
    EXPECT_EQ(reports[30], (WireReport{0, 0, 0, 0, 0, 0x0A, 0x48, 0x55}));
    EXPECT_EQ(ExpectedReadBackRequest(3, reports), (WireReport{0, 0, 0, 0, 0, 3, 0, 0x56}));
}

TEST_F(EndToEnd, UnitPresentAtStartUpGetsNotificationsWithoutReplug) {
    ASSERT_NO_FATAL_FAILURE(PlugIn());
    // Start-up asks for zone 1 before the link exists; the unit answers at
    // its own pace, so part of that answer may still arrive after read
    // notifications come on. None of it may show. A slow unit makes sure
    // some of it does arrive late.
    unit_.SetReplyInterval(std::chrono::milliseconds(20));
    ToolSession tool;
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool, 0));
    std::printf("[   INFO   ] read notifications came on after %zu of the %zu reports of the "
                "start-up answer\n", unit_.RepliesSent(), AnswerLength(1));
    ASSERT_TRUE(WaitUntil([&] { return unit_.RepliesSent() == AnswerLength(1); }))
        << "the start-up request got no full answer: " << unit_.RepliesSent();
    Settle();
    unit_.SetReplyInterval(std::chrono::milliseconds(1));
    EXPECT_EQ(tool.Phone(), QStringLiteral("Tlf env."));
    EXPECT_EQ(tool.Message(), QStringLiteral("Texto a enviar"));
    EXPECT_EQ(tool.Operator(), QStringLiteral("MOVISTAR"));
    const std::vector<WireReport> startUp{{0, 0, 0, 0, 0, 1, 0, 0}};
    EXPECT_EQ(unit_.Log(), startUp) << Describe(unit_.Log());

    // Notifications are on without a replug: choosing a zone fills it. A
    // line break (CR LF on the wire) and a Latin-1 letter cross the kernel;
    // picking the zone already shown asks again and shows it once.
    ExpectStoredZone(tool, 2, QStringLiteral("AMENA"));
    const std::vector<WireReport> requests{{0, 0, 0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 2, 0, 0}};
    EXPECT_EQ(unit_.Log(), requests) << Describe(unit_.Log());
    for (const int zone : {3, 4, 4})
        ExpectStoredZone(tool, zone, QStringLiteral("AMENA"));
}

TEST_F(EndToEnd, EditSendAndReselectBringsBackWhatWasSent) {
    ASSERT_NO_FATAL_FAILURE(PlugIn());
    const auto session = StartWithUnit();
    ToolSession& tool = *session;
    ExpectStoredZone(tool, 2, QStringLiteral("AMENA"));

    tool.TypePin(QStringLiteral("4321"));
    tool.PickOperator(3);  // YOIGO
    tool.TypePhone(QStringLiteral("699888777"));
    tool.SetMessage(QStringLiteral("Hola\nmundo \u00F1"));
    const std::vector<WireReport> before = unit_.Log();
    tool.PressSend();

    std::vector<WireReport> expected = before;
    const auto upload = ExpectedUpload(2, u"4321", u"622996111", u"699888777", u"Hola\r\nmundo \u00F1");
    expected.insert(expected.end(), upload.begin(), upload.end());
    ASSERT_TRUE(WaitUntil([&] { return unit_.LogSize() >= expected.size(); }))
        << "the unit received " << unit_.LogSize() - before.size() << " of " << upload.size()
        << " reports";
    Settle(300ms);
    EXPECT_EQ(unit_.Log(), expected) << "unit log:\n" << Describe(unit_.Log());

    ExpectZoneReadBack(tool, 2, QStringLiteral("699888777"), QStringLiteral("Hola\nmundo \u00F1"),
                       QStringLiteral("YOIGO"));
    expected.push_back(ExpectedReadBackRequest(2, expected));
    EXPECT_EQ(unit_.Log(), expected) << "unit log:\n" << Describe(unit_.Log());
}

TEST_F(EndToEnd, UnitRemovedInTheMiddleOfAnUpload) {
    ASSERT_NO_FATAL_FAILURE(PlugIn());
    const auto session = StartWithUnit();
    ToolSession& tool = *session;
    ExpectStoredZone(tool, 4, QStringLiteral("AMENA"));

    tool.TypePin(LongPin);
    tool.PickOperator(2);  // VODAFONE
    tool.TypePhone(LongPhone);
    tool.SetMessage(LongText);
    const auto upload = ExpectedUpload(4, ToUnits(LongPin), u"607003110", ToUnits(LongPhone), ToUnits(LongText));
    ASSERT_EQ(upload.size(), 142u);

    // Pulled out after 40 of 142 reports: the press must return, and what
    // the unit got is exactly the start of the upload.
    unit_.ClearLog();
    unit_.RemoveAfter(40);
    tool.Events().Clear();
    tool.PressSend();
    ASSERT_TRUE(WaitUntil([&] { return !unit_.Present(); }));
    const std::vector<WireReport> prefix(upload.begin(), upload.begin() + 40);
    EXPECT_EQ(unit_.Log(), prefix) << Describe(unit_.Log());
    ASSERT_TRUE(WaitUntil([&] { return tool.Events().Count(EventChanged) > 0; }));
    ASSERT_FALSE(tool.Events().Events().empty());
    EXPECT_EQ(tool.Events().Events()[0].first, EventUnplugged);
    EXPECT_NE(tool.Events().Events()[0].second, 0u);

    // The window still responds; without the unit a pick empties the fields
    // and a send goes nowhere, and both return.
    tool.PickZone(3);
    EXPECT_EQ(tool.ZoneTitle(), QStringLiteral("Zona Alarma 4"));
    EXPECT_EQ(tool.Phone(), QString());
    tool.TypePhone(QStringLiteral("123"));
    tool.PressSend();
    Settle();
    EXPECT_EQ(unit_.Log(), prefix);

    // Plugged back in, the same upload goes through whole and reads back.
    tool.Events().Clear();
    ASSERT_NO_FATAL_FAILURE(PlugIn());
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool, 0));
    EXPECT_EQ(tool.Events().Events()[0].first, EventPlugged);
    tool.TypePhone(LongPhone);
    tool.SetMessage(LongText);
    unit_.ClearLog();
    tool.PressSend();
    ASSERT_TRUE(WaitUntil([&] { return unit_.LogSize() >= upload.size(); }));
    Settle(300ms);
    EXPECT_EQ(unit_.Log(), upload) << Describe(unit_.Log());
    ExpectZoneReadBack(tool, 4, LongPhone, LongText, QStringLiteral("VODAFONE"));
}

TEST_F(EndToEnd, NoUnitAtAllThenOneArrives) {
    ToolSession tool;
    Settle();
    EXPECT_EQ(tool.Events().Count(EventPlugged), 0);
    tool.PickZone(1);
    EXPECT_EQ(tool.ZoneTitle(), QStringLiteral("Zona Alarma 2"));
    tool.TypePin(LongPin);
    tool.TypePhone(LongPhone);
    tool.SetMessage(LongText);
    tool.PressSend();  // nowhere to go; must return all the same
    EXPECT_EQ(tool.Phone(), LongPhone);

    // Plugging in later is noticed and works.
    ASSERT_NO_FATAL_FAILURE(PlugIn());
    ASSERT_NO_FATAL_FAILURE(AwaitArrival(tool, 0));
    EXPECT_GE(tool.Events().Count(EventPlugged), 1);
    ExpectStoredZone(tool, 2, QStringLiteral("AMENA"));
    EXPECT_EQ(unit_.LogSize(), 1u) << "only the zone request reached the unit";
}

}  // namespace
