// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A page in headless Chromium drives the virtual unit over WebHID in the
// guest: the unit granted by policy, awaited reports landing byte for byte,
// a zone's answer arriving as input reports. Prints the figures a later
// benchmark starts from. Run as: qorun_web_e2e --page=bench/web/bare.html

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "chromium_page.h"
#include "virtual_unit/gadget_unit.h"
#include "web_guest.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int Port = 8931, VendorId = 0x1781, ProductId = 0x07D0;
std::string PagePath;  // --page=

constexpr auto CallLimit = 120s;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Figure(const char* what, double ms) { std::printf("figure: %s: %.1f ms\n", what, ms); }

// The guest's results share, when there, keeps the logs for the host to read.
std::string LogDir() {
    if (std::filesystem::is_directory("/run/results")) return "/run/results";
    return std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
}

// The kernel's MemAvailable, in MiB.
double AvailableMiB() {
    std::ifstream in("/proc/meminfo");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("MemAvailable:", 0) == 0) return std::stod(line.substr(13)) / 1024;
    return 0;
}

nlohmann::json AsJson(const std::vector<WireReport>& reports) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& r : reports) out.push_back(std::vector<int>(r.begin(), r.end()));
    return out;
}

// Writes (command 10) whose every byte varies, away from the service centre
// and zone 1, so a lost, doubled, reordered or altered byte shows.
std::vector<WireReport> Writes(std::size_t count) {
    std::vector<WireReport> out;
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = [&](std::size_t k) { return static_cast<std::uint8_t>(k & 0xFF); };
        out.push_back({b(i), b(i >> 8), b(0x80 | i), b(0xFF - i), b(i * 37), 10, b(1 + i % 255), b(75 + i % 180)});
    }
    return out;
}

std::string Hex(const WireReport& r) {
    std::string out;
    char byte[4];
    for (const auto b : r) std::snprintf(byte, sizeof byte, " %02x", b), out += byte;
    return out;
}

// The unit's log is what was sent; else the first difference, not 268 dumps.
testing::AssertionResult Took(const std::vector<WireReport>& log, const std::vector<WireReport>& sent) {
    for (std::size_t i = 0; i < std::min(log.size(), sent.size()); ++i)
        if (log[i] != sent[i])
            return testing::AssertionFailure() << "report " << i << " sent" << Hex(sent[i]) << ", took" << Hex(log[i]);
    if (log.size() != sent.size())
        return testing::AssertionFailure() << "sent " << sent.size() << " reports, the unit took " << log.size();
    return testing::AssertionSuccess();
}

class WebPage : public testing::Test {
protected:
    static void SetUpTestSuite() {
        unit_ = std::make_unique<GadgetUnit>();
        unit_->WithModel([](AlarmUnitModel& m) {
            m.StoreServiceCentre(ServiceCentre);
            m.StoreZone(1, Phone, Text);
        });
        if (!unit_->Create()) return Abandon("cannot plug the unit in: " + unit_->Error());
        if (!WaitFor([] { return !unit_->HidrawNode().empty(); }, 90s)) return Abandon("no hidraw node");
        if (!WaitFor(GadgetUnit::UdevIdle, 90s)) return Abandon("udevd still busy");

        const double availableBefore = AvailableMiB();
        rig_ = std::make_unique<GuestPage>();
        page_ = &rig_->Page();
        if (auto error = rig_->Open(PagePath, Port, VendorId, ProductId, LogDir()); !error.empty()) return Abandon(error);
        Figure("Chromium start, to its first answer", rig_->BrowserStartMs());
        Figure("page load", rig_->PageLoadMs());
        // What of that the page's own fetch and load took; the rest is the new target.
        if (const auto nav = page_->Evaluate(
                "(e => [e.responseEnd, e.loadEventEnd])(performance.getEntriesByType('navigation')[0])", CallLimit);
            nav && nav->is_array() && nav->size() == 2)
            std::printf("figure: of it, navigation to the page's fetch done: %.1f ms, to its load event: %.1f ms\n",
                        (*nav)[0].get<double>(), (*nav)[1].get<double>());
        const auto start = Clock::now();
        if (!page_->WaitForConsole("unit open 6017:2000", CallLimit)) return Abandon("the page never opened the unit");
        Figure("page load to the unit open", MsSince(start));
        std::printf("figure: guest memory taken by emrun and Chromium with the page open: %.0f MiB of %.0f available\n",
                    availableBefore - AvailableMiB(), availableBefore);
    }

    static void TearDownTestSuite() {
        page_ = nullptr;
        rig_.reset();  // the browser first: it holds the hidraw node
        unit_.reset();
    }

    static void Abandon(const std::string& why) {
        std::string console;
        if (page_) for (const auto& line : page_->Console()) console += "\n  console: " + line;
        setUpError_ = why + console;
    }

    void SetUp() override { ASSERT_TRUE(setUpError_.empty()) << setUpError_; }

    // Sends the reports one awaited sendReport at a time: the page's ms.
    static double Send(const std::vector<WireReport>& reports) {
        const auto ms = page_->Evaluate("sendReports(" + AsJson(reports).dump() + ")", CallLimit);
        EXPECT_TRUE(ms && ms->is_number()) << page_->Error();
        return ms && ms->is_number() ? ms->get<double>() : -1;
    }

    static inline const std::string ServiceCentre = "656000311", Phone = "611222333", Text = "Zona uno";
    static inline std::unique_ptr<GadgetUnit> unit_;
    static inline std::unique_ptr<GuestPage> rig_;
    static inline ChromiumPage* page_ = nullptr;
    static inline std::string setUpError_;
};

TEST_F(WebPage, ListsOnlyTheUnitThePolicyGrants) {
    const auto devices = page_->Evaluate(
        "navigator.hid.getDevices().then(ds => ds.map(d => [d.vendorId, d.productId, d.opened]))", CallLimit);
    ASSERT_TRUE(devices) << page_->Error();
    EXPECT_EQ(*devices, nlohmann::json::parse("[[6017, 2000, true]]"));
}

TEST_F(WebPage, AwaitedReportsReachTheUnitByteForByte) {
    unit_->ClearLog();
    const auto reports = Writes(20);
    Figure("20 awaited sendReport calls", Send(reports));
    // Each send resolves once the endpoint took it; the unit may read it later.
    ASSERT_TRUE(WaitFor([&] { return unit_->LogSize() >= reports.size(); }, 30s)) << unit_->LogSize();
    EXPECT_TRUE(Took(unit_->Log(), reports));
}

TEST_F(WebPage, TheLongestUploadsCountOfAwaitedReportsLandsWhole) {
    unit_->ClearLog();
    const auto reports = Writes(268);
    const double ms = Send(reports);
    Figure("268 awaited sendReport calls", ms);
    std::printf("figure: %.2f ms per awaited sendReport\n", ms / 268);
    ASSERT_TRUE(WaitFor([&] { return unit_->LogSize() >= reports.size(); }, 30s)) << unit_->LogSize();
    EXPECT_TRUE(Took(unit_->Log(), reports));

    // The same reports by write(2) on the hidraw node: the native floor.
    unit_->ClearLog();
    const int node = open(unit_->HidrawNode().c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(node, 0) << unit_->HidrawNode();
    const auto start = Clock::now();
    for (const auto& r : reports) {
        std::uint8_t withId[9] = {0};
        std::copy(r.begin(), r.end(), withId + 1);
        ASSERT_EQ(write(node, withId, sizeof withId), 9);
    }
    const double native = MsSince(start);
    close(node);
    Figure("268 hidraw writes", native);
    std::printf("figure: awaited sendReport / hidraw write: %.2f\n", ms / native);
    ASSERT_TRUE(WaitFor([&] { return unit_->LogSize() >= reports.size(); }, 30s)) << unit_->LogSize();
    EXPECT_TRUE(Took(unit_->Log(), reports));
}

TEST_F(WebPage, AZonesReadBackArrivesAsInputReports) {
    // One input report per character: the service centre's at byte 4, the
    // phone's at 5, the text's at 6, tagged 1, 2, 3 at byte 7.
    std::vector<WireReport> expected;
    const auto field = [&](const std::string& value, std::uint8_t tag, std::size_t at) {
        for (const char c : value) {
            WireReport r{};
            r[7] = tag;
            r[at] = static_cast<std::uint8_t>(c);
            expected.push_back(r);
        }
    };
    field(ServiceCentre, 1, 4);
    field(Phone, 2, 5);
    field(Text, 3, 6);
    unit_->ClearLog();
    // A quiet of 30 s ends a stalled answer; a whole one ends at its count.
    const auto got = page_->Evaluate(
        "requestInputs([0, 0, 0, 0, 0, 1, 0, 0], " + std::to_string(expected.size()) + ", 30000)", CallLimit);
    ASSERT_TRUE(got) << page_->Error();
    EXPECT_EQ((*got)["reports"], AsJson(expected));
    Figure("zone 1's answer, request to last input report", (*got)["lastMs"].get<double>());
    EXPECT_EQ(unit_->Log(), (std::vector<WireReport>{{0, 0, 0, 0, 0, 1, 0, 0}}));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--page=", 0) == 0) PagePath = std::filesystem::absolute(argv[i] + 7);
    if (PagePath.empty()) {
        std::fprintf(stderr, "usage: %s --page=PATH/bare.html\n", argv[0]);
        return 2;
    }
    // scripts/install-deps brings both with WITH_E2E=1.
    for (const char* needed : {"/usr/bin/chromium", "/usr/bin/emrun"})
        if (!std::filesystem::exists(needed)) {
            std::fprintf(stderr, "e2e: skipped: no %s (packages chromium, emscripten)\n", needed);
            return 77;
        }
    return RUN_ALL_TESTS();
}
