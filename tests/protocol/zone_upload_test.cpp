// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/zone_upload.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

using Write = std::pair<int, int>;  // (address, data)
using Writes = std::vector<Write>;

Writes WritesOf(const std::vector<Report>& reports)
{
    Writes out;
    for (const Report& r : reports)
        out.emplace_back(r[AddressByte], r[DataByte]);
    return out;
}

Writes operator+(Writes a, const Writes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

// Worked out by hand from the address rule.
const Writes Pin1234{{0, '1'}, {0, 0}, {1, '2'}, {2, 0}, {2, '3'}, {2, 0}, {3, '4'}, {4, 0}};
const Writes AmenaSmsc{{5, '6'},  {6, 0},  {6, '5'},  {6, 0},  {7, '6'},  {8, 0},
                       {8, '0'},  {8, 0},  {9, '0'},  {10, 0}, {10, '0'}, {10, 0},
                       {11, '3'}, {12, 0}, {12, '1'}, {12, 0}, {13, '1'}, {14, 0}};

struct UploadCase {
    const char* what;
    std::int32_t zone, smsc;
    std::u16string pin, phone, text;
    Writes expected;  // sent in turn, into one state
};

const UploadCase Uploads[] = {
    {"every field of zone 2", 2, 656000311, u"1234", u"12", u"Hi",
     Pin1234 + AmenaSmsc + Writes{{75, '1'}, {76, 0}, {76, '2'}, {76, 0}, {85, 'H'}, {86, 0}, {86, 'i'}, {86, 0}}},
    {"empty fields send nothing, the others still go", 1, 656000311, u"", u"", u"", AmenaSmsc},
    {"zone 3 phone only", 3, 656000311, u"", u"6", u"", AmenaSmsc + Writes{{135, '6'}, {136, 0}}},
    // Right after zone 3: an unknown zone keeps its base, and the number's
    // decimal text, minus sign and all, is what goes out.
    {"unknown zone", 9, -5, u"", u"7", u"", {{5, '-'}, {6, 0}, {6, '5'}, {6, 0}, {135, '7'}, {136, 0}}},
    {"line break and euro sign as their UTF-16 bytes", 1, 656000311, u"", u"", u"a\r\n\u20AC",
     AmenaSmsc + Writes{{25, 'a'}, {26, 0}, {26, 0x0D}, {26, 0}, {27, 0x0A}, {28, 0}, {28, 0xAC}, {28, 0x20}}},
};

struct ZoneUpload : ::testing::Test { ConfiguratorState state; RecordingLibrary library; };

TEST_F(ZoneUpload, SendsEachFieldInOrderOneWholeReportPerByte)
{
    for (const UploadCase& c : Uploads) {
        library.written.clear();
        const UploadOutcome outcome = SendZoneConfiguration(state, library, c.zone, c.smsc, c.pin, c.phone, c.text);
        EXPECT_EQ(WritesOf(library.written), c.expected) << c.what;
        EXPECT_EQ(outcome.reportsSent, c.expected.size()) << c.what;
        EXPECT_TRUE(outcome.Complete()) << c.what;
        for (const Report& r : library.written)
            EXPECT_EQ((Report{0, 0, 0, 0, 0, 0, CmdWriteByte, r[DataByte], r[AddressByte]}), r) << c.what;
        EXPECT_EQ(state.SelectedZone, DecimalText(c.zone)) << c.what;
        EXPECT_EQ(state.SelectedSmsc, DecimalText(c.smsc)) << c.what;
    }
}

TEST_F(ZoneUpload, EndsThePressAtAnAddressAbove255OrARefusedWriteAndSaysWhere)
{
    const Writes& whole = Uploads[0].expected;
    struct Case {
        std::size_t accepted;        // writes the library takes
        std::u16string text;         // of zone 2
        std::size_t sent;
        std::optional<std::int64_t> stoppedAt, refusedAt;
    };
    const Case cases[] = {
        {0, u"Hi", 0, {}, 0},  // refused at the first PIN report,
        {11, u"Hi", 11, {}, 6},  // inside the service centre,
        {31, u"Hi", 31, {}, 86},  // inside the text
        // Zone 2's text would pass 255 at its 171st unit: nothing is wrapped
        // or clamped, and nothing after it goes out.
        {9999, std::u16string(171, u'x'), 8 + 18 + 4 + 2 * 170 + 1, 256, {}},
    };
    for (const Case& c : cases) {
        library.written.clear();
        library.acceptedWrites = c.accepted;
        const UploadOutcome outcome = SendZoneConfiguration(state, library, 2, 656000311, u"1234", u"12", c.text);
        EXPECT_EQ(outcome.refusedAtAddress, c.refusedAt) << c.accepted;
        EXPECT_EQ(outcome.stoppedAtAddress, c.stoppedAt) << c.accepted;
        EXPECT_FALSE(outcome.Complete());
        EXPECT_EQ(outcome.reportsSent, c.sent);
        ASSERT_EQ(library.written.size(), c.sent);
        const long common = std::min<long>(static_cast<long>(c.sent), 30);
        EXPECT_EQ(WritesOf({library.written.begin(), library.written.begin() + common}), Writes(whole.begin(), whole.begin() + common));
    }
    EXPECT_EQ(library.written.back()[AddressByte], 255);
}

TEST_F(ZoneUpload, ReadBackRequestCarriesTheZoneAndTheLastWrite)
{
    state.SelectedZone = u"2";
    ASSERT_TRUE(RequestZoneReadBack(state, library));
    EXPECT_EQ(library.written.back(), (Report{0, 0, 0, 0, 0, 0, 2, 0, 0}));
    SendZoneConfiguration(state, library, 2, 656000311, u"1234", u"12", u"Hi");
    state.SelectedZone = u"3";
    ASSERT_TRUE(RequestZoneReadBack(state, library));
    EXPECT_EQ(library.written.back(), (Report{0, 0, 0, 0, 0, 0, 3, 0, 0x56}));
}

// Any other command byte would make the unit act on the last write's leftover
// data and address.
TEST_F(ZoneUpload, ReadBackRefusesAZoneOutsideOneToFour)
{
    for (const std::u16string zone : {u"", u"0", u"5", u"10", u" 1", u"01", u"-1", u"x"}) {
        state.SelectedZone = zone;
        EXPECT_FALSE(RequestZoneReadBack(state, library)) << std::string(zone.begin(), zone.end());
    }
    EXPECT_TRUE(library.written.empty());
    EXPECT_EQ(state.ReportOut, Report{});
}

}  // namespace
