// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// provision against a bench of in-process units the test plugs in and pulls out.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <thread>
#include <functional>
#include <map>

#include "cli_harness.h"
#include "command_line/termination_signals.h"

namespace {

class BenchLibrary : public FaultyUnitLibrary {
public:
    using FaultyUnitLibrary::FaultyUnitLibrary;
    int writes = 0;
    std::function<void(int)> beforeWrite = [](int) {};  // given the write's number, from 1

    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    { return beforeWrite(++writes), FaultyUnitLibrary::WriteEx(vendorId, productId, report); }
};

struct BenchUnit {
    AlarmUnitModel model;
    BenchLibrary library{model, PostToQueue(), false};
    std::string serial;
};

const std::string Prompt = "plug in the next unit (Ctrl-C ends)\n";

class Bench : public UnitSource, public UnitArrivals {
public:
    std::map<std::string, BenchUnit> units;
    UnitArrivalListener* listener = nullptr;
    bool watching = true;  // false: units cannot be watched for
    std::function<void(int)> prompted = [](int) {};  // given the prompt's number, from 1
    QTemporaryDir dir;
    const QString log = Written(dir.filePath("units.log"), "earlier\n");
    std::vector<qsizetype> logged;  // the log's lines as each unit's turn came
    HidLibrary* opened = nullptr;    // set: every unit is opened as this one
    std::thread later;  // a signal raised while the run waits
    ~Bench() { if (later.joinable()) later.join(); }

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
    HidLibrary& Open(const std::string& node) override
    { return logged.push_back(ReadAll(log).count('\n')), opened != nullptr ? *opened : units.at(node).library; }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
    bool Start(UnitArrivalListener& watcher) override
    {
        if (!watching) return false;
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

// A run left waiting fails, and is stopped.
class Watchdog {
public:
    Watchdog() : thread_([this] {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, std::chrono::seconds(20), [this] { return over_; }))
            ADD_FAILURE() << "left waiting", std::raise(SIGTERM);
    }) {}
    ~Watchdog() { { const std::lock_guard lock(mutex_); over_ = true; } done_.notify_one(); thread_.join(); }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool over_ = false;
    std::thread thread_;
};

struct WatchedErr : std::stringbuf {
    std::function<void(const std::string&)> flushed;
    int sync() override { return flushed(str()), 0; }
};

// The run, times in its lines as "T" and in `seconds`, and what it appended to the log.
struct Provisioned { CliRun run; QByteArray log; QString seconds; };

Provisioned Provision(Bench& bench, const QByteArray& file, const QStringList& arguments, bool progress = false)
{
    std::ostringstream out;
    WatchedErr errBuffer;
    std::ostream err(&errBuffer);
    errBuffer.flushed = [&bench, prompts = 0](const std::string& text) mutable { if (text.ends_with(Prompt)) bench.prompted(++prompts); };
    ReadBackTimings timings = ShortTimings;
    timings.unplugNotice = std::chrono::milliseconds(50);
    CommandContext context{bench, out, err, progress, timings, &bench};
    Watchdog watchdog;
    std::vector<std::string> all{"velbrix-qorun-cli", "provision", Written(bench.dir.filePath("unit.json"), file).toStdString(),
                                 "--log", bench.log.toStdString()};
    for (const QString& argument : arguments)
        all.push_back(argument.toStdString());
    const int status = RunCommandLine(all, context);
    static const QRegularExpression time(R"(\((\d+\.\d) s\)\n)");
    QString lines = QString::fromStdString(out.str());
    const QString seconds = time.match(lines).captured(1);  // the first unit's
    const QByteArray logged = ReadAll(bench.log);
    EXPECT_TRUE(logged.startsWith("earlier\n"));  // appended to, not replaced
    return {{status, lines.replace(time, "(T s)\n").toStdString(), errBuffer.str()}, logged.mid(8), seconds};
}

struct UnitCase {
    const char* name;
    void (*fault)(BenchLibrary&);
    int status;
    const char* result;  // as the line has it after the node
    int reports;
    QByteArray zone2Text = "Puerta \xC3\xB1";
    std::vector<std::array<QString, 3>> differing = {};  // field, file's value, unit's
};

const UnitCase Cases[] = {
    {"Ok", [](BenchLibrary&) {}, 0, "ok", 112},
    {"DiffersWhereTheUnitCannotHoldTheEuroSign", [](BenchLibrary&) {}, 4, "differs: zone 2 text", 112,
     "Puerta \xE2\x82\xAC", {{"zone 2 text", "Puerta \u20AC", "Puerta  "}}},
    // The file is version 1: its newline is a line break, CR LF.
    {"DiffersInPhoneAndText", [](BenchLibrary& l) { l.altered = {75, 85}; }, 4, "differs: zone 2 phone, zone 2 text", 112,
     "Puert\\n\xC3\xB1", {{"zone 2 phone", "622000111", "X22000111"}, {"zone 2 text", "Puert\r\n\u00F1", "Xuert\r\n\u00F1"}}},
    {"InterruptedWhenPulledOut", [](BenchLibrary& l) { l.unplugAfterWrites = 70; }, 4,
     "interrupted: unplugged after 70 reports; plug it in again to provision it whole", 70},
    {"InterruptedWhenPulledOutDuringTheReadBack", [](BenchLibrary& l) { l.unplugAfterWrites = 112; }, 4,
     "interrupted: unplugged after 112 reports (while zone 1 was read back); plug it in again to provision it whole", 112},
    {"InterruptedWhenTheUnplugIsLearnedAMomentAfterTheRefusedWrite",
     [](BenchLibrary& l) { l.refuseAfterWrites = 30, l.unplugNoticedAfter = 3; }, 4,
     "interrupted: unplugged after 30 reports; plug it in again to provision it whole", 30},
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
    const QDateTime started = QDateTime::currentDateTimeUtc();
    const Provisioned p = Provision(bench, BackupWith(c.zone2Text), {"--pin", "1234", "--count", "1"});
    const bool ok = c.status == 0;
    EXPECT_EQ(p.run, (CliRun{c.status, std::string("/dev/hidraw7 serial SN-\xC3\xB1: ") + c.result + " (T s)\n" +
                                           "1 unit provisioned: " + (ok ? "1 ok, 0 failed\n" : "0 ok, 1 failed\n"), ""}));

    ASSERT_EQ(p.log.count('\n'), 1) << p.log.toStdString();
    QJsonObject record = QJsonDocument::fromJson(p.log).object();
    const QString time = record.take("time").toString();
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d\d\dZ$)").match(time).hasMatch()) << time.toStdString();
    const QDateTime done = QDateTime::fromString(time, Qt::ISODateWithMs);
    EXPECT_TRUE(started <= done && done <= QDateTime::currentDateTimeUtc()) << time.toStdString();
    EXPECT_EQ(QString::number(record.take("seconds").toDouble(), 'f', 1), p.seconds);
    QJsonArray differing;
    for (const auto& [field, file, unit] : c.differing)
        differing.append(QJsonObject{{"field", field}, {"file", file}, {"unit", unit}});
    const QString line = QString::fromUtf8(c.result);
    const QJsonObject expected{{"node", "/dev/hidraw7"}, {"serial", "SN-\u00F1"}, {"result", line.section(':', 0, 0)},
                               {"differing", differing}, {"reports", c.reports},
                               {"detail", c.differing.empty() ? line.section(": ", 1) : QString()}};
    EXPECT_EQ(QJsonDocument(record).toJson(), QJsonDocument(expected).toJson());
    EXPECT_TRUE(p.log.contains("\"SN-\xC3\xB1\""));
}

INSTANTIATE_TEST_SUITE_P(Provision, EachUnit, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<UnitCase>& info) { return info.param.name; });

TEST(ProvisionVerify, WaitsOutAPauseInsideAnAnswerStillShortOfTheFile)
{
    Bench bench;
    AlarmUnitModel model;
    PacedUnit paced(model);
    paced.pacing = {.pauseAfter = 9, .pause = 120};  // inside zone 1's phone
    bench.opened = &paced;
    bench.Plug("/dev/hidraw7");
    const Provisioned p = Provision(bench, BackupWith("Puerta"), {"--count", "1"});
    EXPECT_EQ(p.run, (CliRun{0, "/dev/hidraw7: ok (T s)\n1 unit provisioned: 1 ok, 0 failed\n", ""}));
}

TEST(ProvisionVerify, APulledUnitIsToldTheZoneItWasReadingByItsNumberNotItsPlace)
{
    Bench bench;
    bench.Plug("/dev/hidraw7").unplugAfterReads = 1;  // during zone 3's answer
    const Provisioned p = Provision(bench, R"({"format": "velbrix-qorun-backup", "version": 2, "operator": "AMENA",
        "zones": [{"zone": 3, "phone": "3", "text": "c"}]})", {"--count", "1"});
    EXPECT_EQ(p.run, (CliRun{4, "/dev/hidraw7: interrupted: unplugged after 22 reports (while zone 3 was read back); "
                                "plug it in again to provision it whole (T s)\n1 unit provisioned: 0 ok, 1 failed\n", ""}));
}

TEST(ProvisionQueue, ServesUnitsInTurnOncePerPlugInAndPromptsForEachNext)
{
    Bench bench;
    const std::string a = "/dev/hidraw1", b = "/dev/hidraw2", c = "/dev/hidraw3";
    bench.prompted = [&](int prompt) {
        if (prompt > 1)  // all served
            return (void)std::raise(SIGTERM);
        bench.Plug(a, "A").beforeWrite = [&](int n) {
            if (n != 5)
                return;
            // B and C come while A is under way, and wait their turn.
            bench.Plug(b).beforeWrite = [&](int m) {
                if (m == 5) {  // A pulled out and plugged in again
                    bench.Unplug(a);
                    bench.Plug(a, "A");
                }
            };
            bench.Plug(c);
            bench.listener->Arrived({b, ""});  // seen again: no new plug-in
        };
    };
    const Provisioned p = Provision(bench, BackupWith("Puerta \xC3\xB1"), {"--pin", "1234"}, true);
    EXPECT_EQ(p.run.out, "/dev/hidraw1 serial A: ok (T s)\n/dev/hidraw2: ok (T s)\n/dev/hidraw3: ok (T s)\n"
                         "/dev/hidraw1 serial A: ok (T s)\n4 units provisioned: 4 ok, 0 failed\n");
    std::string steps;
    for (const std::string& node : {a, b, c, a})
        for (const char* step : {"upload zone 1", "upload zone 2", "verify zone 1", "verify zone 2"})
            steps += "provision " + node + ": " + step + " of 2\n";
    EXPECT_EQ(p.run.err, Prompt + steps + Prompt);
    EXPECT_EQ(bench.logged, (std::vector<qsizetype>{1, 2, 3, 4}));  // each record on disk before the next unit
    EXPECT_EQ(p.log.count('\n'), 4);
    EXPECT_TRUE(p.log.split('\n').at(1).contains(R"("serial":null)")) << p.log.toStdString();
}

struct RunEnd {
    const char* name;
    bool progress;  // standard error is a terminal
    std::function<void(Bench&)> setUp;
    CliRun expected;
};

const std::string NoneServed = "0 units provisioned: 0 ok, 0 failed\n";
const RunEnd RunEnds[] = {
    {"CtrlCWhileWaitingForAUnit", true, [](Bench& b) { b.prompted = [](int) { std::raise(SIGINT); }; }, {0, NoneServed, Prompt}},
    {"SigtermWhileWaitingNotOnATerminalWhereNothingPrompts", false, [](Bench& b) {
         b.later = std::thread([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)), std::raise(SIGTERM); });
     }, {0, NoneServed, ""}},
    {"CtrlCWhileUnitsWaitTheirTurnEndsAfterTheUnitUnderWay", false, [](Bench& b) {
         b.Plug("/dev/hidraw1").beforeWrite = [&b](int n) {
             if (n == 5)
                 b.Plug("/dev/hidraw2"), b.Plug("/dev/hidraw3"), std::raise(SIGINT);
         };
     }, {0, "/dev/hidraw1: ok (T s)\n1 unit provisioned: 1 ok, 0 failed\n", ""}},
    {"UnitsCannotBeWatchedFor", true, [](Bench& b) { b.watching = false; },
     {3, "", "velbrix-qorun-cli: cannot watch for units being plugged in\n"}},
};

class ProvisionRun : public testing::TestWithParam<RunEnd> {};

TEST_P(ProvisionRun, EndsWithItsStatusAndSaysSo)
{
    Bench bench;
    GetParam().setUp(bench);
    EXPECT_EQ(Provision(bench, BackupWith("a"), {}, GetParam().progress).run, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Each, ProvisionRun, testing::ValuesIn(RunEnds),
                         [](const testing::TestParamInfo<RunEnd>& info) { return info.param.name; });

TEST(TerminationSignals, ASecondSignalEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int signal : {SIGINT, SIGTERM})
        EXPECT_EXIT({
            const TerminationSignals termination([] {});
            std::raise(signal);
            std::raise(signal);
            std::exit(0);
        }, testing::KilledBySignal(signal), "") << signal;
}

}  // namespace
