// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// provision against a bench of in-process units the test plugs in and pulls out.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <functional>
#include <future>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include "cli_harness.h"
#include "command_line/termination_signals.h"

#ifdef _WIN32
#include "command_line/windows/console_control.h"

// As the console calls the handler, but on this thread, so the run has it before it goes on.
static void Signal(int signal) { ConsoleControlHandler(signal == SIGTERM ? CTRL_BREAK_EVENT : CTRL_C_EVENT); }
// Only a console passes an event the handler declines on to the system, which ends the program;
// Wine makes no Ctrl-Break.
static void ConsoleSignal(int)
{
    [[maybe_unused]] static const bool own = (FreeConsole(), AllocConsole());
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
}
// As the console ends a program that takes no Ctrl-C: Wine's exit status is 0.
static auto EndedBy(int) { return [](int status) { return status == static_cast<int>(STATUS_CONTROL_C_EXIT) || status == 0; }; }
#else
static void Signal(int signal) { std::raise(signal); }
static void ConsoleSignal(int signal) { std::raise(signal); }
static auto EndedBy(int signal) { return testing::KilledBySignal(signal); }
#endif

namespace {

class BenchLibrary : public FaultyUnitLibrary {
public:
    using FaultyUnitLibrary::FaultyUnitLibrary;
    int writes = 0;
    std::function<void(int)> beforeWrite = [](int) {};  // given the write's number, from 1
    std::function<void()> detached = [] {};

    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    { return beforeWrite(++writes), FaultyUnitLibrary::WriteEx(vendorId, productId, report); }
    bool Disconnect() override { return detached(), FaultyUnitLibrary::Disconnect(); }
};

struct BenchUnit {
    AlarmUnitModel model;
    BenchLibrary library{model, PostToQueue(), false};
    std::string serial;
};

const std::string Prompt = "plug in the next unit (Ctrl-C ends)\n";

class Bench : public UnitSource, public UnitArrivals {
public:
    std::mutex mutex;  // units plug others in and wait on them from their own threads
    std::condition_variable changed;  // a link opened or let go
    std::map<std::string, BenchUnit> units;
    UnitArrivalListener* listener = nullptr;
    bool watching = true;  // false: units cannot be watched for
    std::function<void(int)> prompted = [](int) {};  // given the prompt's number, from 1
    const TempDir dir;
    const std::string log = Written(dir.FilePath("units.log"), "earlier\n");
    std::vector<std::ptrdiff_t> logged;  // the log's lines as each unit's turn came
    std::unique_ptr<HidLibrary> opened;  // set: every unit is opened as this one
    std::set<std::string> open;  // nodes whose link is held
    std::map<std::string, int> released;  // links let go, by node
    std::size_t mostAtOnce = 99, peak = 0;  // links open together: allowed, seen
    std::thread later;  // a signal raised while the run waits
    ~Bench() { if (later.joinable()) later.join(); }

    BenchLibrary& Plug(const std::string& node, const std::string& serial = {})
    {
        const std::lock_guard lock(mutex);
        BenchUnit& unit = units[node];
        unit.serial = serial, unit.library.Plug();
        if (listener != nullptr) listener->Arrived({node, serial});
        return unit.library;
    }
    void Unplug(const std::string& node)
    {
        const std::lock_guard lock(mutex);
        units.at(node).library.Unplug();
        if (listener != nullptr) listener->Left(node);
    }
    // On a unit's thread, until `done` holds (asked under the lock); a run that never lets it fails.
    void Await(const std::function<bool()>& done)
    {
        std::unique_lock lock(mutex);
        if (!changed.wait_for(lock, std::chrono::seconds(10), done)) ADD_FAILURE() << "waited in vain";
    }

    std::vector<ListedUnit> List() override { return {}; }
    std::shared_ptr<HidLibrary> Open(const std::string& node) override
    {
        const std::lock_guard lock(mutex);
        EXPECT_TRUE(open.insert(node).second) << node << " opened while still open";
        EXPECT_LE(open.size(), mostAtOnce) << node;
        peak = std::max(peak, open.size());
        logged.push_back(std::ranges::count(ReadAll(log), '\n')), changed.notify_all();
        return {opened != nullptr ? opened.get() : &units.at(node).library, [this, node](HidLibrary*) {
            const std::lock_guard lock(mutex);
            open.erase(node), ++released[node], changed.notify_all();
        }};
    }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
    bool Start(UnitArrivalListener& watcher) override
    {
        const std::lock_guard lock(mutex);
        if (!watching) return false;
        listener = &watcher;
        for (auto& [node, unit] : units) if (unit.library.Plugged()) watcher.Arrived({node, unit.serial});
        return true;
    }
    void Stop() override { const std::lock_guard lock(mutex); listener = nullptr; }
};

// Zone 1 takes 8 PIN reports and 52 more, zone 2 with an 8-character text 52
// and one read-back request each: 114 writes.
std::string BackupWith(const std::string& zone2Text)
{
    return R"({"format": "velbrix-qorun-backup", "version": 1, "operator": "AMENA", "zones": [
        {"zone": 2, "phone": "622000111", "text": ")" + zone2Text + R"("},
        {"zone": 1, "phone": "611222333", "text": "Zona uno"}]})";
}

auto Now() { return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now()); }
// "YYYY-MM-DDTHH:MM:SS.mmmZ" as a time; the epoch if it is not that.
std::chrono::sys_time<std::chrono::milliseconds> TimeOf(const std::string& time)
{
    int y, mo, d, h, mi, s, ms;
    if (std::sscanf(time.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &y, &mo, &d, &h, &mi, &s, &ms) != 7) return {};
    using namespace std::chrono;
    return sys_days{year{y} / mo / d} + hours{h} + minutes{mi} + seconds{s} + milliseconds{ms};
}

// A run left waiting fails, and is stopped.
struct Watchdog {
    std::promise<void> over;
    std::thread thread{[done = over.get_future()] {
        if (done.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) ADD_FAILURE() << "left waiting", Signal(SIGTERM);
    }};
    ~Watchdog() { over.set_value(), thread.join(); }
};

// Each record as its unit's line says it.
std::string AsLines(const std::string& log)
{
    std::string lines, line;
    for (std::istringstream records(log); std::getline(records, line);) {
        const nlohmann::json r = Json(line);
        std::string said = r.value("detail", "");
        for (const nlohmann::json& field : r["differing"]) said += (said.empty() ? "" : ", ") + field.value("field", "");
        lines += r.value("node", "") + (r["serial"].is_null() ? "" : " serial " + r.value("serial", "")) + ": " +
                 r.value("result", "") + (said.empty() ? "" : ": " + said) + " (T s)\n";
    }
    return lines;
}

struct WatchedErr : std::stringbuf {
    std::function<void(const std::string&)> flushed;
    int sync() override { return flushed(str()), 0; }
};

// The run, times in its lines as "T" and in `seconds`, and what it appended to the log.
struct Provisioned { CliRun run; std::string log, seconds; };

Provisioned Provision(Bench& bench, const std::string& file, const Args& arguments, bool progress = false)
{
    std::ostringstream out;
    WatchedErr errBuffer;
    std::ostream err(&errBuffer);
    errBuffer.flushed = [&bench, prompts = 0](const std::string& text) mutable { if (text.ends_with(Prompt)) bench.prompted(++prompts); };
    ReadBackTimings timings = ShortTimings;
    timings.unplugNotice = std::chrono::milliseconds(50);
    CommandContext context{bench, out, err, progress, timings, &bench};
    Watchdog watchdog;
    const Args all = Args{"velbrix-qorun-cli", "provision", Written(bench.dir.FilePath("unit.json"), file), "--log", bench.log} +
                     arguments;
    const int status = RunCommandLine(all, context);
    static const std::regex time(R"(\((\d+\.\d) s\)\n)");
    const std::string lines = out.str(), shown = std::regex_replace(lines, time, "(T s)\n");
    std::smatch first;  // the first unit's
    const std::string logged = ReadAll(bench.log), appended = logged.substr(std::min<std::size_t>(8, logged.size()));
    EXPECT_TRUE(logged.starts_with("earlier\n"));  // appended to, not replaced
    EXPECT_EQ(AsLines(appended), std::regex_replace(shown, std::regex(".* provisioned: .*\n"), ""));  // in the same order
    EXPECT_TRUE(bench.open.empty());  // every link let go
    return {{status, shown, errBuffer.str()}, appended, std::regex_search(lines, first, time) ? first.str(1) : ""};
}

struct UnitCase {
    const char* name;
    void (*fault)(BenchLibrary&);
    int status;
    std::string result;  // as the line has it after the node
    int reports;
    std::string zone2Text = "Puerta \xC3\xB1";
    std::vector<std::array<std::string, 3>> differing = {};  // field, file's value, unit's
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
    BenchLibrary& library = bench.Plug("/dev/hidraw7", "SN-\xC3\xB1");
    c.fault(library);
    std::ptrdiff_t loggedWhenDetached = 0;
    library.detached = [&] { loggedWhenDetached = std::ranges::count(ReadAll(bench.log), '\n'); };
    const auto started = Now();
    const Provisioned p = Provision(bench, BackupWith(c.zone2Text), {"--pin", "1234", "--count", "1"});
    const bool ok = c.status == 0;
    EXPECT_EQ(p.run, (CliRun{c.status, "/dev/hidraw7 serial SN-\xC3\xB1: " + c.result + " (T s)\n" +
                                           "1 unit provisioned: " + (ok ? "1 ok, 0 failed\n" : "0 ok, 1 failed\n"), ""}));
    nlohmann::json record = Json(p.log);
    const std::string time = record.value("time", "");
    EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d\d\dZ)"))) << time;
    EXPECT_TRUE(started <= TimeOf(time) && TimeOf(time) <= Now()) << time;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", record.value("seconds", 0.0));
    EXPECT_EQ(seconds, p.seconds);
    nlohmann::json differing = nlohmann::json::array();
    for (const auto& [field, file, unit] : c.differing)
        differing.push_back({{"field", field}, {"file", file}, {"unit", unit}});
    const std::size_t detail = c.result.find(": ");
    const nlohmann::json expected{{"time", time}, {"seconds", record["seconds"]}, {"node", "/dev/hidraw7"}, {"serial", "SN-\u00F1"},
                                  {"result", c.result.substr(0, c.result.find(':'))}, {"differing", differing}, {"reports", c.reports},
                                  {"detail", c.differing.empty() && detail != std::string::npos ? c.result.substr(detail + 2) : ""}};
    EXPECT_EQ(record, expected);
    EXPECT_NE(p.log.find("\"SN-\xC3\xB1\""), std::string::npos);
    EXPECT_EQ(loggedWhenDetached, 2);  // its record out before its link's teardown
}

INSTANTIATE_TEST_SUITE_P(Provision, EachUnit, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<UnitCase>& info) { return info.param.name; });

TEST(ProvisionQueue, ServesUnitsInTurnOncePerPlugInAndPromptsForEachNext)
{
    Bench bench;
    const std::string a = "/dev/hidraw1", b = "/dev/hidraw2", c = "/dev/hidraw3";
    bench.prompted = [&](int prompt) {
        if (prompt > 1)  // all served
            return (void)Signal(SIGTERM);
        bench.Plug(a, "A").beforeWrite = [&](int n) {
            if (n != 5) return;
            // B and C come while A is under way and wait their turn; during B, A is pulled out and plugged in again.
            bench.Plug(b).beforeWrite = [&](int m) { if (m == 5) bench.Unplug(a), bench.Plug(a, "A"); };
            bench.Plug(c), bench.listener->Arrived({b, ""});  // B seen again: no new plug-in
        };
    };
    const Provisioned p = Provision(bench, BackupWith("Puerta \xC3\xB1"), {"--pin", "1234", "--parallel", "1"}, true);
    EXPECT_EQ(p.run.out, "/dev/hidraw1 serial A: ok (T s)\n/dev/hidraw2: ok (T s)\n/dev/hidraw3: ok (T s)\n"
                         "/dev/hidraw1 serial A: ok (T s)\n4 units provisioned: 4 ok, 0 failed\n");
    std::string steps;
    for (const std::string& node : {a, b, c, a})
        for (const char* step : {"upload zone 1", "upload zone 2", "verify zone 1", "verify zone 2"})
            steps += "provision " + node + ": " + step + " of 2\n";
    EXPECT_EQ(p.run.err, Prompt + steps + Prompt);
    EXPECT_EQ(bench.logged, (std::vector<std::ptrdiff_t>{1, 2, 3, 4}));  // each record on disk before the next unit
}

struct RunEnd {
    const char* name;
    bool progress;  // standard error is a terminal
    std::function<void(Bench&)> setUp;
    CliRun expected;
    Args arguments = {};
    std::string file = BackupWith("a");
};

const std::string NoneServed = "0 units provisioned: 0 ok, 0 failed\n";
const std::string A = "/dev/hidraw1", B = "/dev/hidraw2", C = "/dev/hidraw3", Ok = ": ok (T s)\n";
// In a hook: waits until `node`'s turn has ended.
void AwaitEnd(Bench& b, const std::string& node) { b.Await([&] { return b.released[node] > 0; }); }

const RunEnd RunEnds[] = {
    {"CtrlCWhileWaitingForAUnit", true, [](Bench& b) { b.prompted = [](int) { Signal(SIGINT); }; }, {0, NoneServed, Prompt}},
    {"SigtermWhileWaitingNotOnATerminalWhereNothingPrompts", false, [](Bench& b) {
         b.later = std::thread([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)), Signal(SIGTERM); });
     }, {0, NoneServed, ""}},
    {"CtrlCWhileUnitsWaitTheirTurnEndsAfterTheUnitUnderWay", false, [](Bench& b) {
         b.Plug(A).beforeWrite = [&b](int n) { if (n == 5) b.Plug(B), b.Plug(C), Signal(SIGINT); };
     }, {0, A + Ok + "1 unit provisioned: 1 ok, 0 failed\n", ""}, {"--parallel", "1"}},
    {"CtrlCLetsEveryUnitUnderWayFinishAndStartsNoOther", false, [](Bench& b) {
         b.Plug(A).beforeWrite = [&b](int n) { if (n == 5) b.Await([&b] { return b.open.contains(B); }), Signal(SIGINT); };
         b.Plug(B).beforeWrite = [&b](int n) { if (n == 1) AwaitEnd(b, A); };
         b.Plug(C);
     }, {0, A + Ok + B + Ok + "2 units provisioned: 2 ok, 0 failed\n", ""}, {"--parallel", "2"}},
    // Each held in a hook until the one before it has ended: the ok unit is held up by neither.
    {"UnitsSideBySideEachEndWithTheirOwnOutcome", false, [](Bench& b) {
         BenchLibrary &pulled = b.Plug(A), &silent = b.Plug(B);
         pulled.unplugAfterWrites = 3, pulled.beforeWrite = [&b](int n) { if (n == 4) AwaitEnd(b, C); };
         silent.silent = true, silent.beforeWrite = [&b](int n) { if (n == 1) AwaitEnd(b, A); };
         b.Plug(C);
     }, {4, C + Ok + A + ": interrupted: unplugged after 3 reports; plug it in again to provision it whole (T s)\n" + B +
                ": no answer: no answer from the unit within 200 ms after asking for zone 1 (T s)\n3 units provisioned: 1 ok, 2 failed\n",
         ""}, {"--count", "3"}},
    // Each holds its first write until all eight are open, then ends after the one before it.
    {"EightUnitsAtOnceWithoutALimit", false, [](Bench& b) {
         for (int i = 1; i <= 8; ++i)
             b.Plug("/dev/hidraw" + std::to_string(i)).beforeWrite = [&b, i](int n) {
                 if (n == 1) b.Await([&b] { return b.peak == 8; }), i > 1 ? AwaitEnd(b, "/dev/hidraw" + std::to_string(i - 1)) : void();
             };
     }, {0, A + Ok + B + Ok + C + Ok + "/dev/hidraw4" + Ok + "/dev/hidraw5" + Ok + "/dev/hidraw6" + Ok + "/dev/hidraw7" + Ok +
                "/dev/hidraw8" + Ok + "8 units provisioned: 8 ok, 0 failed\n", ""}, {"--count", "8"}},
    {"CountTakesInTheUnitsUnderWayAndTheirEndsInAnyOrder", false, [](Bench& b) {
         b.Plug(A).beforeWrite = [&b](int n) { if (n == 1) AwaitEnd(b, B); };
         b.Plug(B), b.Plug(C);
     }, {0, B + Ok + A + Ok + "2 units provisioned: 2 ok, 0 failed\n", ""}, {"--count", "2"}},
    {"ParallelCapsTheUnitsAtOnceTheNextWaitsForAFreeSlot", false, [](Bench& b) {
         b.mostAtOnce = 2;
         b.Plug(A).beforeWrite = [&b](int n) { if (n == 1) AwaitEnd(b, B); };
         b.Plug(B);
         b.Plug(C).beforeWrite = [&b](int n) { if (n == 1) AwaitEnd(b, A); };
     }, {0, B + Ok + A + Ok + C + Ok + "3 units provisioned: 3 ok, 0 failed\n", ""}, {"--count", "3", "--parallel", "2"}},
    // Its old turn refuses the write after the replug and ends once B, plugged in after it, has ended.
    {"APlugInAtANodeStillUnderWayWaitsForItsOldTurnToEnd", false, [](Bench& b) {
         BenchLibrary& replugged = b.Plug(A);
         replugged.beforeWrite = [&b, &replugged](int n) {
             replugged.refuseAfterWrites = n == 5 ? 0 : -1;
             if (n == 5) b.Unplug(A), b.Plug(A), b.Plug(B), AwaitEnd(b, B);
         };
     }, {4, B + Ok + A + ": interrupted: unplugged after 4 reports; plug it in again to provision it whole (T s)\n" + A + Ok +
                "3 units provisioned: 2 ok, 1 failed\n", ""}, {"--count", "3"}},
    {"AUnitPluggedInWhileTheRunWaitsIsServed", false, [](Bench& b) {
         b.units[A].library.beforeWrite = [](int n) { if (n == 1) Signal(SIGTERM); };
         b.later = std::thread([&b] { std::this_thread::sleep_for(std::chrono::milliseconds(100)), b.Plug(A); });
     }, {0, A + Ok + "1 unit provisioned: 1 ok, 0 failed\n", ""}},
    {"VerifyWaitsOutAPauseInsideAnAnswerStillShortOfTheFile", false, [](Bench& b) {
         auto paced = std::make_unique<PacedUnit>(b.units[A].model);
         paced->pacing = {.pauseAfter = 9, .pause = 120}, b.opened = std::move(paced), b.Plug(A);  // inside zone 1's phone
     }, {0, A + Ok + "1 unit provisioned: 1 ok, 0 failed\n", ""}, {"--count", "1"}},
    {"VerifyTellsAPulledUnitTheZoneItWasReadingByItsNumberNotItsPlace", false, [](Bench& b) {
         b.Plug(A).unplugAfterReads = 1;  // during zone 3's answer
     }, {4, A + ": interrupted: unplugged after 22 reports (while zone 3 was read back); plug it in again to provision it whole "
                "(T s)\n1 unit provisioned: 0 ok, 1 failed\n", ""}, {"--count", "1"},
     R"({"format": "velbrix-qorun-backup", "version": 2, "operator": "AMENA", "zones": [{"zone": 3, "phone": "3", "text": "c"}]})"},
    {"UnitsCannotBeWatchedFor", true, [](Bench& b) { b.watching = false; },
     {3, "", "velbrix-qorun-cli: cannot watch for units being plugged in\n"}},
};

class ProvisionRun : public testing::TestWithParam<RunEnd> {};

TEST_P(ProvisionRun, EndsWithItsStatusAndSaysSo)
{
    Bench bench;
    GetParam().setUp(bench);
    EXPECT_EQ(Provision(bench, GetParam().file, GetParam().arguments, GetParam().progress).run, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Each, ProvisionRun, testing::ValuesIn(RunEnds),
                         [](const testing::TestParamInfo<RunEnd>& info) { return info.param.name; });

TEST(TerminationSignals, ASecondSignalEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int signal : {SIGINT, SIGTERM})
        EXPECT_EXIT({
            const TerminationSignals termination([] {});
            Signal(signal);
            ConsoleSignal(signal);
            std::this_thread::sleep_for(std::chrono::seconds(10));  // the console's thread may lag
            std::exit(1);
        }, EndedBy(signal), "") << signal;
}

}  // namespace
