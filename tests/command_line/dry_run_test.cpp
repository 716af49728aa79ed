// `send` puts out what the window's send button puts out for the same values:
// the expectation is the upload function fed as the window feeds it, and both
// the dry run's printout and what a unit receives must equal it.

#include <gtest/gtest.h>

#include <cstdio>

#include "cli_harness.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"

namespace {

struct SameValues {
    const char* name;
    QStringList arguments;  // after "send"
    // As the window passes them: entry data of the selectors, the PIN
    // field, the phone field, the text with its line breaks as CR LF.
    std::int32_t zone;
    std::int32_t serviceCentre;
    std::u16string pin;
    std::u16string phone;
    std::u16string text;
};

const SameValues Rows[] = {
    {"AllFields", {"--zone", "2", "--operator", "AMENA", "--pin", "1234", "--phone", "12", "--text", "Hi"},
     2, 656000311, u"1234", u"12", u"Hi"},
    {"NoPinAndALineBreak", {"--zone", "1", "--operator", "movistar", "--phone", "611", "--text", "a\nb"},
     1, 609090909, u"", u"611", u"a\r\nb"},
    {"OperatorByNumberAndEuroSign", {"--zone", "4", "--operator", "607003110", "--phone", "6", "--text", "\u20AC"},
     4, 607003110, u"", u"6", u"\u20AC"},
};

std::string Hex(const std::vector<Report>& reports)
{
    std::string lines;
    char byte[4];
    for (const Report& report : reports) {
        for (std::size_t i = 0; i < report.size(); ++i) {
            std::snprintf(byte, sizeof byte, i + 1 < report.size() ? "%02X " : "%02X", report[i]);
            lines += byte;
        }
        lines += "\n";
    }
    return lines;
}

class SendLikeTheWindow : public testing::TestWithParam<SameValues> {};

TEST_P(SendLikeTheWindow, DryRunAndUnitSeeTheWindowsReports)
{
    const SameValues& row = GetParam();
    RecordingLibrary window;
    ConfiguratorState state;
    SendZoneConfiguration(state, window, row.zone, row.serviceCentre, row.pin, row.phone, row.text);

    InProcessUnits units;
    const CliRun dryRun = RunCli(units, QStringList{"send"} + row.arguments + QStringList{"--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out, Hex(window.written));
    EXPECT_TRUE(units.model.Log().empty());

    const CliRun sent = RunCli(units, QStringList{"send"} + row.arguments);
    EXPECT_EQ(sent.status, 0) << sent.err;
    std::vector<WireReport> expected;
    for (const Report& report : window.written)
        expected.push_back({report[1], report[2], report[3], report[4], report[5], report[6], report[7], report[8]});
    EXPECT_EQ(units.model.Log(), expected);
}

INSTANTIATE_TEST_SUITE_P(EachValueSet, SendLikeTheWindow, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<SameValues>& info) { return info.param.name; });

}  // namespace
