// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each outcome against a loaded unit: the status, what is said and how far
// the command got; the file of the same name is never harmed.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "cli_harness.h"

namespace {

struct Outcome {
    const char* name;
    std::function<void(InProcessUnits&)> fault;
    QStringList arguments;  // "FILE": a backup of the loaded unit, or `file`
    CliRun expected;        // "FILE" in it: that file's path
    QByteArray file = {};
};

using L = ListedUnit;
const std::string Tool = "velbrix-qorun-cli: ", Fix = "  Fix: install the udev rule\n";
// The progress lines up to zone k of n.
std::string Steps(const std::string& what, int k, int n)
{
    return k == 0 ? "" : Steps(what, k - 1, n) + what + ": zone " + std::to_string(k) + " of " + std::to_string(n) + "\n";
}
const std::string Restore4 = Steps("restore", 4, 4), Verify4 = Restore4 + Steps("verify", 4, 4);
const std::string Both2 = Steps("restore", 2, 2) + Steps("verify", 2, 2);
const std::string Restored4 = "4 zones restored from FILE\n", Differ = Tool + "verify found differences\n";
const std::string Zone1 = "operator: AMENA\nzone 1\n  phone: 611222333\n  text: Zona\runo\n";
const QStringList Show1{"show", "--zone", "1"}, Backup{"backup", "FILE"}, RestoreVerify{"restore", "FILE", "--verify"};
const QByteArray FourAndTwo = R"({"format": "velbrix-qorun-backup", "version": 1, "operator": "AMENA", "zones": [
    {"zone": 4, "phone": "4", "text": "d"}, {"zone": 2, "phone": "2", "text": "b"}]})";
auto Altered(std::vector<int> addresses)
{
    return [addresses](InProcessUnits& u) { u.library.altered = addresses; };
}

const Outcome Outcomes[] = {
    {"ListNamesEachUnitAndTheFixOnce", [](InProcessUnits& u) {
         u.listed = {{"/dev/hidraw1", L::Access::Openable}, {"/dev/hidraw2", L::Access::Denied},
                     {"/dev/hidraw3", L::Access::Denied}, {"/dev/hidraw4", L::Access::Failed}}; }, {"list"},
     {0, "/dev/hidraw1\tcan be opened\n/dev/hidraw2\tpermission denied\n/dev/hidraw3\tpermission denied\n/dev/hidraw4\tcannot be opened\n", Fix}},
    {"ListOfAnOpenableUnit", [](InProcessUnits&) {}, {"list"}, {0, "/dev/hidraw7\tcan be opened\n", ""}},
    {"ListWithoutUnits", [](InProcessUnits& u) { u.listed.clear(); }, {"list"}, {3, "", Tool + "no unit attached\n"}},
    {"NoUnitListed", [](InProcessUnits& u) { u.listed.clear(); }, Backup, {3, "", Tool + "no unit attached\n"}},
    {"ListedButCannotBeOpened", [](InProcessUnits& u) { u.listed = {{"/dev/hidraw7", L::Access::Failed}}; }, Backup,
     {3, "", Tool + "the unit at /dev/hidraw7 cannot be opened\n"}},
    {"RefusedWhenOpened", [](InProcessUnits& u) { u.library.denied = true; }, Backup,
     {3, "", Tool + "the unit at /dev/hidraw7 may not be opened by this user (permission denied)\n" + Fix}},
    {"GoneWhenOpened", [](InProcessUnits& u) { u.library.Unplug(); }, Backup, {3, "", Tool + "no unit attached\n"}},
    {"SilentBackup", [](InProcessUnits& u) { u.library.silent = true; }, Backup,
     {3, "", "backup: zone 1 of 4\n" + Tool + "no answer from the unit within 200 ms after asking for zone 1\n"
             "0 of 4 zones had been read\n" + Tool + "no backup written\n"}},
    {"UnpluggedAtTheThirdRequest", [](InProcessUnits& u) { u.library.unplugAfterWrites = 2; }, Backup,
     {3, "", Steps("backup", 3, 4) + Tool + "the unit was unplugged while "
             "zone 3 was being read (0 reports had come)\n2 of 4 zones had been read\n" + Tool + "no backup written\n"}},
    {"UnpluggedDuringTheThirdUpload", [](InProcessUnits& u) { u.library.unplugAfterWrites = 52 + 68 + 21; },
     {"restore", "FILE"}, {3, "", Steps("restore", 3, 4) + Tool + "the unit went away during the upload of zone 3: "
                                  "21 reports sent, stopped at address 136 (2 of 4 zones restored before it)\n"}},
    {"UnpluggedDuringSend", [](InProcessUnits& u) { u.library.unplugAfterWrites = 11; },
     {"send", "--zone", "2", "--operator", "AMENA", "--phone", "1", "--text", "a"},
     {3, "", Tool + "the unit went away during the upload of zone 2: 11 reports sent, stopped at address 10\n"}},
    {"UnpluggedAtTheSecondVerifyRequest", [](InProcessUnits& u) { u.library.unplugAfterWrites = 52 + 68 + 72 + 134 + 1; },
     RestoreVerify, {3, Restored4, Restore4 + Steps("verify", 2, 4) + Tool + "the unit was unplugged while zone 2 was being "
                                   "read (0 reports had come)\n1 of 4 zones had been read\n"}},
    // restore --verify: the operator and every field of each zone in the file.
    {"Verified", Altered({}), RestoreVerify, {0, Restored4 + "verified: the unit holds what the file holds\n", Verify4}},
    {"VerifyOperator", Altered({5}), RestoreVerify,
     {4, Restored4 + "operator: file has \"AMENA\", unit has \"X56000311\"\n", Verify4 + Differ}},
    {"VerifyZone1Phone", Altered({15}), RestoreVerify,
     {4, Restored4 + "zone 1 phone: file has \"611222333\", unit has \"X11222333\"\n", Verify4 + Differ}},
    {"VerifyZone1Text", Altered({25}), RestoreVerify,
     {4, Restored4 + "zone 1 text: file has \"Zona\runo\", unit has \"Xona\runo\"\n", Verify4 + Differ}},
    {"VerifyZone2Phone", Altered({83}), RestoreVerify,
     {4, Restored4 + "zone 2 phone: file has \"622000111\", unit has \"62200011X\"\n", Verify4 + Differ}},
    {"VerifyZone2Text", Altered({85}), RestoreVerify,
     {4, Restored4 + "zone 2 text: file has \"Puerta principal\", unit has \"Xuerta principal\"\n", Verify4 + Differ}},
    {"VerifyZone3Phone", Altered({135}), RestoreVerify,
     {4, Restored4 + "zone 3 phone: file has \"633444555\", unit has \"X33444555\"\n", Verify4 + Differ}},
    {"VerifyZone3TextsBreak", Altered({152}), RestoreVerify,
     {4, Restored4 + "zone 3 text: file has \"Linea 1\nLinea 2 \xC3\xB1\", unit has \"Linea 1X\nLinea 2 \xC3\xB1\"\n",
      Verify4 + Differ}},
    {"VerifyZone4PhoneAndOperator", Altered({195, 5}), RestoreVerify,
     {4, Restored4 + "operator: file has \"AMENA\", unit has \"X56000311\"\nzone 4 phone: file has \"644777888\", "
                     "unit has \"X44777888\"\n", Verify4 + Differ}},
    {"VerifyZone4TextsEnd", Altered({253}), RestoreVerify,
     {4, Restored4 + "zone 4 text: file has \"" + std::string(49, 'z') + "\", unit has \"" + std::string(48, 'z') + "X\"\n",
      Verify4 + Differ}},
    {"VerifiedZones4And2", Altered({}), RestoreVerify,
     {0, "2 zones restored from FILE\nverified: the unit holds what the file holds\n",
      Both2}, FourAndTwo},
    {"VerifyZones4And2", Altered({85, 195}), RestoreVerify,
     {4, "2 zones restored from FILE\nzone 2 text: file has \"b\", unit has \"X\"\nzone 4 phone: file has \"4\", unit has \"X\"\n",
      Both2 + Differ}, FourAndTwo},
    // A read-back's times: 2 s for the first report, the end 300 ms after the last.
    {"FirstReportJustInTime", [](InProcessUnits& u) { u.Pace({.start = 1800, .gap = 100}); }, Show1,
     {0, Zone1, "show: zone 1 of 1\n"}},
    {"FirstReportTooLate", [](InProcessUnits& u) { u.Pace({.start = 2200}); }, Show1,
     {3, "", "show: zone 1 of 1\n" + Tool + "no answer from the unit within 2000 ms after asking for zone 1\n0 of 1 zones had been read\n"}},
    {"ShortPauseInside", [](InProcessUnits& u) { u.Pace({.pauseAfter = 10, .pause = 240}); }, Show1,
     {0, Zone1, "show: zone 1 of 1\n"}},
    {"LongPauseEndsTheAnswer", [](InProcessUnits& u) { u.Pace({.pauseAfter = 10, .pause = 450}); }, Show1,
     {0, "operator: AMENA\nzone 1\n  phone: 61\n  text: \n", "show: zone 1 of 1\n"}},
    {"UnpluggedInsideTheSecondAnswer", [](InProcessUnits& u) { u.Pace({.unplugAt = 26 + 5}); }, {"show"},
     {3, "", Steps("show", 2, 4) + Tool + "the unit was unplugged while zone 2 was being read "
             "(5 reports had come)\n1 of 4 zones had been read\n"}},
};

class ExitStatus : public testing::TestWithParam<Outcome> {};

TEST_P(ExitStatus, SaysWhatHappenedAndHowFarItGot)
{
    InProcessUnits units;
    LoadZones(units.model);
    QTemporaryDir dir;
    QFile file(dir.filePath("unit.json"));
    ASSERT_EQ(RunCli(units, {"backup", file.fileName()}).status, 0);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    if (!GetParam().file.isEmpty())
        file.resize(0), file.write(GetParam().file);
    file.close();
    GetParam().fault(units);
    CliRun expected = GetParam().expected;
    for (std::string* text : {&expected.out, &expected.err})
        *text = QString::fromStdString(*text).replace("FILE", file.fileName()).toStdString();
    const QByteArray before = (file.open(QIODevice::ReadOnly), file.readAll());
    file.close();
    EXPECT_EQ(RunCli(units, GetParam().arguments, file.fileName(), true), expected);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

INSTANTIATE_TEST_SUITE_P(EachOutcome, ExitStatus, testing::ValuesIn(Outcomes),
                         [](const testing::TestParamInfo<Outcome>& info) { return info.param.name; });

}  // namespace
