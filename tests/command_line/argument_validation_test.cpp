// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Values that just fit pass (--dry-run); bad ones are refused before anything reaches the unit.

#include <gtest/gtest.h>

#include "cli_harness.h"

namespace {

struct BadInput {
    const char* name;
    Args arguments;  // "FILE": a file holding `file`
    int status;
    const char* message;  // part of err
    std::string file = {};
    std::vector<ListedUnit> listed = {};  // empty: one openable unit
};

std::string Backup(const std::string& zones, const std::string& op = "\"AMENA\"", const std::string& version = "1")
{
    return R"({"format": "velbrix-qorun-backup", )" + (version.empty() ? "" : R"("version": )" + version + ", ") +
           R"("operator": )" + op + R"(, "zones": [)" + zones + "]}";
}

Args Send(const std::string& zone, const std::string& op, const std::string& phone, const std::string& text)
{ return {"send", "--zone", zone, "--operator", op, "--phone", phone, "--text", text}; }

const std::string Zone1 = R"({"zone": 1, "phone": "611222333", "text": "Zona uno"})";
const Args SendOk = Send("1", "AMENA", "1", "a");

const BadInput Rows[] = {
    {"ZoneOutOfRange", Send("5", "AMENA", "1", "a"), 2, "zone: '5' is not a zone"},
    {"UnknownOperator", Send("1", "ORANGE", "1", "a"), 2, "operator: 'ORANGE'"},
    {"OperatorNumberWithLeadingZero", Send("1", "060909090", "1", "a"), 2, "operator"},
    {"PinTooLong", SendOk + Args{"--pin", "12345"}, 2, "pin: 5 UTF-16 units"},
    {"PhoneTooLong", Send("1", "AMENA", "1234567890", "a"), 2, "phone: 10 UTF-16 units"},
    {"LineBreakCountsTwo", Send("1", "AMENA", "1", std::string(48, 'a') + "\n"), 2, "50 UTF-16 units"},
    {"CrLfCountsTwo", Send("1", "AMENA", "1", std::string(48, 'a') + "\r\n"), 2, "50 UTF-16 units"},
    {"CrLfFits", Send("1", "AMENA", "1", std::string(47, 'a') + "\r\n") + Args{"--dry-run"}, 0, ""},
    // JSON's escape is the one way left to write one; the arguments are checked UTF-8.
    {"LoneSurrogate", {"restore", "FILE"}, 2, "not JSON", Backup(R"({"zone": 1, "phone": "1", "text": "\ud800a"})")},
    {"LongestValuesFit",
     Send("4", "622996111", "123456789", std::string(47, 'a') + "\n") + Args{"--pin", "1234", "--dry-run"}, 0, ""},
    // An option's value is the next argument, whatever it starts with.
    {"TextThatIsAnOptionsName", Send("1", "AMENA", "1", "--all") + Args{"--dry-run"}, 0, ""},
    {"ZoneGivenEmptyAfterAnEqualsSign", {"show", "--zone="}, 2, "zone: '' is not a zone"},
    {"SeveralUnknownOptionsAllNamed", {"list", "-xy", "--foo=1"}, 2, "Unknown options: x, y, foo."},
    {"OneUnknownOption", {"list", "--foo"}, 2, "Unknown option 'foo'."},
    {"FlagGivenAValue", {"show", "--all=3"}, 2, "Unexpected value after '--all'."},
    {"ValueMissingAtTheEnd", {"show", "--zone"}, 2, "Missing value after '--zone'."},
    {"SendWithoutPhone", {"send", "--zone", "1", "--operator", "AMENA", "--text", "a"}, 2, "send needs --phone"},
    {"ShowZoneAndAll", {"show", "--zone", "1", "--all"}, 2, "not both"},
    {"UnknownCommand", {"erase"}, 2, "unknown command 'erase'"},
    {"OptionOfAnotherCommand", {"list", "--verify"}, 2, "list does not take --verify"},
    {"BackupWithoutFile", {"backup"}, 2, "backup needs one FILE"},
    {"BackupIntoMissingFolder", {"backup", "/nonexistent-folder/unit.json"}, 2, "cannot write"},
    {"RestoreMissingFile", {"restore", "/nonexistent-folder/unit.json"}, 2, "cannot read"},
    {"RestoreNotJson", {"restore", "FILE"}, 2, "not JSON", "{\"zones\": ["},
    {"RestoreNumberPastADouble", {"restore", "FILE"}, 2, "not JSON: number overflow", Backup(Zone1, "\"AMENA\"", "8e403")},
    {"RestoreOtherFormat", {"restore", "FILE"}, 2, "format", R"({"format": "other"})"},
    {"RestoreNewerVersion", {"restore", "FILE"}, 2, "version: only versions 1 and 2", Backup(Zone1, "\"AMENA\"", "3")},
    {"RestoreWithoutVersion", {"restore", "FILE"}, 2, "version: only versions 1 and 2", Backup(Zone1, "\"AMENA\"", "")},
    {"RestoreVersionAsText", {"restore", "FILE"}, 2, "version: only versions 1 and 2", Backup(Zone1, "\"AMENA\"", "\"2\"")},
    {"RestorePhoneAsNumber", {"restore", "FILE"}, 2, "zones[0].phone: missing or not a string",
     Backup(R"({"zone": 1, "phone": 611222333, "text": "a"})")},
    // Version 2 holds CR LF as it is: two units towards the limit.
    {"RestoreExactTextTooLong", {"restore", "FILE"}, 2, "zones[0].text (CR LF counts two): 50 UTF-16 units",
     Backup(R"({"zone": 1, "phone": "1", "text": ")" + std::string(48, 'a') + R"(\r\n"})", "\"AMENA\"", "2")},
    {"RestoreNoZones", {"restore", "FILE"}, 2, "zones: missing, empty", Backup("")},
    {"RestoreZoneNotWhole", {"restore", "FILE"}, 2, "zones[0].zone",
     Backup(R"({"zone": 1.5, "phone": "1", "text": "a"})")},
    {"RestoreZoneTwice", {"restore", "FILE"}, 2, "appears twice", Backup(Zone1 + "," + Zone1)},
    // The fault sits in the last zone: the first must not have been sent.
    {"RestoreLastZoneTooLong", {"restore", "FILE"}, 2, "zones[1].text",
     Backup(Zone1 + R"(, {"zone": 4, "phone": "1", "text": ")" + std::string(50, 'a') + "\"}")},
    {"ProvisionCountZero", {"provision", "FILE", "--count", "0"}, 2, "count: '0' is not", Backup(Zone1)},
    {"ProvisionCountSigned", {"provision", "FILE", "--count", "+2"}, 2, "count: '+2' is not", Backup(Zone1)},
    {"ProvisionCountPastItsLimit", {"provision", "FILE", "--count", "1000000000"}, 2, "count: '1000000000' is not", Backup(Zone1)},
    {"ProvisionParallelZero", {"provision", "FILE", "--parallel", "0"}, 2, "parallel: '0' is not a whole number", Backup(Zone1)},
    // Accepted: only the missing watch for units stops it.
    {"ProvisionCountAtItsLimit", {"provision", "FILE", "--count", "999999999"}, 3, "cannot watch for units", Backup(Zone1)},
    {"ProvisionLogWithoutName", {"provision", "FILE", "--log", ""}, 2, "--log needs a file name", Backup(Zone1)},
    {"ProvisionLogUnwritable", {"provision", "FILE", "--log", "/nonexistent-folder/units.log"}, 2,
     "cannot write /nonexistent-folder/units.log", Backup(Zone1)},
    {"SeveralUnitsWithoutDevice", SendOk, 2, "several units attached; pick one with --device NODE:\n/dev/hidraw1", {},
     {{"/dev/hidraw1", ListedUnit::Access::Openable}, {"/dev/hidraw2", ListedUnit::Access::Openable}}},
    {"DeviceThatIsNoUnit", Args{"--device", "/dev/hidraw9"} + SendOk, 3, "no unit attached at /dev/hidraw9"},
    {"UnitThatMayNotBeOpened", SendOk, 3, "permission denied)\n  Fix: install the udev rule", {},
     {{"/dev/hidraw1", ListedUnit::Access::Denied}}},
};

class ArgumentValidation : public testing::TestWithParam<BadInput> {};

TEST_P(ArgumentValidation, IsRefusedWithItsStatusAndMessageAndSendsNothing)
{
    const BadInput& row = GetParam();
    InProcessUnits units;
    if (!row.listed.empty())
        units.listed = row.listed;
    const TempDir dir;
    const CliRun run = RunCli(units, row.arguments, Written(dir.FilePath("unit.json"), row.file));
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
    EXPECT_TRUE(units.model.Log().empty()) << "reports reached the unit";
}

INSTANTIATE_TEST_SUITE_P(EachInput, ArgumentValidation, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<BadInput>& info) { return info.param.name; });

}  // namespace
