// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Arguments are checked for UTF-8 wherever they stand; all output is UTF-8.

#include <gtest/gtest.h>

#include "cli_harness.h"
#include "command_line/argument_encoding.h"

namespace {

struct Arguments {
    const char* name;
    std::vector<std::string> arguments;  // after the program name
    std::string refused;                 // empty: accepted
};

const Arguments ArgumentRows[] = {
    {"EnyeEuroAndAFourByteCharacterPass", {"send", "--text", "a\xC3\xB1\xE2\x82\xAC\xF0\x9D\x84\x9E"}, ""},
    {"TheCommand", {"\xFF"}, "argument 1"},
    {"AValueJoinedToItsOption", {"send", "--text=\xC3"}, "argument 2"},
    {"AnOverlongFormLast", {"restore", "--verify", "\xC0\xAF"}, "argument 3"},
    {"TheFirstOfTwo", {"show", "\xFE", "\xFF"}, "argument 2"},
};

class ArgumentEncoding : public testing::TestWithParam<Arguments> {};

TEST_P(ArgumentEncoding, NamesTheFirstArgumentThatIsNotUtf8)
{
    std::vector<const char*> argv{"velbrix-qorun-cli"};
    for (const std::string& argument : GetParam().arguments)
        argv.push_back(argument.c_str());
    const Failure failure = CheckArgumentEncoding(static_cast<int>(argv.size()), argv.data());
    const std::string& refused = GetParam().refused;
    EXPECT_EQ(failure.status, refused.empty() ? ExitOk : ExitBadInput);
    EXPECT_EQ(failure.message, refused.empty() ? "" : refused + " is not valid UTF-8; nothing sent\n");
}

INSTANTIATE_TEST_SUITE_P(Each, ArgumentEncoding, testing::ValuesIn(ArgumentRows),
                         [](const testing::TestParamInfo<Arguments>& info) { return info.param.name; });

struct Printed {
    const char* name;
    Args arguments;
    bool onErr;
    std::string expected;  // part of out or err, as bytes
};

const Printed PrintedRows[] = {
    {"Text", {"show", "--zone", "1"}, false, "  text: A\xC3\xB1o \xE2\x82\xAC\n"},
    {"Json", {"show", "--zone", "1", "--json"}, false, "\"text\": \"A\xC3\xB1o \xE2\x82\xAC\""},
    {"Message", {"send", "--zone", "1", "--operator", "\u00D1\u20AC", "--phone", "1", "--text", "a"}, true,
     "operator: '\xC3\x91\xE2\x82\xAC' is neither"},
};

class Utf8Output : public testing::TestWithParam<Printed> {};

TEST_P(Utf8Output, CarriesEnyeAndEuroSignAsUtf8)
{
    InProcessUnits units;
    units.model.StoreServiceCentre("656000311");
    units.model.StoreZone(1, "611222333", "A\xF1o \x80");  // Windows-1252 on the wire
    const CliRun run = RunCli(units, GetParam().arguments);
    EXPECT_NE((GetParam().onErr ? run.err : run.out).find(GetParam().expected), std::string::npos)
        << testing::PrintToString(run);
}

INSTANTIATE_TEST_SUITE_P(Each, Utf8Output, testing::ValuesIn(PrintedRows),
                         [](const testing::TestParamInfo<Printed>& info) { return info.param.name; });

}  // namespace
