// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real velbrix-qorun-cli (--cli=PATH; with --wine=WINE the Windows build
// under Wine) against the virtual unit through the kernel's USB HID driver:
// only what that path adds to tests/command_line.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "cli_process.h"
#include "device_link/qt/text_units.h"
#include "expected_reports.h"
#include "guest_unit.h"

namespace {

TEST(CliEndToEnd, SendThenShowJsonBringsBackWhatWasSent) {
    GuestUnit unit;
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    const CliRun send = Cli({"send", "--zone", "2", "--operator", "VODAFONE", "--phone", "699111222", "--text",
                             "Linea A\nLinea B \u00F1"});
    ASSERT_EQ(send.status, 0) << testing::PrintToString(send);

    // A slow unit: its answer lasts longer than the quiet time that ends it.
    unit.SetReplyInterval(std::chrono::milliseconds(20));
    const CliRun show = Cli({"show", "--zone", "2", "--json"});
    EXPECT_TRUE(show.status == 0 && QJsonDocument::fromJson(show.out.toUtf8()) == QJsonDocument::fromJson(R"(
        {"operator": "VODAFONE", "zones": [{"zone": 2, "phone": "699111222", "text": "Linea A\r\nLinea B \u00f1"}]})"))
        << testing::PrintToString(show);
}

TEST(CliEndToEnd, ListNamesEachNodeAndDeviceBacksUpOneAndRestoresTheOther) {
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    GuestUnit original, fresh;
    LoadStoredZones(original);
    ASSERT_NO_FATAL_FAILURE(PlugIn(original));
    ASSERT_NO_FATAL_FAILURE(PlugIn(fresh));
    const CliRun list = Cli({"list"});
    EXPECT_EQ(list.status, 0) << testing::PrintToString(list);
    for (const GuestUnit* unit : {&original, &fresh})
        EXPECT_TRUE(list.out.contains(NodeOf(*unit) + "\tcan be opened\n")) << testing::PrintToString(list);

    ASSERT_EQ(Cli({"--device", NodeOf(original), "backup", path}).status, 0);
    EXPECT_EQ(fresh.LogSize(), 0u) << "the other unit was written to";
    const CliRun restore = Cli({"--device", NodeOf(fresh), "restore", path, "--pin", "4321", "--verify"});
    EXPECT_EQ(restore.status, 0) << testing::PrintToString(restore);
    EXPECT_TRUE(RestoredWhole(fresh.Log(), StoredRestore(u"4321")));
    EXPECT_TRUE(RestoredWhole(original.Log(), {})) << "the backed-up unit was written to";
    const auto restored = Memory(fresh), loaded = Memory(original);
    EXPECT_TRUE(std::equal(restored.begin() + 5, restored.end(), loaded.begin() + 5)) << "beyond the PIN";
    PullOut(original), PullOut(fresh);
}

const QString LongText = "Alarma: intrusion detectada en la zona, llame ya!";
const QStringList LongestSend = {"send", "--zone", "4", "--operator", "VODAFONE", "--pin", "9876",
                                 "--phone", "699111222", "--text", LongText};
const std::vector<WireReport> LongestUpload = ExpectedUpload(4, u"9876", u"607003110", u"699111222", ToUnits(LongText));

class CliPulledAfter : public testing::TestWithParam<std::size_t> {};

TEST_P(CliPulledAfter, SendExits3WithTheCountTheEndpointTookAndAfterReplugSendsWhole) {
    const std::size_t k = GetParam();
    GuestUnit unit;
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    unit.RemoveAfter(k);
    const CliRun pulled = Cli(LongestSend);
    // Every write may have landed before the unit went: then it was sent.
    // Whether its removal was heard of within the command's notice, or it
    // looked stalled, depends on the guest's load.
    const std::size_t told =
        pulled.status == 0
            ? LongestUpload.size()
            : NumberIn(pulled.err, "(?:went away|stopped taking reports) during the upload of zone 4: (\\d+) reports sent");
    EXPECT_EQ(pulled.status, told == LongestUpload.size() ? 0 : 3) << testing::PrintToString(pulled);
    ASSERT_TRUE(WaitUntil([&] { return !unit.Present(); }));
    EXPECT_EQ(unit.Log(), std::vector<WireReport>(LongestUpload.begin(), LongestUpload.begin() + static_cast<long>(k)));
    EXPECT_TRUE(EndpointTook(LongestUpload, unit.Log(), unit.DrainedAtUnplug(), told)) << testing::PrintToString(pulled);

    unit.ClearLog();
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    const CliRun again = Cli(LongestSend);
    EXPECT_EQ(again.status, 0) << testing::PrintToString(again);
    EXPECT_EQ(unit.Log(), LongestUpload);
}

INSTANTIATE_TEST_SUITE_P(Reports, CliPulledAfter, testing::Values(1, 10, LongestUpload.size() - 1));

// A unit that stops taking reports: the kernel's timeout ends the write, the
// command says how far it got, and that is what the unit holds once it reads
// again.
TEST(CliEndToEnd, StalledSendAndRestoreExit3WithinTheWriteTimeout) {
    // Windows' hidapi gives a write up after 1 s and leaves it pending: what
    // lands later is the system's, not the command's, to tell.
    if (UnderWine()) GTEST_SKIP() << "the kernel's write timeout is Linux's";
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    GuestUnit unit;
    LoadStoredZones(unit);
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    ASSERT_EQ(Cli({"backup", path}).status, 0);

    for (const QStringList& command : {LongestSend, QStringList{"restore", path, "--verify"}}) {
        unit.ClearLog();
        unit.StallAfter(60);
        QElapsedTimer took;
        took.start();
        const CliRun stalled = Cli(command);
        const qint64 ms = took.elapsed();
        unit.Resume();
        EXPECT_EQ(stalled.status, 3) << testing::PrintToString(stalled);
        // Restore's count is of zone 2's reports, after zone 1's 52.
        const QString zone = command[0] == "send" ? "4" : "2";
        const std::size_t told =
            NumberIn(stalled.err, "stopped taking reports during the upload of zone " + zone + ": (\\d+) reports sent") +
            (zone == "2" ? 52 : 0);
        // What waited at the endpoint reaches the unit now; the write the
        // kernel gave up on never does.
        EXPECT_TRUE(WaitUntil([&] { return unit.LogSize() >= told; })) << testing::PrintToString(stalled);
        Settle(std::chrono::milliseconds(500));  // time for a report too many to land
        const std::size_t taken = unit.LogSize();
        EXPECT_EQ(taken, told) << testing::PrintToString(stalled);
        EXPECT_GT(taken, 60u);
        std::printf("[   INFO   ] %s stalled after 60 reports: exit %d after %lld ms, the unit took %zu\n",
                    qPrintable(command[0]), stalled.status, static_cast<long long>(ms), taken);
    }
}

}  // namespace
