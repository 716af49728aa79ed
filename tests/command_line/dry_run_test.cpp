// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `send` puts out what the window's send button does for the same values: in
// the dry run's printout (a report a line, upper-case hex) and at the unit.

#include <gtest/gtest.h>

#include "cli_harness.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"

namespace {

struct SameValues {
    const char* name;
    std::int32_t zone, serviceCentre;  // as the window passes them, line breaks as CR LF
    std::u16string pin, phone, text;
    QStringList arguments;  // after "send"
};

const SameValues Rows[] = {
    {"OperatorByNumberPinAndEuroSign", 2, 607003110, u"1234", u"12", u"\u20AC",
     {"--zone", "2", "--operator", "607003110", "--pin", "1234", "--phone", "12", "--text", "\u20AC"}},
    {"OperatorNameInLowerCaseNoPinAndALineBreak", 4, 609090909, u"", u"611", u"a\r\nb",
     {"--zone", "4", "--operator", "movistar", "--phone", "611", "--text", "a\nb"}},
};

class SendLikeTheWindow : public testing::TestWithParam<SameValues> {};

TEST_P(SendLikeTheWindow, DryRunAndUnitSeeTheWindowsReports)
{
    const SameValues& row = GetParam();
    RecordingLibrary window;
    ConfiguratorState state;
    SendZoneConfiguration(state, window, row.zone, row.serviceCentre, row.pin, row.phone, row.text);
    std::string hex;
    std::vector<WireReport> expected;
    for (const Report& r : window.written) {
        hex += QByteArray(reinterpret_cast<const char*>(r.data()), r.size()).toHex(' ').toUpper() + "\n";
        expected.push_back({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
    }
    InProcessUnits units;
    const CliRun dryRun = RunCli(units, QStringList{"send"} + row.arguments + QStringList{"--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out, hex);
    // Also shows that the dry run sent nothing.
    EXPECT_EQ(RunCli(units, QStringList{"send"} + row.arguments).status, 0);
    EXPECT_EQ(units.model.Log(), expected);
}

INSTANTIATE_TEST_SUITE_P(EachValueSet, SendLikeTheWindow, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<SameValues>& info) { return info.param.name; });

}  // namespace
