// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/report_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

struct AddressRun {
    const char* field;
    std::int64_t offset;
    std::vector<std::int64_t> addresses;  // of bytes 0, 1, 2, ...
};

// Worked sequences: the offset's parity decides where the ties go, so this
// is neither offset + i div 2 nor offset + round(i / 2).
const AddressRun Runs[] = {
    {"PIN of four", PinOffset, {0, 0, 1, 2, 2, 2, 3, 4}},
    {"zone 1 phone of four", 15, {15, 16, 16, 16, 17, 18, 18, 18}},
    {"service centre", SmscOffset, {5, 6, 6, 6, 7, 8, 8, 8, 9, 10, 10, 10, 11, 12, 12, 12, 13, 14}},
};

TEST(HalfEvenAddress, FollowsTheWorkedSequences)
{
    for (const AddressRun& run : Runs) {
        std::vector<std::int64_t> got;
        for (std::size_t i = 0; i < run.addresses.size(); ++i)
            got.push_back(HalfEvenAddress(run.offset, i));
        EXPECT_EQ(got, run.addresses) << run.field;
    }
}

// The system's Windows-1252 table is the reference. Windows maps the five
// bytes iconv leaves undefined to the C1 controls: either way they stand for themselves.
#ifdef _WIN32
constexpr int UndefinedInSystemTable = 0;
std::optional<char16_t> SystemCharacter(std::uint8_t byte)
{
    const char in = static_cast<char>(byte);
    wchar_t out = 0;
    if (MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1)
        return std::nullopt;
    return static_cast<char16_t>(out);
}
#else
constexpr int UndefinedInSystemTable = 5;  // 0x81, 0x8D, 0x8F, 0x90, 0x9D
std::optional<char16_t> SystemCharacter(std::uint8_t byte)
{
    const iconv_t cp1252 = iconv_open("UTF-16LE", "WINDOWS-1252");
    if (cp1252 == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;  // all 256 undefined: the count below fails
    char in = static_cast<char>(byte), out[2] = {};
    char *inPtr = &in, *outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const bool defined = iconv(cp1252, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cp1252);
    if (!defined)
        return std::nullopt;
    return static_cast<char16_t>(static_cast<std::uint8_t>(out[0]) | static_cast<std::uint8_t>(out[1]) << 8);
}
#endif

TEST(CharacterOfInputByte, IsWindows1252WithItsFiveUndefinedBytesKept)
{
    int undefined = 0;
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        const std::optional<char16_t> reference = SystemCharacter(byte);
        undefined += !reference;
        EXPECT_EQ(CharacterOfInputByte(byte), reference.value_or(char16_t{byte})) << "byte " << value;
    }
    EXPECT_EQ(undefined, UndefinedInSystemTable);
}

}  // namespace
