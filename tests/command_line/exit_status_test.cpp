// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The file of the same name is never harmed, whatever the outcome.

#include <gtest/gtest.h>

#include <functional>

#include "cli_harness.h"

namespace {

struct Outcome {
    const char* name;
    std::function<void(InProcessUnits&)> fault;
    Args arguments;   // "FILE": a backup of the loaded unit, or `file`
    CliRun expected;  // "FILE" in it: that file's path
    std::string file = {};
};

using L = ListedUnit;
const std::string Tool = "velbrix-qorun-cli: ", Fix = "  Fix: install the udev rule\n", NoUnit = Tool + "no unit attached\n";
// The progress lines up to zone k of n.
std::string Steps(const std::string& what, int k, int n)
{ return k == 0 ? "" : Steps(what, k - 1, n) + what + ": zone " + std::to_string(k) + " of " + std::to_string(n) + "\n"; }
std::string Differs(const std::string& what, const std::string& file, const std::string& unit)
{ return what + ": file has \"" + file + "\", unit has \"" + unit + "\"\n"; }
CliRun Verified(const std::string& differences, int n = 4)
{
    const bool same = differences.empty();
    return {same ? 0 : 4, std::to_string(n) + " zones restored from FILE\n" + (same ? "verified: the unit holds what the file holds\n" : differences),
            Steps("restore", n, n) + Steps("verify", n, n) + (same ? "" : Tool + "verify found differences\n")};
}
const std::string Zone1 = "operator: AMENA\nzone 1\n  phone: 611222333\n  text: Zona\\runo\n", Show1Of1 = "show: zone 1 of 1\n";
const Args Show1{"show", "--zone", "1"}, Backup{"backup", "FILE"}, RestoreVerify{"restore", "FILE", "--verify"};
const std::string Zone3 = R"({"format": "velbrix-qorun-backup", "version": 1, "operator": "AMENA", "zones": [{"zone": 3, "phone": "3", "text": "c"}]})";
auto Altered(std::vector<int> addresses) { return [addresses](InProcessUnits& u) { u.library.altered = addresses; }; }
auto Paced(Pacing pacing) { return [pacing](InProcessUnits& u) { u.Pace(pacing); }; }
auto Unplugged(int afterWrites) { return [afterWrites](InProcessUnits& u) { u.library.unplugAfterWrites = afterWrites; }; }

const Outcome Outcomes[] = {
    {"ListNamesEachUnitAndTheFixOnce", [](InProcessUnits& u) { u.listed = {{"/dev/hidraw1", L::Access::Openable},
         {"/dev/hidraw2", L::Access::Denied}, {"/dev/hidraw3", L::Access::Denied}, {"/dev/hidraw4", L::Access::Failed}}; }, {"list"},
     {0, "/dev/hidraw1\tcan be opened\n/dev/hidraw2\tpermission denied\n/dev/hidraw3\tpermission denied\n/dev/hidraw4\tcannot be opened\n", Fix}},
    {"NoUnitListed", [](InProcessUnits& u) { u.listed.clear(); }, Backup, {3, "", NoUnit}},
    {"ListedButCannotBeOpened", [](InProcessUnits& u) { u.listed = {{"/dev/hidraw7", L::Access::Failed}}; }, Backup,
     {3, "", Tool + "the unit at /dev/hidraw7 cannot be opened\n"}},
    {"RefusedWhenOpened", [](InProcessUnits& u) { u.library.denied = true; }, Backup,
     {3, "", Tool + "the unit at /dev/hidraw7 may not be opened by this user (permission denied)\n" + Fix}},
    {"GoneWhenOpened", [](InProcessUnits& u) { u.library.Unplug(); }, Backup, {3, "", NoUnit}},
    {"SilentBackup", [](InProcessUnits& u) { u.library.silent = true; }, Backup, {3, "", "backup: zone 1 of 4\n" + Tool +
     "no answer from the unit within 200 ms after asking for zone 1\n0 of 4 zones had been read\n" + Tool + "no backup written\n"}},
    {"UnpluggedAtTheThirdRequest", Unplugged(2), Backup, {3, "", Steps("backup", 3, 4) + Tool + "the unit was unplugged while "
     "zone 3 was being read (0 reports had come)\n2 of 4 zones had been read\n" + Tool + "no backup written\n"}},
    // The zone by its number, 3, though it is the file's first.
    {"UnpluggedDuringTheReadBackOfTheOnlyZone", [](InProcessUnits& u) { u.library.unplugAfterReads = 1; }, RestoreVerify,
     {3, "1 zones restored from FILE\n", Steps("restore", 1, 1) + Steps("verify", 1, 1) + Tool +
      "the unit was unplugged while zone 3 was being read (1 reports had come)\n0 of 1 zones had been read\n"}, Zone3},
    {"UnpluggedDuringTheThirdUpload", Unplugged(52 + 68 + 21), {"restore", "FILE"}, {3, "", Steps("restore", 3, 4) + Tool +
     "the unit went away during the upload of zone 3: 21 reports sent, stopped at address 136 (2 of 4 zones restored before it)\n"}},
    {"StoppedTakingReportsDuringSend", [](InProcessUnits& u) { u.library.refuseAfterWrites = 11, u.timings.unplugNotice = {}; },
     {"send", "--zone", "2", "--operator", "AMENA", "--phone", "1", "--text", "a"},
     {3, "", Tool + "the unit stopped taking reports during the upload of zone 2: 11 reports sent, stopped at address 10\n"}},
    // restore --verify: the operator and every field of each zone in the file.
    {"VerifyZone3TextsBreak", Altered({152}), RestoreVerify,
     Verified(Differs("zone 3 text", "Linea 1\nLinea 2 \xC3\xB1", "Linea 1X\\nLinea 2 \xC3\xB1"))},
    {"VerifyZone1PhoneAndOperator", Altered({15, 5}), RestoreVerify,
     Verified(Differs("operator", "AMENA", "X56000311") + Differs("zone 1 phone", "611222333", "X11222333"))},
    {"VerifyZone4", Altered({195, 253}), RestoreVerify, Verified(Differs("zone 4 phone", "644777888", "X44777888") +
                                                                 Differs("zone 4 text", std::string(49, 'z'), std::string(48, 'z') + "X"))},
    {"VerifiedZone3", Altered({}), RestoreVerify, Verified("", 1), Zone3},
    {"VerifyZone3", Altered({5, 135, 145}), RestoreVerify, Verified(Differs("operator", "AMENA", "X56000311") +
                                                                   Differs("zone 3 phone", "3", "X") + Differs("zone 3 text", "c", "X"), 1), Zone3},
    // A read-back's times: 2 s for the first report, the end 6 of its longest gaps (300 ms at least) after the last...
    {"FirstReportJustInTimeFromASlowSteadyUnit", Paced({.start = 1800, .gap = 100}), Show1, {0, Zone1, Show1Of1}},
    {"FirstReportTooLate", Paced({.start = 2200}), Show1, {3, "", Show1Of1 + Tool +
     "no answer from the unit within 2000 ms after asking for zone 1\n0 of 1 zones had been read\n"}},
    {"PauseWithinTheUnitsPace", Paced({.gap = 80, .pauseAfter = 10, .pause = 300}), Show1, {0, Zone1, Show1Of1}},
    {"PauseABusyMachineMayMakeIsWaitedOut", Paced({.pauseAfter = 20, .pause = 220}), Show1, {0, Zone1, Show1Of1}},
    {"PauseBeyondThePaceEndsTheAnswer", Paced({.pauseAfter = 10, .pause = 400}), Show1, {0, "operator: AMENA\nzone 1\n  phone: 61\n  text: \n", Show1Of1}},
    // ...unless the answer is still shorter than the file says it should be.
    {"LongPauseInsideAVerifiedAnswer", Paced({.pauseAfter = 9, .pause = 1200}), RestoreVerify, Verified("", 1), Zone3},
    // An answer that came short is asked for again, and told as it comes then.
    {"AReportLostFromAVerifiedAnswer", Paced({.lostAt = 4}), RestoreVerify, Verified("", 1), Zone3},
    {"AReportLostFromEachAnswer", Paced({.lostAt = 4, .lostInEachAnswer = true}), RestoreVerify,
     Verified(Differs("operator", "AMENA", "65600311"), 1), Zone3},
    // Pulled out, if it is still read by then, after 5000 reports.
    {"StillSendingAfterTheLongestRead",
     [](InProcessUnits& u) { u.Pace({.unplugAt = 5000, .repeat = true}), u.timings.longest = std::chrono::milliseconds(200); },
     Show1, {3, "", Show1Of1 + Tool + "the unit was still sending zone 1 after 200 ms\n0 of 1 zones had been read\n"}},
    {"UnpluggedWithTheAnswerQueued", [](InProcessUnits& u) { u.library.unplugAfterReads = 5; }, Show1, {3, "", Show1Of1 + Tool +
     "the unit was unplugged while zone 1 was being read (5 reports had come)\n0 of 1 zones had been read\n"}},
    {"UnpluggedInsideTheSecondAnswer", Paced({.unplugAt = 26 + 5}), {"show"}, {3, "", Steps("show", 2, 4) + Tool +
     "the unit was unplugged while zone 2 was being read (5 reports had come)\n1 of 4 zones had been read\n"}},
};

class ExitStatus : public testing::TestWithParam<Outcome> {};

TEST_P(ExitStatus, SaysWhatHappenedAndHowFarItGot)
{
    InProcessUnits units;
    LoadZones(units.model);
    const TempDir dir;
    const std::string path = dir.FilePath("unit.json");
    ASSERT_EQ(RunCli(units, {"backup", path}).status, 0);
    if (!GetParam().file.empty())
        Written(path, GetParam().file);
    GetParam().fault(units);
    CliRun expected = GetParam().expected;
    for (std::string* text : {&expected.out, &expected.err})
        for (auto at = text->find("FILE"); at != std::string::npos; at = text->find("FILE", at + path.size()))
            text->replace(at, 4, path);
    const std::string before = ReadAll(path);
    EXPECT_EQ(RunCli(units, GetParam().arguments, path, true), expected);
    EXPECT_EQ(ReadAll(path), before);
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, ExitStatus, testing::ValuesIn(Outcomes),
                         [](const testing::TestParamInfo<Outcome>& info) { return info.param.name; });

}  // namespace
