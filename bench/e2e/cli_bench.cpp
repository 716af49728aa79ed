// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_bench.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

#include "command_line/connected_unit.h"
#include "protocol/report_layout.h"
#include "figures.h"
#include "tool_session.h"
#include "virtual_unit/gadget_unit.h"

namespace {

// Full areas: 9-digit service centre and phone, 49-character text.
constexpr int ZoneCount = 4;
constexpr int PhoneLength = 9;
constexpr int TextLength = 49;
constexpr int AnswerReports = 9 + PhoneLength + TextLength;
// A restore sends the PIN once and, per zone, service centre, phone and
// text, two reports per UTF-16 unit.
constexpr int RestoreReports = 2 * 4 + ZoneCount * 2 * (9 + PhoneLength + TextLength);
// Units plugged in together: one per dummy_hcd controller the guest has.
constexpr int GangSize = 4;

void Start(QProcess& process, const QStringList& cli, const QStringList& arguments) {
    process.start(cli[0], cli.mid(1) + arguments);
}

double TimedRun(const QStringList& cli, const QStringList& arguments, bool& ok) {
    QProcess process;
    const auto start = Clock::now();
    Start(process, cli, arguments);
    ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const double ms = Ms(Clock::now() - start);
    if (!ok)
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
    return ms;
}

struct ProvisionTimes {
    double whole;    // from the plug-ins to the run's end
    double serving;  // the slowest unit's own time in the log, from its arrival
};

// Medians from plugging in `units` (all pulled out first) to the end of a
// `provision --count` run that served each of them ok; nothing on a failure.
std::optional<ProvisionTimes> TimedProvision(const QStringList& cli, const QString& file,
                                             const std::vector<GadgetUnit*>& units, int runs,
                                             std::chrono::milliseconds startUp) {
    const QString log = file + ".log";
    std::vector<double> times, serving;
    const int count = static_cast<int>(units.size());
    for (int run = 0; run <= runs; ++run) {
        for (GadgetUnit* unit : units) unit->Remove();
        QFile::remove(log);
        QProcess bench;
        Start(bench, cli, {"provision", file, "--pin", "1234", "--count", QString::number(count), "--log", log});
        std::this_thread::sleep_for(startUp);  // started and waiting
        const auto start = Clock::now();
        for (GadgetUnit* unit : units)
            if (!unit->Create()) return std::fprintf(stderr, "no gadget unit: %s\n", unit->Error().c_str()), std::nullopt;
        const bool ended = bench.waitForFinished(120000);
        const bool done = ended && bench.exitCode() == 0;
        const double ms = Ms(Clock::now() - start);
        const QByteArray lines = bench.readAllStandardOutput();
        if (!done || lines.count(": ok (") != count) {
            std::fprintf(stderr, "provision of %d units failed (%s): %s%s\n", count, ended ? "ended" : "still running",
                         lines.constData(), bench.readAllStandardError().constData());
            return std::nullopt;
        }
        double slowest = 0;
        QFile records(log);
        if (records.open(QIODevice::ReadOnly))
            for (const QByteArray& line : records.readAll().split('\n'))
                if (!line.isEmpty())
                    slowest = std::max(slowest, 1000 * QJsonDocument::fromJson(line)["seconds"].toDouble());
        if (run > 0) times.push_back(ms), serving.push_back(slowest);
    }
    return ProvisionTimes{Median(times), Median(serving)};
}

}  // namespace

bool BenchCommandLine(const QStringList& cli, const BareOpener& openBare, int runs, std::chrono::milliseconds startUp) {
    GadgetUnit unit;
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre("656000311");
        for (int zone = 1; zone <= ZoneCount; ++zone)
            model.StoreZone(zone, std::string(PhoneLength, char('0' + zone)), std::string(TextLength, char('a' + zone)));
    });
    if (!unit.Create() || !WaitUntil([&] { return !unit.HidrawNode().empty() && GadgetUnit::UdevIdle(); })) {
        std::fprintf(stderr, "no gadget unit for the command line: %s\n", unit.Error().c_str());
        return false;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath("unit.json");

    // The same reports through bare hidapi calls on the same unit: what the
    // bus itself takes for them.
    std::vector<double> bareBackup, bareRestore;
    {
        const std::unique_ptr<BareLoops> opened = openBare(unit);
        if (!opened) return std::fprintf(stderr, "cannot open the unit for the bare loops\n"), false;
        BareLoops& bare = *opened;
        for (int run = 0; run <= runs; ++run) {
            auto start = Clock::now();
            for (int zone = 1; zone <= ZoneCount; ++zone)
                if (bare.ReadBack(zone, AnswerReports) != AnswerReports)
                    return std::fprintf(stderr, "bare read-back of zone %d came short\n", zone), false;
            if (run > 0) bareBackup.push_back(Ms(Clock::now() - start));
            start = Clock::now();
            // At the highest address, in no field: the stored zones stay.
            if (bare.WriteAll(RestoreReports, HighestAddress) != RestoreReports)
                return std::fprintf(stderr, "bare writes refused\n"), false;
            if (run > 0) bareRestore.push_back(Ms(Clock::now() - start));
        }
    }

    std::vector<double> backup, restore;
    bool ok = true;
    // Run 0 warms up; not counted.
    for (int run = 0; run <= runs && ok; ++run) {
        const double ms = TimedRun(cli, {"backup", file}, ok);
        if (run > 0) backup.push_back(ms);
    }
    for (int run = 0; run <= runs && ok; ++run) {
        unit.ClearLog();
        const double ms = TimedRun(cli, {"restore", file, "--pin", "1234"}, ok);
        if (ok && unit.LogSize() != RestoreReports) {
            std::fprintf(stderr, "restore sent %zu reports, not %d\n", unit.LogSize(), RestoreReports);
            ok = false;
        }
        if (run > 0) restore.push_back(ms);
    }
    if (!ok)
        return false;

    const int quietMs = static_cast<int>(ReadBackTimings{}.quiet.count());
    const double backupWire = Median(bareBackup), restoreWire = Median(bareRestore);
    std::printf("velbrix-qorun-cli, whole program runs (start, enumerate, open, exit included):\n");
    std::printf("%-34s cli %8.2f ms   bare loops %8.2f ms   ratio %.2f"
                "   (the %d zones' quiet ends, %d ms at least, are %d ms of it or more)\n",
                "backup, 4 full zones:", Median(backup), backupWire, Median(backup) / backupWire, ZoneCount,
                quietMs, ZoneCount * quietMs);
    std::printf("restore, full file (%d reports):   cli %8.2f ms   bare loop  %8.2f ms   ratio %.2f\n",
                RestoreReports, Median(restore), restoreWire, Median(restore) / restoreWire);
    std::printf("bus pace: %.2f output reports/ms written, %.2f input reports/ms read\n",
                RestoreReports / restoreWire, ZoneCount * AnswerReports / backupWire);

    // provision: from the unit's plug-in to its line, against its restore
    // and verify through the bare loops.
    const std::optional<ProvisionTimes> provision = TimedProvision(cli, file, {&unit}, runs, startUp);
    if (!provision)
        return false;
    const double bareProvision = restoreWire + backupWire;
    std::printf("provision, plug-in to line:        cli %8.2f ms   bare loops %8.2f ms   ratio %.2f"
                "   (arrival, restore and verify of the full file)\n",
                provision->whole, bareProvision, provision->whole / bareProvision);
    std::printf("  of which from arrival to line:       %8.2f ms                         ratio %.2f\n",
                provision->serving, provision->serving / bareProvision);

    // A hub's worth plugged in at once, each on a controller of its own:
    // from the plug-ins to the last unit's line, against one unit alone.
    GadgetUnit others[GangSize - 1];
    std::vector<GadgetUnit*> gang{&unit};
    for (GadgetUnit& other : others) gang.push_back(&other);
    const std::optional<ProvisionTimes> together = TimedProvision(cli, file, gang, runs, startUp);
    if (!together)
        return false;
    std::printf("provision, %d units at once:        cli %8.2f ms   one unit alone %8.2f ms   ratio %.2f"
                "   (slowest unit from its arrival %.2f ms)\n",
                GangSize, together->whole, provision->whole, together->whole / provision->whole, together->serving);

    // What the guest itself allows: the bare loops on all of them at once,
    // against one unit's, each unit's restore and backup on its own thread.
    std::vector<double> bareTogether;
    for (int run = 0; run <= runs; ++run) {
        std::vector<std::unique_ptr<BareLoops>> opened;
        for (GadgetUnit* member : gang)
            if (!opened.emplace_back(openBare(*member))) return std::fprintf(stderr, "cannot open a unit bare\n"), false;
        std::atomic<bool> whole{true};
        const auto start = Clock::now();
        std::vector<std::thread> loops;
        for (const auto& bare : opened)
            loops.emplace_back([&whole, loop = bare.get()] {
                if (loop->WriteAll(RestoreReports, HighestAddress) != RestoreReports) whole = false;
                for (int zone = 1; zone <= ZoneCount; ++zone)
                    if (loop->ReadBack(zone, AnswerReports) != AnswerReports) whole = false;
            });
        for (std::thread& loop : loops) loop.join();
        if (!whole) return std::fprintf(stderr, "bare loops of %d units at once came short\n", GangSize), false;
        if (run > 0) bareTogether.push_back(Ms(Clock::now() - start));
    }
    std::printf("bare loops, %d units at once:      %8.2f ms   one unit's bare loops %8.2f ms   ratio %.2f"
                "   (the guest's own limit)\n",
                GangSize, Median(bareTogether), bareProvision, Median(bareTogether) / bareProvision);
    return true;
}
