// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `send` puts out what the window's send button does for the same values, in
// the dry run's printout and at the unit.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli_harness.h"
#include "protocol/utf8_text.h"
#include "protocol/zone_upload.h"

namespace {

TEST(UnitCommands, ShowNamesAKnownOperatorAndGivesAnUnknownOnesNumber)
{
    InProcessUnits original;
    LoadZones(original.model);
    const CliRun json = RunCli(original, {"show", "--zone", "2", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(Json(json.out), Json(R"(
        {"operator": "AMENA", "zones": [{"zone": 2, "phone": "622000111", "text": "Puerta principal"}]})"))
        << json.out;

    original.model.StoreServiceCentre("612345678");
    EXPECT_EQ(RunCli(original, {"show", "--zone", "2"}),
              (CliRun{0, "operator: 612345678\nzone 2\n  phone: 622000111\n  text: Puerta principal\n", ""}));
}

// What a unit may hold in a text, as `show` prints it; JSON and the backup
// hold it exactly, so a restore gives a fresh unit the same bytes.
struct HeldText {
    const char* name;
    std::string held;   // Latin-1, as stored
    std::string shown;  // UTF-8, as printed
};
const HeldText HeldTexts[] = {
    {"LoneLf", "Zona\nuno", "Zona\\nuno"},
    {"CrBeforeALineBreak", "a\r\r\nb", "a\\r\nb"},
    {"LfBeforeACr", "a\n\rb", "a\\n\\rb"},
    {"AtTheLimitEndingInALoneLf", std::string(48, 'z') + "\n", std::string(48, 'z') + "\\n"},
};

class TextRoundTrip : public testing::TestWithParam<HeldText> {};

TEST_P(TextRoundTrip, ShowsItPlainlyAndRestoresItExactly)
{
    InProcessUnits original;
    LoadZones(original.model);
    original.model.StoreZone(2, "622000111", GetParam().held);
    EXPECT_EQ(RunCli(original, {"show", "--zone", "2"}),
              (CliRun{0, "operator: AMENA\nzone 2\n  phone: 622000111\n  text: " + GetParam().shown + "\n", ""}));
    const CliRun json = RunCli(original, {"show", "--zone", "2", "--json"});
    const auto* latin1 = reinterpret_cast<const unsigned char*>(GetParam().held.data());
    EXPECT_EQ(Json(json.out).value("/zones/0/text"_json_pointer, ""),
              ToUtf8(std::u16string(latin1, latin1 + GetParam().held.size()))) << json.out;

    const TempDir dir;
    const std::string path = dir.FilePath("unit.json");
    ASSERT_EQ(RunCli(original, {"backup", path}).status, 0);
    InProcessUnits fresh;
    EXPECT_EQ(RunCli(fresh, {"restore", path, "--pin", "1234", "--verify"}),
              (CliRun{0, "4 zones restored from " + path + "\nverified: the unit holds what the file holds\n", ""}));
    const auto& memory = fresh.model.Memory();
    EXPECT_EQ(std::string(memory.begin(), memory.begin() + 5), std::string("1234\0", 5));
    EXPECT_TRUE(std::equal(memory.begin() + 5, memory.end(), original.model.Memory().begin() + 5));
}

INSTANTIATE_TEST_SUITE_P(Texts, TextRoundTrip, testing::ValuesIn(HeldTexts),
                         [](const auto& info) { return std::string(info.param.name); });

struct SameValues {
    const char* name;
    std::int32_t zone, serviceCentre;  // as the window passes them, line breaks as CR LF
    std::u16string pin, phone, text;
    Args arguments;  // after "send"
};

const SameValues Rows[] = {
    {"OperatorByNumberPinEuroSignAndCrLf", 2, 607003110, u"1234", u"12", u"\u20AC\r\nb",
     {"--zone", "2", "--operator", "607003110", "--pin", "1234", "--phone", "12", "--text", "\u20AC\r\nb"}},
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
        for (std::size_t i = 0; i < r.size(); ++i)
            hex += {"0123456789ABCDEF"[r[i] >> 4], "0123456789ABCDEF"[r[i] & 15], i + 1 < r.size() ? ' ' : '\n'};
        expected.push_back({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
    }
    InProcessUnits units;
    EXPECT_EQ(RunCli(units, Args{"send"} + row.arguments + Args{"--dry-run"}), (CliRun{0, hex, ""}));
    // Also shows that the dry run sent nothing.
    EXPECT_EQ(RunCli(units, Args{"send"} + row.arguments).status, 0);
    EXPECT_EQ(units.model.Log(), expected);
}

INSTANTIATE_TEST_SUITE_P(EachValueSet, SendLikeTheWindow, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<SameValues>& info) { return info.param.name; });

}  // namespace
