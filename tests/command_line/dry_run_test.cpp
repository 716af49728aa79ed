// `send` puts out what the window's send button puts out for the same values:
// the expectation is the upload function fed as the window feeds it, and both
// the dry run's printout and what a unit receives must equal it.

#include <gtest/gtest.h>

#include "cli_harness.h"
#include "protocol/zone_upload.h"
#include "tests/support/recording_library.h"

namespace {

struct SameValues {
    const char* name;
    QStringList arguments;  // after "send"
    // As the window passes them: entry data of the selectors, the PIN
    // field, the phone field, the text with its line breaks as CR LF.
    std::int32_t zone, serviceCentre;
    std::u16string pin, phone, text;
};

const SameValues Rows[] = {
    {"AllFields", {"--zone", "2", "--operator", "AMENA", "--pin", "1234", "--phone", "12", "--text", "Hi"},
     2, 656000311, u"1234", u"12", u"Hi"},
    {"NoPinAndALineBreak", {"--zone", "1", "--operator", "movistar", "--phone", "611", "--text", "a\nb"},
     1, 609090909, u"", u"611", u"a\r\nb"},
    {"OperatorByNumberAndEuroSign", {"--zone", "4", "--operator", "607003110", "--phone", "6", "--text", "\u20AC"},
     4, 607003110, u"", u"6", u"\u20AC"},
};

class SendLikeTheWindow : public testing::TestWithParam<SameValues> {};

TEST_P(SendLikeTheWindow, DryRunAndUnitSeeTheWindowsReports)
{
    const SameValues& row = GetParam();
    RecordingLibrary window;
    ConfiguratorState state;
    SendZoneConfiguration(state, window, row.zone, row.serviceCentre, row.pin, row.phone, row.text);
    std::string hex;  // one report a line, its bytes in upper-case hex separated by spaces
    std::vector<WireReport> expected;
    for (const Report& r : window.written) {
        hex += QByteArray(reinterpret_cast<const char*>(r.data()), r.size()).toHex(' ').toUpper() + "\n";
        expected.push_back({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
    }

    InProcessUnits units;
    const CliRun dryRun = RunCli(units, QStringList{"send"} + row.arguments + QStringList{"--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out, hex);
    EXPECT_TRUE(units.model.Log().empty());

    const CliRun sent = RunCli(units, QStringList{"send"} + row.arguments);
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_EQ(units.model.Log(), expected);
}

INSTANTIATE_TEST_SUITE_P(EachValueSet, SendLikeTheWindow, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<SameValues>& info) { return info.param.name; });

}  // namespace
