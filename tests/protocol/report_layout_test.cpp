#include "protocol/report_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

std::vector<std::int64_t> Addresses(std::int64_t offset, std::size_t byteCount)
{
    std::vector<std::int64_t> out;
    for (std::size_t i = 0; i < byteCount; ++i)
        out.push_back(HalfEvenAddress(offset, i));
    return out;
}

}  // namespace

TEST(HalfEvenAddress, TiesGoToTheEvenNeighbourAfterTheAddition)
{
    // Four-character PIN at 0 and four-character phone in zone 1: the offset's
    // parity moves the ties.
    EXPECT_EQ(Addresses(PinOffset, 8), (std::vector<std::int64_t>{0, 0, 1, 2, 2, 2, 3, 4}));
    EXPECT_EQ(Addresses(15, 8), (std::vector<std::int64_t>{15, 16, 16, 16, 17, 18, 18, 18}));
    // Neither offset + i/2 truncated nor offset + round(i/2).
    EXPECT_EQ(HalfEvenAddress(15, 1), 16);
    EXPECT_EQ(HalfEvenAddress(0, 3), 2);
}

TEST(HalfEvenAddress, LongestFieldsEndOnTheLastAddressOfTheirArea)
{
    EXPECT_EQ(HalfEvenAddress(PinOffset, 2 * PinMaxLength - 1), 4);
    EXPECT_EQ(HalfEvenAddress(SmscOffset, 2 * 9 - 1), 14);
    for (const ZoneEntry& zone : ZoneTable) {
        EXPECT_EQ(HalfEvenAddress(zone.base, 2 * PhoneMaxLength - 1), zone.base + 9);
        EXPECT_EQ(HalfEvenAddress(zone.base + TextOffset, 2 * TextMaxLength - 1), zone.base + 59);
    }
    // The 51st character of a zone-4 text would need address 256.
    EXPECT_EQ(HalfEvenAddress(195 + TextOffset, 2 * 51 - 1), 256);
}

TEST(EncodeField, IsUtf16LittleEndianWithoutTerminator)
{
    EXPECT_TRUE(EncodeField(u"").empty());
    EXPECT_EQ(EncodeField(u"Hi"), (std::vector<std::uint8_t>{0x48, 0x00, 0x69, 0x00}));
    EXPECT_EQ(EncodeField(u"\r\n"), (std::vector<std::uint8_t>{0x0D, 0x00, 0x0A, 0x00}));
    EXPECT_EQ(EncodeField(u"\u20AC"), (std::vector<std::uint8_t>{0xAC, 0x20}));
    EXPECT_EQ(EncodeField(u"\u00F1"), (std::vector<std::uint8_t>{0xF1, 0x00}));
}

TEST(CharacterOfInputByte, AsciiThenWindows1252)
{
    EXPECT_EQ(CharacterOfInputByte(0x00), u'\0');
    EXPECT_EQ(CharacterOfInputByte('6'), u'6');
    EXPECT_EQ(CharacterOfInputByte(0x7F), char16_t{0x7F});
    EXPECT_EQ(CharacterOfInputByte(0x80), u'\u20AC');
    EXPECT_EQ(CharacterOfInputByte(0x9F), u'\u0178');
    EXPECT_EQ(CharacterOfInputByte(0xF1), u'\u00F1');  // the ñ of "Compañia"
    EXPECT_EQ(CharacterOfInputByte(0xFF), u'\u00FF');
    // The five bytes Windows-1252 leaves undefined stand for themselves.
    for (const std::uint8_t undefinedByte : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(CharacterOfInputByte(undefinedByte), char16_t{undefinedByte});
}

TEST(DecimalText, HasMinusSignAndNoLeadingSpace)
{
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(609090909), u"609090909");
    EXPECT_EQ(DecimalText(-42), u"-42");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(ZoneTable, BlocksAreSixtyBytesFromFifteen)
{
    for (std::size_t i = 0; i < ZoneTable.size(); ++i) {
        const std::int32_t zone = static_cast<std::int32_t>(i) + 1;
        EXPECT_EQ(ZoneTable[i].zone, zone);
        EXPECT_EQ(ZoneTable[i].base, 15 + 60 * (zone - 1));
        EXPECT_EQ(ZoneTable[i].text, u"Zona " + DecimalText(zone));
    }
    // The last block ends on the last address a report can carry.
    EXPECT_EQ(ZoneTable.back().base + 59, 254);
}
