// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// provision against a bench of in-process units the test plugs in and pulls
// out: each unit's line and log record, and the order units are served in.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>

#include "cli_harness.h"

namespace {

// An in-process unit that lets the test act before each write.
class BenchLibrary : public FaultyUnitLibrary {
public:
    using FaultyUnitLibrary::FaultyUnitLibrary;
    int writes = 0;
    std::function<void(int)> beforeWrite = [](int) {};  // given the write's number, from 1

    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        beforeWrite(++writes);
        return FaultyUnitLibrary::WriteEx(vendorId, productId, report);
    }
};

struct BenchUnit {
    AlarmUnitModel model;
    BenchLibrary library{model, false};
    std::string serial;
};

class Bench : public UnitSource, public UnitArrivals {
public:
    std::map<std::string, BenchUnit> units;
    UnitArrivalListener* listener = nullptr;

    BenchLibrary& Plug(const std::string& node, const std::string& serial = {})
    {
        BenchUnit& unit = units[node];
        unit.serial = serial, unit.library.Plug();
        if (listener != nullptr) listener->Arrived({node, serial});
        return unit.library;
    }
    void Unplug(const std::string& node)
    {
        units.at(node).library.Unplug();
        if (listener != nullptr) listener->Left(node);
    }

    std::vector<ListedUnit> List() override { return {}; }
    HidLibrary& Open(const std::string& node) override { return units.at(node).library; }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
    bool Start(UnitArrivalListener& watcher) override
    {
        listener = &watcher;
        for (auto& [node, unit] : units)
            if (unit.library.Plugged())
                watcher.Arrived({node, unit.serial});
        return true;
    }
    void Stop() override { listener = nullptr; }
};

// Zone 1 takes 8 PIN reports and 52 more, zone 2 with an 8-character text 52
// and one read-back request each: 114 writes.
QByteArray BackupWith(const QByteArray& zone2Text)
{
    return R"({"format": "velbrix-qorun-backup", "version": 1, "operator": "AMENA", "zones": [
        {"zone": 2, "phone": "622000111", "text": ")" + zone2Text + R"("},
        {"zone": 1, "phone": "611222333", "text": "Zona uno"}]})";
}

// The run, times in its lines as "T", and what it appended to the log.
struct Provisioned { CliRun run; QByteArray log; };

Provisioned Provision(Bench& bench, const QByteArray& file, const QStringList& arguments, bool progress = false)
{
    QTemporaryDir dir;
    const QString log = Written(dir.filePath("units.log"), "earlier\n");
    std::ostringstream out, err;
    ReadBackTimings timings = ShortTimings;
    timings.unplugNotice = std::chrono::milliseconds(50);
    CommandContext context{bench, out, err, progress, timings, &bench};
    const QStringList all{"velbrix-qorun-cli", "provision", Written(dir.filePath("unit.json"), file), "--log", log};
    const int status = RunCommandLine(all + arguments, context);
    static const QRegularExpression time(R"(\(\d+\.\d s\)\n)");
    const std::string lines = QString::fromStdString(out.str()).replace(time, "(T s)\n").toStdString();
    const QByteArray logged = ReadAll(log);
    EXPECT_TRUE(logged.startsWith("earlier\n"));  // appended to, not replaced
    return {{status, lines, err.str()}, logged.mid(8)};
}

struct UnitCase {
    const char* name;
    void (*fault)(BenchLibrary&);
    int status;
    const char* result;  // as the line has it after the node
    int reports;
    QByteArray zone2Text = "Puerta \xC3\xB1";
    std::vector<std::pair<QString, QString>> differing = {};  // field, file's value
};

const UnitCase Cases[] = {
    {"Ok", [](BenchLibrary&) {}, 0, "ok", 112},
    {"DiffersWhereTheUnitCannotHoldTheEuroSign", [](BenchLibrary&) {}, 4, "differs: zone 2 text", 112,
     "Puerta \xE2\x82\xAC", {{"zone 2 text", "Puerta \u20AC"}}},
    {"InterruptedWhenPulledOut", [](BenchLibrary& l) { l.unplugAfterWrites = 70; }, 4,
     "interrupted: unplugged after 70 reports; plug it in again to provision it whole", 70},
    {"InterruptedWhenPulledOutDuringTheReadBack", [](BenchLibrary& l) { l.unplugAfterWrites = 112; }, 4,
     "interrupted: unplugged after 112 reports (while zone 1 was read back); plug it in again to provision it whole",
     112},
    {"StoppedTakingReportsWhenWritesAreRefusedWhilePlugged", [](BenchLibrary& l) { l.refuseAfterWrites = 30; }, 4,
     "stopped taking reports: a write was refused after 30 reports while the unit stayed plugged in", 30},
    {"NoAnswerFromASilentUnit", [](BenchLibrary& l) { l.silent = true; }, 4,
     "no answer: no answer from the unit within 200 ms after asking for zone 1", 112},
    {"NoPermissionWithTheFix", [](BenchLibrary& l) { l.denied = true; }, 4,
     "no permission: this user may not open it; Fix: install the udev rule", 0},
};

class EachUnit : public testing::TestWithParam<UnitCase> {};

TEST_P(EachUnit, GetsOneLineAndOneLogRecord)
{
    const UnitCase& c = GetParam();
    Bench bench;
    c.fault(bench.Plug("/dev/hidraw7", "SN-\xC3\xB1"));
    const Provisioned p = Provision(bench, BackupWith(c.zone2Text), {"--pin", "1234", "--count", "1"});
    const bool ok = c.status == 0;
    EXPECT_EQ(p.run, (CliRun{c.status, std::string("/dev/hidraw7 serial SN-\xC3\xB1: ") + c.result + " (T s)\n" +
                                           "1 unit provisioned: " + (ok ? "1 ok, 0 failed\n" : "0 ok, 1 failed\n"), ""}));

    ASSERT_EQ(p.log.count('\n'), 1) << p.log.toStdString();
    QJsonObject record = QJsonDocument::fromJson(p.log).object();
    EXPECT_TRUE(QDateTime::fromString(record.take("time").toString(), Qt::ISODateWithMs).isValid());
    EXPECT_GE(record.take("seconds").toDouble(), 0.0);
    QJsonArray differing;
    for (const auto& [field, file] : c.differing)
        differing.append(QJsonObject{{"field", field}, {"file", file}, {"unit", record["differing"][0]["unit"]}});
    const QString line = QString::fromUtf8(c.result);
    const QString result = line.section(':', 0, 0);
    const QJsonObject expected{{"node", "/dev/hidraw7"}, {"serial", "SN-\u00F1"}, {"result", result},
                               {"differing", differing}, {"reports", c.reports},
                               {"detail", c.differing.empty() ? line.section(": ", 1) : QString()}};
    EXPECT_EQ(QJsonDocument(record).toJson(), QJsonDocument(expected).toJson());
    // The log is UTF-8, not escaped.
    EXPECT_TRUE(c.differing.empty() || p.log.contains("Puerta \xE2\x82\xAC"));
}

INSTANTIATE_TEST_SUITE_P(Provision, EachUnit, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<UnitCase>& info) { return info.param.name; });

TEST(ProvisionQueue, ServesUnitsInTurnOncePerPlugInAndEndsOnSigterm)
{
    Bench bench;
    const std::string a = "/dev/hidraw1", b = "/dev/hidraw2", c = "/dev/hidraw3";
    BenchLibrary* first = nullptr;
    QTimer::singleShot(50, [&] {  // the bench is empty at first: A comes while the run waits
        first = &bench.Plug(a, "A");
        first->beforeWrite = [&](int n) {
            if (n == 5) {  // B and C come while A is under way, and wait their turn
                bench.Plug(b).beforeWrite = [&](int m) {
                    EXPECT_TRUE(m != 1 || first->writes == 114) << "B started before A was done";
                    if (m == 5) {  // A pulled out and plugged in again
                        bench.Unplug(a);
                        bench.Plug(a, "A");
                    }
                };
                bench.Plug(c);
                bench.listener->Arrived({b, ""});  // seen again: no new plug-in
            }
            if (n == 114 + 5)
                std::raise(SIGTERM);  // the unit under way is finished first
        };
    });
    QTimer watchdog;  // a lost unit would leave the run waiting
    watchdog.callOnTimeout([] { std::raise(SIGTERM); });
    watchdog.start(10000);

    const Provisioned p = Provision(bench, BackupWith("Puerta \xC3\xB1"), {"--pin", "1234"}, true);
    EXPECT_EQ(p.run.status, 0);
    EXPECT_EQ(p.run.out, "/dev/hidraw1 serial A: ok (T s)\n/dev/hidraw2: ok (T s)\n/dev/hidraw3: ok (T s)\n"
                         "/dev/hidraw1 serial A: ok (T s)\n4 units provisioned: 4 ok, 0 failed\n");
    EXPECT_TRUE(p.run.err.starts_with("plug in the next unit (Ctrl-C ends)\nprovision /dev/hidraw1: upload zone 1 of 2\n"))
        << p.run.err;
    EXPECT_EQ(first->writes, 2 * 114);
    for (const auto& [node, unit] : bench.units)
        EXPECT_EQ(std::string(unit.model.Memory().begin(), unit.model.Memory().begin() + 4), "1234") << node;
    EXPECT_EQ(p.log.count('\n'), 4);
    EXPECT_TRUE(p.log.split('\n').at(1).contains(R"("serial":null)")) << p.log.toStdString();
}

}  // namespace
