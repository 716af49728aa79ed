#include "protocol/zone_upload.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

using Write = std::pair<int, int>;  // (address, data)

std::vector<Write> Writes(const std::vector<Report>& reports)
{
    std::vector<Write> out;
    for (const Report& r : reports)
        out.emplace_back(r[AddressByte], r[DataByte]);
    return out;
}

// (address, data) pairs of one field, worked out by hand from the address rule.
std::vector<Write> Field(std::initializer_list<Write> writes) { return writes; }

std::vector<Write> Concat(std::initializer_list<std::vector<Write>> parts)
{
    std::vector<Write> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

const std::vector<Write> kPin1234 = Field(
    {{0, '1'}, {0, 0}, {1, '2'}, {2, 0}, {2, '3'}, {2, 0}, {3, '4'}, {4, 0}});
const std::vector<Write> kAmenaSmsc = Field(
    {{5, '6'}, {6, 0}, {6, '5'}, {6, 0}, {7, '6'}, {8, 0}, {8, '0'}, {8, 0}, {9, '0'},
     {10, 0}, {10, '0'}, {10, 0}, {11, '3'}, {12, 0}, {12, '1'}, {12, 0}, {13, '1'}, {14, 0}});
const std::vector<Write> kPhone12Zone2 = Field({{75, '1'}, {76, 0}, {76, '2'}, {76, 0}});
const std::vector<Write> kHiZone2 = Field({{85, 'H'}, {86, 0}, {86, 'i'}, {86, 0}});

class ZoneUpload : public ::testing::Test {
protected:
    ConfiguratorState state;
    RecordingLibrary library;

    UploadOutcome Send(std::int32_t zone, std::int32_t smsc, const std::u16string& pin,
                       const std::u16string& phone, const std::u16string& text)
    {
        return SendZoneConfiguration(state, library, zone, smsc, pin, phone, text);
    }
};

}  // namespace

TEST_F(ZoneUpload, SendsEveryFieldInOrderOneReportPerByte)
{
    const UploadOutcome outcome = Send(2, 656000311, u"1234", u"12", u"Hi");

    EXPECT_EQ(Writes(library.written), Concat({kPin1234, kAmenaSmsc, kPhone12Zone2, kHiZone2}));
    EXPECT_EQ(outcome.reportsSent, 34u);
    EXPECT_TRUE(outcome.Complete());
    for (const Report& r : library.written) {
        EXPECT_EQ(r[CommandByte], CmdWriteByte);
        for (std::size_t b = 0; b < 6; ++b)
            EXPECT_EQ(r[b], 0) << "byte " << b;
    }
    EXPECT_EQ(state.SelectedZone, u"2");
    EXPECT_EQ(state.ZoneBase, 75);
    EXPECT_EQ(state.SelectedSmsc, u"656000311");
}

TEST_F(ZoneUpload, TextReportsAreWholeNineByteBuffers)
{
    Send(2, 656000311, u"", u"", u"Hi");
    ASSERT_EQ(library.written.size(), 18u + 4u);
    const Report firstTextReport = library.written[18];
    EXPECT_EQ(firstTextReport, (Report{0, 0, 0, 0, 0, 0, 0x0A, 0x48, 0x55}));
}

TEST_F(ZoneUpload, EmptyFieldsSendNothingButTheOthersStillGo)
{
    Send(1, 622996111, u"", u"", u"");
    // Only the service centre, YOIGO's, from address 5 on.
    ASSERT_EQ(library.written.size(), 18u);
    std::u16string digits;
    for (std::size_t i = 0; i < library.written.size(); i += 2) {
        digits.push_back(library.written[i][DataByte]);
        EXPECT_EQ(library.written[i + 1][DataByte], 0);
    }
    EXPECT_EQ(digits, u"622996111");
    EXPECT_EQ(library.written.front()[AddressByte], SmscOffset);
    EXPECT_EQ(library.written.back()[AddressByte], 14);
}

TEST_F(ZoneUpload, LineBreaksAndNonLatinCharactersGoAsTheirUtf16Bytes)
{
    Send(1, 609090909, u"", u"", u"a\r\n\u20AC");
    std::vector<int> textBytes;
    for (std::size_t i = 18; i < library.written.size(); ++i)
        textBytes.push_back(library.written[i][DataByte]);
    EXPECT_EQ(textBytes, (std::vector<int>{'a', 0, 0x0D, 0, 0x0A, 0, 0xAC, 0x20}));
    EXPECT_EQ(library.written[18][AddressByte], 25);
}

TEST_F(ZoneUpload, PressingTwiceSendsTheSameSequenceTwice)
{
    Send(2, 656000311, u"1234", u"12", u"Hi");
    const std::vector<Report> first = library.written;
    Send(2, 656000311, u"1234", u"12", u"Hi");
    ASSERT_EQ(library.written.size(), 2 * first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), library.written.begin() + first.size()));
}

TEST_F(ZoneUpload, LongestTextInZoneFourEndsOnAddress254)
{
    const std::u16string text(49, u'x');
    const UploadOutcome outcome = Send(4, 609090909, u"", u"", text);
    EXPECT_TRUE(outcome.Complete());
    EXPECT_EQ(library.written.size(), 18u + 98u);
    EXPECT_EQ(library.written[18][AddressByte], 205);
    EXPECT_EQ(Writes({library.written.back()}), (std::vector<Write>{{254, 0}}));
}

TEST_F(ZoneUpload, StopsBeforeAnAddressAboveTheLastAndSaysWhere)
{
    const std::u16string text(51, u'x');
    const UploadOutcome outcome = Send(4, 609090909, u"1234", u"5", text);

    EXPECT_FALSE(outcome.Complete());
    ASSERT_TRUE(outcome.stoppedAtAddress.has_value());
    EXPECT_EQ(*outcome.stoppedAtAddress, 256);
    // Everything up to the last address went out, nothing was wrapped or clamped.
    const std::size_t textWrites = 101;  // byte 100 lands on 255, byte 101 would need 256
    EXPECT_EQ(outcome.reportsSent, 8u + 18u + 2u + textWrites);
    EXPECT_EQ(library.written.size(), outcome.reportsSent);
    EXPECT_EQ(library.written.back()[AddressByte], 255);
}

TEST_F(ZoneUpload, UnknownZoneKeepsThePreviousBase)
{
    Send(3, 609090909, u"", u"", u"");
    EXPECT_EQ(state.ZoneBase, 135);
    library.written.clear();
    Send(9, -5, u"", u"7", u"");
    EXPECT_EQ(state.ZoneBase, 135);
    EXPECT_EQ(state.SelectedZone, u"9");
    // The number's decimal text, minus sign and all, is what goes out.
    EXPECT_EQ(state.SelectedSmsc, u"-5");
    ASSERT_EQ(library.written.size(), 4u + 2u);
    EXPECT_EQ(library.written[0][DataByte], '-');
    EXPECT_EQ(library.written[4][AddressByte], 135);
}

TEST(ZoneReadBack, RequestCarriesTheZoneAndTheLastWrite)
{
    ConfiguratorState state;
    RecordingLibrary library;
    state.SelectedZone = u"2";
    ASSERT_TRUE(RequestZoneReadBack(state, library));
    EXPECT_EQ(library.written.back(), (Report{0, 0, 0, 0, 0, 0, 2, 0, 0}));

    SendZoneConfiguration(state, library, 2, 656000311, u"1234", u"12", u"Hi");
    state.SelectedZone = u"3";
    ASSERT_TRUE(RequestZoneReadBack(state, library));
    EXPECT_EQ(library.written.back(), (Report{0, 0, 0, 0, 0, 0, 3, 0, 0x56}));
}

TEST(ZoneReadBack, RefusesAZoneOutsideOneToFour)
{
    // Any other command byte would make the unit act on the last write's
    // leftover data and address.
    ConfiguratorState state;
    RecordingLibrary library;
    for (const std::u16string zone : {u"", u"0", u"5", u"10", u" 1", u"01", u"-1", u"x"}) {
        state.SelectedZone = zone;
        EXPECT_FALSE(RequestZoneReadBack(state, library)) << std::string(zone.begin(), zone.end());
    }
    EXPECT_TRUE(library.written.empty());
    EXPECT_EQ(state.ReportOut, Report{});
}
