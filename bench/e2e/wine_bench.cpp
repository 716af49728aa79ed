// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows tool under Wine in the guest, against the virtual unit as a USB
// gadget, reached through Wine's HID bus over hidraw:
// - the longest upload (142 reports) through the window's send button, timed
//   at the unit, vs a bare hid_write loop of the same Windows build;
// - a 68-report read-back through the window, timed until the text shows (its
//   box read from another process every 10 ms), vs a bare hid_read loop;
// - the tool's idle CPU with the unit attached, then pulled out.
// Prints figures; asserts nothing. Run by wine_guest.sh (target wine_bench):
// - velbrix-qorun-cli.exe's backup, restore and provision, against the same
//   reports through the bare loops.
//   qorun_wine_bench --wine=WINE --tool=EXE --probe=EXE --bare=qorun_wine_bare_hid.exe --cli=EXE

#include <QApplication>

#include <unistd.h>

#include <optional>

#include "cli_bench.h"
#include "figures.h"
#include "tests/e2e/wine_window.h"

namespace {

constexpr int Runs = 7;
constexpr int ReadBackReports = 68;  // 9 + 9 + 50: each area full
const std::string LongText(50, 'x');

void StoreZone1(GadgetUnit& unit) {
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre("656000311");
        model.StoreZone(1, "611222333", LongText);
    });
}

int Fail(const char* what) { return std::fprintf(stderr, "%s\n", what), 1; }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::optional<GadgetUnit> windowUnit;  // gone before the command line's four
    GadgetUnit& unit = windowUnit.emplace();
    StoreZone1(unit);
    if (!unit.Create()) return Fail(unit.Error().c_str());
    if (!WaitUntil([&] { return !unit.HidrawNode().empty() && GadgetUnit::UdevIdle(); }))
        return Fail("no hidraw node for the unit");
    constexpr std::size_t UploadReports = 142;

    // Run 0 warms up (TCG translates code on its first use); not counted.
    std::vector<double> bareUpload, bareReadBack, toolUpload, toolReadBack;
    double idle[2] = {};  // % of one CPU: no unit, unit attached
    {
        QProcess bare;
        bare.start(Given("wine"), {Given("bare")});
        for (int run = 0; run <= Runs; ++run) {
            unit.ClearLog();
            const auto start = Clock::now();
            Ask(bare, "upload");
            if (!AwaitLog(unit, UploadReports)) return Fail("bare upload lost reports");
            if (run > 0) bareUpload.push_back(Ms(Clock::now() - start));
        }
        StoreZone1(unit);
        for (int run = 0; run <= Runs; ++run) {
            const auto start = Clock::now();
            if (Ask(bare, QString("readback %1").arg(ReadBackReports)) != QStringList{QString::number(ReadBackReports)})
                return Fail("bare read-back lost reports");
            if (run > 0) bareReadBack.push_back(Ms(Clock::now() - start));
        }
        bare.closeWriteChannel();  // its end
        bare.waitForFinished();
    }
    {
        WineWindow window;
        const auto shows = [&](const QString& name, const QString& text, std::chrono::milliseconds pace) {
            return WineWindow::Polled([&] { return window.Text(name) == text; }, std::chrono::minutes(3), pace);
        };
        if (!shows("ALARMA", "Zona 1", std::chrono::milliseconds(500))) return Fail("no window");
        WineWindow::Polled([&] { return unit.RepliesSent() >= 68 && unit.InputTaken(); });  // the start-up answer
        for (int run = 0; run <= Runs; ++run) {
            window.Ask("set Text1 -");
            const auto start = Clock::now();
            window.Ask("pick ALARMA 0");
            // The box keeps 49 characters of the 50 the unit holds.
            const auto shown = [&] { return window.Ask("text Text1") == QStringList{QString(49, 'x')}; };
            if (!WineWindow::Polled(shown, std::chrono::minutes(1), std::chrono::milliseconds(10)))
                return Fail(("the window's read-back never showed: " + window.Text("Text1")).toUtf8().constData());
            if (run > 0) toolReadBack.push_back(Ms(Clock::now() - start));
        }
        window.Ask("set Text1 -");
        window.Ask("pick ALARMA 3");
        WineWindow::Polled([&] { return window.Text("Text1") != "-"; }, std::chrono::minutes(1));  // its answer
        for (const char* command : {"set pin 9876", "pick Combo1 2", "set t_e_m_1 699111222",
                                    "set Text1 Alarma: intrusion detectada en la zona, llame ya!"})
            window.Ask(command);
        for (int run = 0; run <= Runs; ++run) {
            unit.ClearLog();
            const auto start = Clock::now();
            window.Ask("click b_e_1");
            if (!AwaitLog(unit, UploadReports)) return Fail("the tool's upload lost reports");
            if (run > 0) toolUpload.push_back(Ms(Clock::now() - start));
            if (!shows("aviso", "Configuración enviada", std::chrono::milliseconds(200)))
                return Fail("the tool's upload did not end as sent");
        }
        // Nothing but messages when idle: measured with nobody polling the window.
        for (const bool attached : {true, false}) {
            if (!attached) unit.Remove();
            std::this_thread::sleep_for(std::chrono::seconds(3));
            const long before = CpuTicks(window.ToolPid());
            const auto start = Clock::now();
            std::this_thread::sleep_for(std::chrono::seconds(10));
            idle[attached] = 100.0 * (CpuTicks(window.ToolPid()) - before) / sysconf(_SC_CLK_TCK) /
                             std::chrono::duration<double>(Clock::now() - start).count();
        }
    }
    std::printf("\nmedians of %d runs, Windows build under Wine in the guest under QEMU TCG (ratios count)\n", Runs);
    PrintRatio("upload, 142 reports:", Median(toolUpload), Median(bareUpload), "bare hid_write loop");
    PrintRatio("read-back, 68 reports:", Median(toolReadBack), Median(bareReadBack), "bare hid_read loop ");
    std::printf("idle CPU of velbrix-qorun.exe: %.2f %% of one CPU with the unit attached, %.2f %% without\n",
                idle[1], idle[0]);

    // Wine's start-up is paid by every run of the command line, as on Windows
    // a script pays the program's; the bare loops pay it once.
    const auto openBare = [](GadgetUnit&) -> std::unique_ptr<BareLoops> {
        struct UnderWine : BareLoops {
            UnderWine() { process.start(Given("wine"), {Given("bare")}); }
            ~UnderWine() override { process.closeWriteChannel(), process.waitForFinished(); }
            int Count(const QString& command) {
                const QStringList answer = Ask(process, command);
                return answer.size() == 1 ? answer[0].toInt() : -1;
            }
            int ReadBack(int zone, int count) override { return Count(QString("readback %1 %2").arg(count).arg(zone)); }
            int WriteAll(int count, int address) override { return Count(QString("writes %1 %2").arg(count).arg(address)); }
            QProcess process;
        };
        auto loops = std::make_unique<UnderWine>();
        return loops->Count("readback 0") == 0 ? std::move(loops) : nullptr;
    };
    // usb_f_hid makes four HID gadgets at most, and the command line's bench plugs in four.
    windowUnit.reset();
    if (!Given("cli").isEmpty() && !BenchCommandLine({Given("wine"), Given("cli")}, openBare, Runs, std::chrono::seconds(6)))
        return 1;
    return 0;
}
