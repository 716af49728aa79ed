// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/utf8_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Form = std::tuple<const char*, std::string_view, std::u16string_view>;  // name, bytes, units

// Each length's first and last character, and those around the surrogates.
const Form Characters[] = {
    {"empty", "", u""},
    {"one byte", "\x01\x7F", u"\x0001\x007F"},
    {"two bytes", "\xC2\x80\xC3\xB1\xDF\xBF", u"\x0080\x00F1\x07FF"},
    {"three bytes", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF", u"\x0800\x20AC\xFFFF"},
    {"around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", u"\xD7FF\xE000"},
    {"four bytes", "\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0001F600\U0010FFFF"},
};

TEST(Utf8Text, EveryCharacterComesAndGoesUnchanged)
{
    for (const auto& [name, bytes, units] : Characters) {
        EXPECT_EQ(FromUtf8(bytes), units) << name;
        EXPECT_EQ(ToUtf8(units), bytes) << name;
    }
}

// One U+FFFD for each sequence that is no character; what follows is read on.
const Form NoCharacters[] = {
    {"cut at the end", "a\xF0\x9F\x98", u"a\uFFFD"},
    {"cut before a character", "\xE2\x82" "a\xC3" "b", u"\uFFFD" u"a\uFFFD" u"b"},
    {"lone continuation bytes", "\x80" "a\xBF", u"\uFFFD" u"a\uFFFD"},
    {"C0 and C1 leads", "\xC0\x80\xC1\xBF\xC0\xAF", u"\uFFFD\uFFFD\uFFFD"},
    {"overlong three bytes", "\xE0\x80\x80" "a\xE0\x9F\xBF", u"\uFFFD" u"a\uFFFD"},
    {"overlong four bytes", "\xF0\x8F\xBF\xBF" "a", u"\uFFFD" u"a"},
    {"encoded surrogates", "\xED\xA0\x80\xED\xBF\xBF", u"\uFFFD\uFFFD"},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80" "a", u"\uFFFD" u"a"},
    {"never a lead", "\xFE\xFF", u"\uFFFD\uFFFD"},
};

const Form HalfPairs[] = {
    {"high half at the end", "a\xEF\xBF\xBD", u"a\xD83D"},
    {"high half before a letter", "\xEF\xBF\xBD" "b", u"\xD83D" u"b"},
    {"low half alone", "\xEF\xBF\xBD" "b", u"\xDE00" u"b"},
    {"halves the wrong way round", "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDE00\xD83D"},
    {"a high half before a pair", "\xEF\xBF\xBD\xF0\x9F\x98\x80", u"\xD83D\xD83D\xDE00"},
};

TEST(Utf8Text, WhatIsNoCharacterBecomesAReplacementCharacterEitherWay)
{
    for (const auto& [name, bytes, units] : NoCharacters)
        EXPECT_EQ(FromUtf8(bytes), units) << name;
    for (const auto& [name, bytes, units] : HalfPairs)
        EXPECT_EQ(ToUtf8(units), bytes) << name;
}

}  // namespace
