// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velbrix-qorun-cli provision (--cli=PATH) on a bench of USB gadget units:
// units plugged in one after the other and together, one pulled mid-way and
// plugged back, the log against what each unit holds, and SIGTERM.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <set>

#include "cli_process.h"
#include "guest_unit.h"

namespace {

using namespace std::chrono_literals;

class Provisioning : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(CliPath().isEmpty()) << "no --cli=PATH given";
        GuestUnit source;
        LoadStoredZones(source);
        ASSERT_NO_FATAL_FAILURE(PlugIn(source));
        const CliRun backup = Cli({"backup", file_});
        ASSERT_EQ(backup.status, 0) << testing::PrintToString(backup);
        reference_.StoreServiceCentre(StoredServiceCentre);
        for (int zone = 1; zone <= 4; ++zone) reference_.StoreZone(zone, Stored[zone - 1].first, Stored[zone - 1].second);
        reference_.StorePin("1234");
    }

    // The unit's line says it is done as `result`; its memory is the file's.
    void ExpectLine(const QString& line, GuestUnit& unit, const QString& result) {
        const QString node = NodeOf(unit);  // under Wine, a run of list
        EXPECT_TRUE(line.startsWith(node + " serial " + QString::fromStdString(unit.Serial()) + ": " + result))
            << line.toStdString() << " / " << node.toStdString() << " " << unit.Serial();
        if (result == "ok") {
            EXPECT_EQ(Memory(unit), reference_.Memory()) << unit.Serial();
        }
    }

    std::vector<QJsonObject> LogRecords() {
        QFile log(log_);
        std::vector<QJsonObject> records;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (!line.isEmpty()) records.push_back(QJsonDocument::fromJson(line).object());
        return records;
    }

    QTemporaryDir dir_;
    const QString file_ = dir_.filePath("site.json");
    const QString log_ = dir_.filePath("bench.log");
    AlarmUnitModel reference_;
};

TEST_F(Provisioning, UnitsOneAfterTheOtherThenFourTogetherEachOncePerPlugInByteForByte) {
    GuestUnit units[4];
    Bench bench({"provision", file_, "--pin", "1234", "--count", "6", "--log", log_});
    for (int i = 0; i < 2; ++i) {
        ASSERT_NO_FATAL_FAILURE(PlugIn(units[i]));
        ASSERT_TRUE(bench.AwaitLines(i + 1)) << bench.Out().toStdString();
        ExpectLine(bench.Lines()[i], units[i], "ok");
        // Staying plugged in, it is not written again.
        units[i].ClearLog();
        Settle(1s);  // time for a second provisioning to start, which it must not
        EXPECT_EQ(units[i].LogSize(), 0u);
        units[i].Remove();
    }

    // Plugged in together, each on a controller of its own, all served side
    // by side; the first two, plugged in again, are provisioned again.
    for (GuestUnit& unit : units) unit.WithModel([](AlarmUnitModel& m) { m = AlarmUnitModel(); }), unit.ClearLog();
    for (GuestUnit& unit : units) ASSERT_TRUE(unit.Create()) << unit.Error();
    ASSERT_TRUE(bench.AwaitLines(6, 300s)) << bench.Out().toStdString() << "listed: " << Cli({"list"}).out.toStdString();
    EXPECT_EQ(bench.Finish(), 0) << bench.Out().toStdString();
    EXPECT_TRUE(bench.Out().contains("6 units provisioned: 6 ok, 0 failed")) << bench.Out().toStdString();
    const QStringList lines = bench.Lines();
    const auto records = LogRecords();
    ASSERT_EQ(records.size(), 6u);
    std::set<std::string> served;
    for (int i = 0; i < 6; ++i) {
        GuestUnit* unit = nullptr;
        for (GuestUnit& each : units)
            if (lines[i].contains(" serial " + QString::fromStdString(each.Serial()) + ": ")) unit = &each;
        ASSERT_NE(unit, nullptr) << lines[i].toStdString();
        if (i >= 2) {  // the first two lines' units were checked as they came
            ExpectLine(lines[i], *unit, "ok");
            EXPECT_TRUE(served.insert(unit->Serial()).second) << "served twice: " << unit->Serial();
            EXPECT_TRUE(RestoredWhole(unit->Log(), StoredRestore(u"1234"))) << unit->Serial();
        }
        EXPECT_EQ(records[i]["serial"].toString().toStdString(), unit->Serial()) << i;
        EXPECT_EQ(records[i]["result"].toString(), "ok") << i;
        EXPECT_TRUE(lines[i].startsWith(records[i]["node"].toString())) << i;
    }
    for (GuestUnit& unit : units) PullOut(unit);
}

// Without --count, SIGTERM (Ctrl-C under Wine) ends the run with its summary
// once the unit under way is done.
TEST_F(Provisioning, AUnitPulledMidRestoreIsSaidSoAndProvisionedWholeWhenPluggedBack) {
    GuestUnit unit;
    unit.RemoveAfter(100);  // in zone 2
    Bench bench({"provision", file_, "--pin", "1234", "--log", log_});
    // Not PlugIn: a loaded machine can finish those 100 reports, and the
    // node be gone, before the test would see udevd idle.
    ASSERT_TRUE(unit.Create()) << unit.Error();
    ASSERT_TRUE(bench.AwaitLines(1)) << bench.Out().toStdString();
    // Whether the removal was heard of within the bench's notice, or the
    // unit looked stalled, depends on the guest's load.
    const QString prefix = " serial " + QString::fromStdString(unit.Serial()) + ": ";
    const std::size_t told = NumberIn(bench.Lines()[0], "^\\S+" + QRegularExpression::escape(prefix) +
                                      "(?:interrupted: unplugged|stopped taking reports: a write was refused) after (\\d+) reports");
    EXPECT_NE(told, 0u) << bench.Lines()[0].toStdString();
    ASSERT_TRUE(WaitUntil([&] { return !unit.Present(); }));
    const std::vector<WireReport> read = unit.Log(), drained = unit.DrainedAtUnplug();
    EXPECT_EQ(read.size(), 100u);

    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    // Stopped with the unit under way (on a quick machine, done): it is finished.
    ASSERT_TRUE(WaitUntil([&] { return unit.LogSize() > read.size(); }));
    bench.Stop();
    ASSERT_TRUE(bench.AwaitLines(2)) << bench.Out().toStdString();
    ExpectLine(bench.Lines()[1], unit, "ok");
    // The whole restore, as the second plug-in took it, is what was cut short.
    const std::vector<WireReport> log = unit.Log(), whole(log.begin() + static_cast<long>(read.size()), log.end());
    EXPECT_TRUE(EndpointTook(whole, read, drained, told));
    EXPECT_TRUE(RestoredWhole(whole, StoredRestore(u"1234")));
    EXPECT_EQ(bench.Finish(), 4) << "an interrupted unit fails the run";
    EXPECT_TRUE(bench.Out().contains("2 units provisioned: 1 ok, 1 failed")) << bench.Out().toStdString();
    const auto records = LogRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(QStringList({"interrupted", "stopped taking reports"}).contains(records[0]["result"].toString()));
    EXPECT_EQ(records[0]["reports"].toInt(), static_cast<int>(told));
    EXPECT_EQ(records[1]["result"].toString(), "ok");
}

}  // namespace
