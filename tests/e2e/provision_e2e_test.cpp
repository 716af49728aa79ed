// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velbrix-qorun-cli provision (--cli=PATH) on a bench of USB gadget units:
// units plugged in one after the other and together, one pulled mid-way and
// plugged back, the log against what each unit holds, and SIGTERM.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

#include "cli_process.h"
#include "guest_unit.h"

namespace {

using namespace std::chrono_literals;

// A provision run, its output gathered as it comes; killed if still running.
class Bench {
public:
    explicit Bench(const QStringList& arguments) { process_.start(CliPath(), arguments); }
    ~Bench() {
        process_.kill();
        process_.waitForFinished();
    }
    QString Out() { return out_ += process_.readAllStandardOutput(); }
    QStringList Lines() { return Out().split('\n').filter(QRegularExpression("^/dev/hidraw")); }
    bool AwaitLines(int lines, std::chrono::milliseconds limit = 180s) {
        return WaitUntil([&] { return Lines().size() >= lines; }, limit);
    }
    int Finish() {
        const bool ended = process_.waitForFinished(180000) && process_.exitStatus() == QProcess::NormalExit;
        return ended ? process_.exitCode() : -1;
    }
    void Terminate() { ::kill(static_cast<pid_t>(process_.processId()), SIGTERM); }

private:
    QProcess process_;
    QString out_;
};

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
        EXPECT_TRUE(line.startsWith(QString::fromStdString(unit.HidrawNode()) + " serial " +
                                    QString::fromStdString(unit.Serial()) + ": " + result))
            << line.toStdString() << " / " << unit.HidrawNode() << " " << unit.Serial();
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

TEST_F(Provisioning, UnitsOneAfterTheOtherThenTogetherEachOncePerPlugInWithTheirLogRecords) {
    GuestUnit first, second;
    Bench bench({"provision", file_, "--pin", "1234", "--count", "4", "--log", log_});
    ASSERT_NO_FATAL_FAILURE(PlugIn(first));
    ASSERT_TRUE(bench.AwaitLines(1)) << bench.Out().toStdString();
    ExpectLine(bench.Lines()[0], first, "ok");
    // Staying plugged in, it is not written again.
    first.ClearLog();
    Settle(1s);  // time for a second provisioning to start, which it must not
    EXPECT_EQ(first.LogSize(), 0u);
    first.Remove();

    ASSERT_NO_FATAL_FAILURE(PlugIn(second));
    ASSERT_TRUE(bench.AwaitLines(2)) << bench.Out().toStdString();
    ExpectLine(bench.Lines()[1], second, "ok");
    second.Remove();

    // Together: the second waits its turn; the first, plugged in again, is
    // provisioned again.
    first.WithModel([](AlarmUnitModel& m) { m = AlarmUnitModel(); });
    second.WithModel([](AlarmUnitModel& m) { m = AlarmUnitModel(); });
    ASSERT_NO_FATAL_FAILURE(PlugIn(first));
    ASSERT_NO_FATAL_FAILURE(PlugIn(second));
    ASSERT_TRUE(bench.AwaitLines(4, 300s)) << bench.Out().toStdString();
    EXPECT_EQ(bench.Finish(), 0) << bench.Out().toStdString();
    const QStringList lines = bench.Lines();
    const bool firstFirst = lines[2].contains(QString::fromStdString(first.Serial()));
    ExpectLine(lines[2], firstFirst ? first : second, "ok");
    ExpectLine(lines[3], firstFirst ? second : first, "ok");
    EXPECT_TRUE(bench.Out().contains("4 units provisioned: 4 ok, 0 failed")) << bench.Out().toStdString();

    const auto records = LogRecords();
    ASSERT_EQ(records.size(), 4u);
    const std::string serials[] = {first.Serial(), second.Serial(), firstFirst ? first.Serial() : second.Serial(),
                                   firstFirst ? second.Serial() : first.Serial()};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i]["serial"].toString().toStdString(), serials[i]) << i;
        EXPECT_EQ(records[i]["result"].toString(), "ok") << i;
        EXPECT_TRUE(lines[static_cast<int>(i)].startsWith(records[i]["node"].toString())) << i;
    }
}

// Without --count, SIGTERM ends the run with its summary.
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
    const std::size_t told = NumberIn(bench.Lines()[0], "^/dev/hidraw\\d+" + QRegularExpression::escape(prefix) +
                                      "(?:interrupted: unplugged|stopped taking reports: a write was refused) after (\\d+) reports");
    EXPECT_NE(told, 0u) << bench.Lines()[0].toStdString();
    ASSERT_TRUE(WaitUntil([&] { return !unit.Present(); }));
    const std::vector<WireReport> read = unit.Log(), drained = unit.DrainedAtUnplug();
    EXPECT_EQ(read.size(), 100u);

    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    ASSERT_TRUE(bench.AwaitLines(2)) << bench.Out().toStdString();
    ExpectLine(bench.Lines()[1], unit, "ok");
    // The whole restore, as the second plug-in took it, is what was cut short.
    const std::vector<WireReport> log = unit.Log(), whole(log.begin() + static_cast<long>(read.size()), log.end());
    EXPECT_TRUE(EndpointTook(whole, read, drained, told));
    bench.Terminate();
    EXPECT_EQ(bench.Finish(), 4) << "an interrupted unit fails the run";
    EXPECT_TRUE(bench.Out().contains("2 units provisioned: 1 ok, 1 failed")) << bench.Out().toStdString();
    const auto records = LogRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(QStringList({"interrupted", "stopped taking reports"}).contains(records[0]["result"].toString()));
    EXPECT_EQ(records[0]["reports"].toInt(), static_cast<int>(told));
    EXPECT_EQ(records[1]["result"].toString(), "ok");
}

}  // namespace
