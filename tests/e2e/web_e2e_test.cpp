// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A page in headless Chromium drives the virtual unit over WebHID in the
// guest: the unit granted by policy, awaited reports landing byte for byte,
// a zone's answer arriving as input reports. Prints the figures a later
// benchmark starts from. Run as: qorun_web_e2e --page=bench/web/bare.html

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "chromium_page.h"
#include "virtual_unit/gadget_unit.h"
#include "web_guest.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int Port = 8931, VendorId = 0x1781, ProductId = 0x07D0;
std::string PagePath;  // --page=

// Under TCG with one vCPU Chromium takes tens of seconds to start.
constexpr auto StartLimit = 300s, CallLimit = 120s;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Figure(const char* what, double ms) { std::printf("figure: %s: %.1f ms\n", what, ms); }

std::string Scratch(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/" + name;
}

std::string Tail(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 4000 ? all.substr(all.size() - 4000) : all;
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

        if (const auto error = PrepareChromiumGuest(Port, VendorId, ProductId); !error.empty()) return Abandon(error);
        server_ = std::make_unique<PageServer>();
        if (!server_->Start(PagePath, Port, Scratch("emrun.log"), 60s))
            return Abandon("emrun did not listen: " + Tail(Scratch("emrun.log")));

        page_ = std::make_unique<ChromiumPage>();
        std::filesystem::create_directories(Scratch("chromium-profile"));
        auto start = Clock::now();
        if (!page_->Start(Scratch("chromium-profile"), Scratch("chromium.log"), StartLimit))
            return Abandon("Chromium did not answer: " + page_->Error() + "\n" + Tail(Scratch("chromium.log")));
        Figure("Chromium start, to its first answer", MsSince(start));
        start = Clock::now();
        const std::string url = "http://localhost:" + std::to_string(Port) + "/" +
                                std::filesystem::path(PagePath).filename().string();
        if (!page_->Open(url, CallLimit)) return Abandon("cannot open " + url + ": " + page_->Error());
        Figure("page load", MsSince(start));
        start = Clock::now();
        if (!page_->WaitForConsole("unit open 6017:2000", CallLimit)) return Abandon("the page never opened the unit");
        Figure("page load to the unit open", MsSince(start));
    }

    static void TearDownTestSuite() {
        page_.reset();  // the browser first: it holds the hidraw node
        server_.reset();
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
    static inline std::unique_ptr<PageServer> server_;
    static inline std::unique_ptr<ChromiumPage> page_;
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
    EXPECT_EQ(unit_->Log(), reports);
}

TEST_F(WebPage, TheLongestUploadsCountOfAwaitedReportsLandsWhole) {
    unit_->ClearLog();
    const auto reports = Writes(268);
    const double ms = Send(reports);
    Figure("268 awaited sendReport calls", ms);
    std::printf("figure: %.2f ms per awaited sendReport\n", ms / 268);
    ASSERT_TRUE(WaitFor([&] { return unit_->LogSize() >= reports.size(); }, 30s)) << unit_->LogSize();
    EXPECT_EQ(unit_->Log(), reports);
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
    // More than the answer holds: a stray extra report would show.
    const auto got = page_->Evaluate(
        "requestInputs([0, 0, 0, 0, 0, 1, 0, 0], " + std::to_string(expected.size() + 1) + ", 5000)", CallLimit);
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
    return RUN_ALL_TESTS();
}
