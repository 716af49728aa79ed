// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each way of finding no usable unit or losing it gives its status and says
// how far the command got; an earlier backup of the same name stays intact.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_harness.h"

namespace {

struct Cause {
    const char* name;
    void (*fault)(InProcessUnits&);
    QStringList arguments;  // "FILE": a backup of the loaded unit
    CliRun expected;        // "FILE" in it: that file's path
};

using L = ListedUnit;
const std::string Restored = "restore: zone 1 of 4\nrestore: zone 2 of 4\nrestore: zone 3 of 4\nrestore: zone 4 of 4\n";
const std::string Prefix = "velbrix-qorun-cli: ";

const Cause Causes[] = {
    {"ListNamesEachUnitAndTheFixOnce", [](InProcessUnits& u) {
         u.listed = {{"/dev/hidraw1", L::Access::Openable}, {"/dev/hidraw2", L::Access::Denied},
                     {"/dev/hidraw3", L::Access::Denied}, {"/dev/hidraw4", L::Access::Failed}}; },
     {"list"}, {0, "/dev/hidraw1\tcan be opened\n/dev/hidraw2\tpermission denied\n/dev/hidraw3\tpermission denied\n"
                   "/dev/hidraw4\tcannot be opened\n", "  Fix: install the udev rule\n"}},
    {"ListOfAnOpenableUnit", [](InProcessUnits&) {}, {"list"}, {0, "/dev/hidraw7\tcan be opened\n", ""}},
    {"ListWithoutUnits", [](InProcessUnits& u) { u.listed.clear(); }, {"list"}, {3, "", Prefix + "no unit attached\n"}},
    {"NoUnitListed", [](InProcessUnits& u) { u.listed.clear(); }, {"backup", "FILE"}, {3, "", Prefix + "no unit attached\n"}},
    {"ListedButCannotBeOpened", [](InProcessUnits& u) { u.listed = {{"/dev/hidraw7", L::Access::Failed}}; },
     {"backup", "FILE"}, {3, "", Prefix + "the unit at /dev/hidraw7 cannot be opened\n"}},
    {"RefusedWhenOpened", [](InProcessUnits& u) { u.library.denied = true; }, {"backup", "FILE"},
     {3, "", Prefix + "the unit at /dev/hidraw7 may not be opened by this user (permission denied)\n  Fix: install the udev rule\n"}},
    {"GoneWhenOpened", [](InProcessUnits& u) { u.library.Unplug(); }, {"backup", "FILE"}, {3, "", Prefix + "no unit attached\n"}},
    {"SilentBackup", [](InProcessUnits& u) { u.library.silent = true; }, {"backup", "FILE"},
     {3, "", "backup: zone 1 of 4\n" + Prefix + "no answer from the unit within 200 ms after asking for zone 1\n"
                 "0 of 4 zones had been read\n" + Prefix + "no backup written\n"}},
    {"UnpluggedAtTheThirdZonesRequest", [](InProcessUnits& u) { u.library.unplugAfterWrites = 2; }, {"backup", "FILE"},
     {3, "", "backup: zone 1 of 4\nbackup: zone 2 of 4\nbackup: zone 3 of 4\n" + Prefix +
                 "the unit was unplugged while zone 3 was being read (0 reports had come)\n2 of 4 zones had been read\n" +
                 Prefix + "no backup written\n"}},
    {"UnpluggedDuringTheThirdZonesUpload", [](InProcessUnits& u) { u.library.unplugAfterWrites = 52 + 68 + 21; },
     {"restore", "FILE"}, {3, "", "restore: zone 1 of 4\nrestore: zone 2 of 4\nrestore: zone 3 of 4\n" + Prefix +
                 "the unit went away during the upload of zone 3: 21 reports sent, stopped at address 136 "
                 "(2 of 4 zones restored before it)\n"}},
    {"UnpluggedAtTheSecondVerifyRequest", [](InProcessUnits& u) { u.library.unplugAfterWrites = 52 + 68 + 72 + 134 + 1; },
     {"restore", "FILE", "--verify"}, {3, "4 zones restored from FILE\n", Restored +
                 "verify: zone 1 of 4\nverify: zone 2 of 4\n" + Prefix +
                 "the unit was unplugged while zone 2 was being read (0 reports had come)\n1 of 4 zones had been read\n"}},
    {"UnpluggedDuringSend", [](InProcessUnits& u) { u.library.unplugAfterWrites = 11; },
     {"send", "--zone", "2", "--operator", "AMENA", "--phone", "1", "--text", "a"},
     {3, "", Prefix + "the unit went away during the upload of zone 2: 11 reports sent, stopped at address 10\n"}},
};

class ExitStatus : public testing::TestWithParam<Cause> {};

TEST_P(ExitStatus, SaysWhatHappenedAndHowFarItGot)
{
    InProcessUnits units;
    LoadZones(units.model);
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    ASSERT_EQ(RunCli(units, {"backup", path}).status, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray earlier = file.readAll();
    file.close();
    GetParam().fault(units);
    CliRun expected = GetParam().expected;
    for (std::string* text : {&expected.out, &expected.err})
        *text = QString::fromStdString(*text).replace("FILE", path).toStdString();
    EXPECT_EQ(RunCli(units, GetParam().arguments, path, true), expected);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), earlier);
}

INSTANTIATE_TEST_SUITE_P(EachCause, ExitStatus, testing::ValuesIn(Causes),
                         [](const testing::TestParamInfo<Cause>& info) { return info.param.name; });

}  // namespace
