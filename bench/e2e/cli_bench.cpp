// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_bench.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "command_line/connected_unit.h"
#include "protocol/report_layout.h"
#include "tool_session.h"
#include "bare_hidraw.h"
#include "virtual_unit/gadget_unit.h"

namespace {

using Clock = std::chrono::steady_clock;

// Full areas: 9-digit service centre and phone, 49-character text.
constexpr int ZoneCount = 4;
constexpr int PhoneLength = 9;
constexpr int TextLength = 49;
constexpr int AnswerReports = 9 + PhoneLength + TextLength;
// A restore sends the PIN once and, per zone, service centre, phone and
// text, two reports per UTF-16 unit.
constexpr int RestoreReports = 2 * 4 + ZoneCount * 2 * (9 + PhoneLength + TextLength);

double TimedRun(const QString& cli, const QStringList& arguments, bool& ok) {
    QProcess process;
    const auto start = Clock::now();
    process.start(cli, arguments);
    ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!ok)
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

bool BenchCommandLine(const std::string& cliPath, int runs) {
    GadgetUnit unit;
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre("656000311");
        for (int zone = 1; zone <= ZoneCount; ++zone)
            model.StoreZone(zone, std::string(PhoneLength, char('0' + zone)), std::string(TextLength, char('a' + zone)));
    });
    if (!unit.Create() || !WaitUntil([&] { return !unit.HidrawNode().empty(); })) {
        std::fprintf(stderr, "no gadget unit for the command line: %s\n", unit.Error().c_str());
        return false;
    }
    const QString cli = QString::fromStdString(cliPath);
    const QString device = QString::fromStdString(unit.HidrawNode());
    QTemporaryDir dir;
    const QString file = dir.filePath("unit.json");

    // The same reports through bare hidapi calls on the same node: what the
    // bus itself takes for them.
    std::vector<double> bareBackup, bareRestore;
    {
        BareHidraw bare(device.toStdString());
        if (!bare.Open()) return std::fprintf(stderr, "cannot open %s\n", qPrintable(device)), false;
        Report write{};
        write[CommandByte] = CmdWriteByte;
        write[AddressByte] = HighestAddress;  // in no field: the stored zones stay
        const std::vector<Report> writes(RestoreReports, write);
        for (int run = 0; run <= runs; ++run) {
            auto start = Clock::now();
            for (int zone = 1; zone <= ZoneCount; ++zone) {
                Report request{};
                request[CommandByte] = static_cast<std::uint8_t>(zone);
                bare.Write(request);
                if (bare.ReadReports(AnswerReports) != AnswerReports)
                    return std::fprintf(stderr, "bare read-back of zone %d came short\n", zone), false;
            }
            if (run > 0) bareBackup.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            start = Clock::now();
            if (bare.WriteAll(writes) != RestoreReports) return std::fprintf(stderr, "bare writes refused\n"), false;
            if (run > 0) bareRestore.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
    }

    std::vector<double> backup, restore;
    bool ok = true;
    // Run 0 warms up; not counted.
    for (int run = 0; run <= runs && ok; ++run) {
        const double ms = TimedRun(cli, {"--device", device, "backup", file}, ok);
        if (run > 0) backup.push_back(ms);
    }
    for (int run = 0; run <= runs && ok; ++run) {
        unit.ClearLog();
        const double ms = TimedRun(cli, {"--device", device, "restore", file, "--pin", "1234"}, ok);
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
                "   (the %d zones' %d ms quiet ends are %d ms of it)\n",
                "backup, 4 full zones:", Median(backup), backupWire, Median(backup) / backupWire, ZoneCount,
                quietMs, ZoneCount * quietMs);
    std::printf("restore, full file (%d reports):   cli %8.2f ms   bare loop  %8.2f ms   ratio %.2f\n",
                RestoreReports, Median(restore), restoreWire, Median(restore) / restoreWire);
    std::printf("bus pace: %.2f output reports/ms written, %.2f input reports/ms read\n",
                RestoreReports / restoreWire, ZoneCount * AnswerReports / backupWire);

    // provision: from the unit's plug-in to its line, against its restore
    // and verify through the bare loops.
    std::vector<double> provision;
    for (int run = 0; run <= runs; ++run) {
        unit.Remove();
        QProcess bench;
        bench.start(cli, {"provision", file, "--pin", "1234", "--count", "1"});
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // started and waiting
        const auto start = Clock::now();
        unit.Create();
        const bool done = bench.waitForFinished(60000) && bench.exitCode() == 0;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!done || !bench.readAllStandardOutput().contains(": ok (")) {
            std::fprintf(stderr, "provision failed: %s\n", bench.readAllStandardError().constData());
            return false;
        }
        if (run > 0) provision.push_back(ms);
    }
    const double bareProvision = restoreWire + backupWire;
    std::printf("provision, plug-in to line:        cli %8.2f ms   bare loops %8.2f ms   ratio %.2f"
                "   (arrival, restore and verify of the full file)\n",
                Median(provision), bareProvision, Median(provision) / bareProvision);
    return true;
}
