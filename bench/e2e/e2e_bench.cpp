// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// End-to-end figures inside the guest kernel, against the virtual unit as a
// USB gadget on dummy_hcd (reached through the USB HID driver, at the bus's
// own pace):
// - upload of the longest configuration (142 reports) through the window's
//   send button vs a bare loop of 142 hid_write calls on the same node;
// - a 68-report read-back through the event hook into the window, from the
//   entry taken in the zone list until its boxes show it, vs a bare hid_read
//   loop from its request;
// - the window's longest repaint gap through an upload the unit stalls, and
//   with a zone picked while it stalls;
// - idle CPU of the real tool over 10 s with the unit attached.
// Prints figures; asserts nothing.
//
// - backup, restore and provision (plug-in to its line) through
//   velbrix-qorun-cli against the same reports through bare loops.
//
//   qorun_e2e_bench PATH_TO_velbrix-qorun [PATH_TO_velbrix-qorun-cli]

#include <QApplication>
#include <QCoreApplication>

#include <hidapi/hidapi.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bare_hidraw.h"
#include "cli_bench.h"
#include "device_link/qt/text_units.h"
#include "figures.h"
#include "protocol/zone_upload.h"
#include "repaint_watch.h"
#include "tests/support/recording_library.h"
#include "tool_session.h"
#include "virtual_unit/gadget_unit.h"

namespace {

using namespace std::chrono_literals;

constexpr int Runs = 7;
constexpr int ReadBackReports = 68;  // 9 + 9 + 50: each area full

const QString Pin = QStringLiteral("9876");
const QString Phone = QStringLiteral("699111222");
const QString Text = QStringLiteral("Alarma: intrusion detectada en la zona, llame ya!");

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH_TO_velbrix-qorun\n", argv[0]);
        return 2;
    }
    const std::string toolPath = argv[1];
    QApplication app(argc, argv);
    InstallQuietOffscreenNotes();
    hid_init();

    std::optional<GadgetUnit> windowUnit;  // gone before the command line's four
    GadgetUnit& unit = windowUnit.emplace();
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre("656000311");
        model.StoreZone(1, "611222333", std::string(50, 'x'));
    });
    if (!unit.Create()) {
        std::fprintf(stderr, "%s\n", unit.Error().c_str());
        return 1;
    }
    if (!WaitUntil([&] { return !unit.HidrawNode().empty(); })) {
        std::fprintf(stderr, "no hidraw node for the unit\n");
        return 1;
    }
    const std::string node = unit.HidrawNode();

    // What an upload writes, to replay it through bare hid_write.
    RecordingLibrary recorder;
    ConfiguratorState state;
    SendZoneConfiguration(state, recorder, 4, 607003110, ToUnits(Pin), ToUnits(Phone), ToUnits(Text));
    const std::vector<Report> upload = recorder.written;
    const Report zone1Request{0, 0, 0, 0, 0, 0, 1, 0, 0};

    std::vector<double> bareUpload, bareReadBack, toolUpload, toolReadBack, repaintGaps;
    double stalledUpload = 0, stallGap = 0, pickGap = 0;
    {
        BareHidraw bare(node);
        if (!bare.Open()) {
            std::fprintf(stderr, "cannot open %s\n", node.c_str());
            return 1;
        }
        // Run 0 warms up (TCG translates code on its first use); not counted.
        for (int run = 0; run <= Runs; ++run) {
            unit.ClearLog();
            const auto start = Clock::now();
            bare.WriteAll(upload);
            if (!AwaitLog(unit, upload.size())) return std::fprintf(stderr, "bare upload lost reports\n"), 1;
            if (run > 0) bareUpload.push_back(Ms(Clock::now() - start));
        }
        unit.WithModel([](AlarmUnitModel& model) {
            model.StoreServiceCentre("656000311");
            model.StoreZone(1, "611222333", std::string(50, 'x'));
        });
        for (int run = 0; run <= Runs; ++run) {
            const auto start = Clock::now();
            bare.Write(zone1Request);
            const int got = bare.ReadReports(ReadBackReports);
            if (got != ReadBackReports) return std::fprintf(stderr, "bare read-back got %d\n", got), 1;
            if (run > 0) bareReadBack.push_back(Ms(Clock::now() - start));
        }
    }
    {
        ToolSession tool;
        std::optional<RepaintWatch> repaints;  // goes before the window
        if (!WaitUntil([&] { return tool.Events().Count(EventChanged) > 0; }))
            return std::fprintf(stderr, "the tool saw no EventChanged\n"), 1;
        Settle();
        for (int run = 0; run <= Runs; ++run) {
            const int before = tool.Events().Count(EventRead);
            // From the entry taken, as the bare loop times from its request:
            // the list opens before the user has picked anything.
            tool.PointAtZone(0);
            const auto start = Clock::now();
            tool.TakePointedZone();
            // Until the boxes show the answer: they are drawn once the queued reports are read.
            while (tool.Events().Count(EventRead) < before + ReadBackReports || tool.Message().size() < static_cast<qsizetype>(TextMaxLength)) {
                if (Clock::now() - start > 20s) return std::fprintf(stderr, "tool read-back stalled\n"), 1;
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            }
            if (run > 0) toolReadBack.push_back(Ms(Clock::now() - start));
            Settle(100ms);
        }
        tool.PickZone(3);
        Settle();
        tool.TypePin(Pin);
        tool.PickOperator(2);
        tool.TypePhone(Phone);
        tool.SetMessage(Text);
        // The window repaints while it uploads: the longest gap, with the
        // event loop running as a user has it.
        for (int run = 0; run <= Runs; ++run) {
            unit.ClearLog();
            repaints.emplace(tool.Window());
            tool.PressSend();
            if (!WaitUntil([&] { return tool.SendEnabled(); }) || unit.LogSize() != upload.size())
                return std::fprintf(stderr, "tool upload lost reports\n"), 1;
            if (run > 0) repaintGaps.push_back(static_cast<double>(repaints->Longest().count()));
        }
        for (int run = 0; run <= Runs; ++run) {
            unit.ClearLog();
            const auto start = Clock::now();
            tool.PressSend();
            // The upload runs on its own thread: timed at the unit, to its last report.
            if (!AwaitLog(unit, upload.size())) return std::fprintf(stderr, "tool upload lost reports\n"), 1;
            if (run > 0) toolUpload.push_back(Ms(Clock::now() - start));
            WaitUntil([&] { return tool.SendEnabled(); });
            std::vector<WireReport> expected;
            for (const Report& r : upload) expected.push_back({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
            const std::vector<WireReport> got = unit.Log();
            if (got != expected) {
                std::size_t at = 0;
                while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
                return std::fprintf(stderr, "the tool's upload differs from report %zu on (%zu reports)\n", at,
                                    got.size()), 1;
            }
        }
        // One stall: the unit stops reading after 10 reports and the kernel
        // gives up on the write that waits; then a zone picked while it still
        // stalls, whose request waits off the window's thread.
        unit.ClearLog();
        unit.StallAfter(10);
        repaints.emplace(tool.Window());
        const auto stallStart = Clock::now();
        tool.PressSend();
        if (!WaitUntil([&] { return tool.SendEnabled(); }, 30s)) return std::fprintf(stderr, "the stall never ended\n"), 1;
        stalledUpload = Ms(Clock::now() - stallStart);
        stallGap = static_cast<double>(repaints->Longest().count());
        repaints.emplace(tool.Window());
        tool.PickZone(0);
        Settle(1s);
        pickGap = static_cast<double>(repaints->Longest().count());
        unit.Resume();
        Settle(1s);
    }

    std::printf("\nmedians of %d runs, guest under QEMU TCG (absolute times are slow; ratios count)\n", Runs);
    PrintRatio("upload, 142 reports:", Median(toolUpload), Median(bareUpload), "bare hid_write loop");
    PrintRatio("read-back, 68 reports:", Median(toolReadBack), Median(bareReadBack), "bare hid_read loop ");
    std::printf("longest time the window went without repainting during the upload: %.0f ms\n",
                Median(repaintGaps));
    std::printf("upload stalled after 10 reports: ended as interrupted after %.0f ms; longest repaint gap %.0f ms, "
                "and %.0f ms with a zone picked while stalled (one run)\n", stalledUpload, stallGap, pickGap);
    std::printf("bus pace: %.2f output reports/ms (bare hid_write), %.2f input reports/ms (bare hid_read)\n",
                upload.size() / Median(bareUpload), ReadBackReports / Median(bareReadBack));

    // Idle CPU of the real tool, as a user runs it, with the unit attached;
    // and without it, which tells what the attached unit costs.
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    for (const bool attached : {true, false}) {
        if (!attached) unit.Remove();
        unit.ClearLog();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("QT_LOGGING_RULES", "default.warning=false", 1);
            execl(toolPath.c_str(), toolPath.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // With the unit, started once its start-up request has arrived; then
        // let the start-up settle before measuring.
        if (attached && !AwaitLog(unit, 1)) std::fprintf(stderr, "the tool sent no start-up request\n");
        std::this_thread::sleep_for(3s);
        const long before = CpuTicks(pid);
        const auto start = Clock::now();
        std::this_thread::sleep_for(10s);
        const long used = CpuTicks(pid) - before;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        std::printf("idle CPU of velbrix-qorun, %-14s %.2f %% of one CPU (%ld ticks of 1/%ld s in %.1f s)\n",
                    attached ? "unit attached:" : "no unit:", 100.0 * used / ticksPerSecond / seconds,
                    used, ticksPerSecond, seconds);
    }
    // The command line's own units: none of this one may be attached.
    const auto openBare = [](GadgetUnit& unit) -> std::unique_ptr<BareLoops> {
        struct OnHidraw : BareLoops {
            explicit OnHidraw(const std::string& node) : bare(node) {}
            int ReadBack(int zone, int count) override {
                Report request{};
                request[CommandByte] = static_cast<std::uint8_t>(zone);
                return bare.Write(request) ? bare.ReadReports(count) : 0;
            }
            int WriteAll(int count, int address) override {
                Report write{};
                write[CommandByte] = CmdWriteByte;
                write[AddressByte] = static_cast<std::uint8_t>(address);
                return bare.WriteAll(std::vector<Report>(static_cast<std::size_t>(count), write));
            }
            BareHidraw bare;
        };
        auto loops = std::make_unique<OnHidraw>(unit.HidrawNode());
        return loops->bare.Open() ? std::move(loops) : nullptr;
    };
    // usb_f_hid makes four HID gadgets at most, and the command line's bench plugs in four.
    windowUnit.reset();
    if (argc > 2 && !BenchCommandLine({argv[2]}, openBare, Runs, 1500ms)) return 1;
    hid_exit();
    return 0;
}
