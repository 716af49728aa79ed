// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's figures in headless Chromium in the QEMU guest, through the USB
// gadget: the longest upload and a zone's read-back through the page against
// bare sendReport / inputreport loops on the same unit in the same browser,
// the page's load to its controls being ready, and its memory. Prints
// figures; no test. Run inside the guest (the target web_bench).

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/e2e/figures.h"
#include "tests/e2e/expected_reports.h"
#include "virtual_unit/gadget_unit.h"
#include "web_guest.h"

namespace {

using namespace std::chrono_literals;
using nlohmann::json;

constexpr int Runs = 3;
const std::string Phone = "699888777", Text = "Intrusion en la nave 3: avisar a seguridad ya 123";
// A zone's answer within the 64 input reports the kernel keeps for a reader
// that falls behind, as Chromium does under emulation.
const std::string ReadPhone = "633444555", ReadText = "Puerta principal";

json AsJson(const std::vector<WireReport>& reports)
{
    json out = json::array();
    for (const WireReport& r : reports) out.push_back(std::vector<int>(r.begin(), r.end()));
    return out;
}

// Runs `js` in the page, a promise resolving to milliseconds; -1 on failure.
double Timed(ChromiumPage& page, const std::string& js)
{
    const auto value = page.Evaluate(js, 40s);
    if (!value || !value->is_number()) {
        const auto shown = page.Evaluate("document.visibilityState + ' | ' + ['notice', 'grant', 't_e_m_1', 'Text1'].map(n => { const e ="
                                         " document.getElementById(n); return n + '=' + (e.hidden ? '(hidden)' :"
                                         " e.value !== undefined ? e.value : e.textContent); }).join(' | ')",
                                         10s);
        std::fprintf(stderr, "bench: %s: %s; the page shows %s\n", js.substr(0, 60).c_str(), page.Error().c_str(),
                     shown ? shown->dump().c_str() : "nothing");
        for (const std::string& line : page.Console()) std::fprintf(stderr, "bench: console: %s\n", line.c_str());
        return -1;
    }
    return value->get<double>();
}

// Sets a box and raises its input event, as typing does.
std::string Type(const char* name, const std::string& text)
{
    return "(b => { b.value = " + json(text).dump() + "; b.dispatchEvent(new Event('input', {bubbles: true})); })"
           "(document.getElementById('" + name + "'));";
}

// Does `action`, then resolves with the milliseconds until `holds` is true
// of the page.
std::string Measure(const std::string& action, const std::string& holds)
{
    return "(() => { const start = performance.now(); " + action + "; return new Promise(done => {"
           " const look = () => (" + holds + ") ? done(performance.now() - start) : setTimeout(look, 1); look(); });"
           " })()";
}

std::string PickZone(int index)
{
    return "(l => { l.selectedIndex = " + std::to_string(index) +
           "; l.dispatchEvent(new Event('change')); })(document.querySelector('#ALARMA select'))";
}

}  // namespace

int main(int argc, char** argv)
{
    std::string root;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--root=", 0) == 0) root = argv[i] + 7;
    if (root.empty()) return std::fprintf(stderr, "usage: %s --root=SOURCE_DIR\n", argv[0]), 2;

    GadgetUnit unit;
    unit.WithModel([](AlarmUnitModel& m) { m.StoreZone(3, ReadPhone, ReadText); });
    if (!unit.Create() || !WaitFor([&] { return !unit.HidrawNode().empty(); }, 90s))
        return std::fprintf(stderr, "bench: no unit: %s\n", unit.Error().c_str()), 1;
    WaitFor(GadgetUnit::UdevIdle, 90s);

    const std::vector<WireReport> upload = ExpectedUpload(2, u"4321", u"622996111", std::u16string(Phone.begin(), Phone.end()),
                                                          std::u16string(Text.begin(), Text.end()));
    const std::size_t answer = 9 + ReadPhone.size() + ReadText.size();

    // The page first, as a user opens it; then the bare loops in its place.
    GuestPage rig;
    const std::string logs = std::filesystem::is_directory("/run/results") ? "/run/results" : "/tmp";
    if (const std::string error = rig.Open(root, "build/web/site/index.html", 8931, 0x1781, 0x07D0, logs); !error.empty())
        return std::fprintf(stderr, "bench: %s\n", error.c_str()), 1;
    ChromiumPage& page = rig.Page();
    std::printf("Chromium start to its first answer   %8.0f ms\n", rig.BrowserStartMs());
    std::printf("page load (new page to load event)   %8.0f ms\n", rig.PageLoadMs());
    const double ready = Timed(page, "new Promise(done => { const look = () => performance.getEntriesByName('qorun-ready').length"
                                     " ? done(performance.getEntriesByName('qorun-ready')[0].startTime) : setTimeout(look, 5); look(); })");
    std::printf("navigation to the window ready       %8.0f ms\n", ready);
    Timed(page, Measure("", "document.getElementById('grant').hidden && document.getElementById('notice').hidden"));

    std::vector<double> pageUpload, pageRead;
    for (int run = 0; run < Runs; ++run) {
        page.Evaluate(PickZone(1) + "; new Promise(r => setTimeout(r, 1000)).then(() => { " + Type("pin", "4321") +
                          Type("t_e_m_1", Phone) + Type("Text1", Text) +
                          "(l => { l.selectedIndex = 3; l.dispatchEvent(new Event('change')); })"
                          "(document.querySelector('#Combo1 select')); return true; })",
                      120s);
        unit.ClearLog();
        pageUpload.push_back(Timed(page, Measure("document.getElementById('b_e_1').click()",
                                                 "document.getElementById('notice').textContent === 'Configuración enviada'"
                                                 " && !document.getElementById('b_e_1').disabled")));
        if (!AwaitLog(unit, upload.size()) || unit.Log() != upload) std::fprintf(stderr, "bench: the upload differs\n");
        // From zone 1 (nothing stored, a short answer) to zone 3's values shown.
        page.Evaluate(PickZone(0) + "; new Promise(r => setTimeout(r, 1000))", 120s);
        pageRead.push_back(Timed(page, Measure(PickZone(2), "document.getElementById('Text1').value === " +
                                                                json(ReadText).dump())));
    }
    if (const auto memory = page.Evaluate("[performance.memory.usedJSHeapSize, Module.HEAP8.length]", 120s);
        memory && memory->is_array())
        std::printf("JS heap in use %.1f MiB, the page's WebAssembly memory %.1f MiB\n",
                    (*memory)[0].get<double>() / 1048576, (*memory)[1].get<double>() / 1048576);

    if (!rig.Load("bench/web/bare.html") || !page.WaitForConsole("unit open 6017:2000", 120s))
        return std::fprintf(stderr, "bench: the bare page has no unit: %s\n", page.Error().c_str()), 1;
    std::vector<double> bareUpload, bareRead;
    for (int run = 0; run < Runs; ++run) {
        bareUpload.push_back(Timed(page, "sendReports(" + AsJson(upload).dump() + ")"));
        const auto got = page.Evaluate("requestInputs([0, 0, 0, 0, 0, 3, 0, 0], " + std::to_string(answer) + ", 5000)", 120s);
        bareRead.push_back(got && got->contains("lastMs") ? (*got)["lastMs"].get<double>() : -1);
        if (got && got->contains("reports") && (*got)["reports"].size() != answer)
            std::fprintf(stderr, "bench: the bare read-back got %zu of %zu reports\n", (*got)["reports"].size(), answer);
    }
    PrintRatio("longest upload (142 reports)", Median(pageUpload), Median(bareUpload), "bare sendReport");
    PrintRatio("zone 3's read-back (34 reports)", Median(pageRead), Median(bareRead), "bare inputreport");
    return 0;
}
