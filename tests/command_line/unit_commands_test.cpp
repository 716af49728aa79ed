// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The commands against the in-process unit, which SetUp loads and backs up.

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "cli_harness.h"

namespace {

class UnitCommands : public testing::Test {
protected:
    void SetUp() override
    {
        original.model.StoreServiceCentre("656000311");
        original.model.StoreZone(1, "611222333", "Zona uno");
        original.model.StoreZone(2, "622000111", "Puerta principal");
        original.model.StoreZone(3, "633444555", "Linea 1\r\nLinea 2 \xF1");
        original.model.StoreZone(4, "644777888", std::string(49, 'z'));
        ASSERT_EQ(RunCli(original, {"backup", path}).status, 0);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
};

TEST_F(UnitCommands, ShowNamesAKnownOperatorGivesAnUnknownOnesNumberAndRestoresLineBreaks)
{
    const CliRun json = RunCli(original, {"show", "--zone", "3", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(json.out)), QJsonDocument::fromJson(R"(
        {"operator": "AMENA", "zones": [{"zone": 3, "phone": "633444555", "text": "Linea 1\nLinea 2 \u00f1"}]})"))
        << json.out;

    original.model.StoreServiceCentre("612345678");
    EXPECT_EQ(RunCli(original, {"show", "--zone", "1"}),
              (CliRun{0, "operator: 612345678\nzone 1\n  phone: 611222333\n  text: Zona uno\n", ""}));
}

TEST_F(UnitCommands, RestoreVerifyFillsAFreshUnitAndReportsOnlyAFieldTheUnitStoresDifferently)
{
    InProcessUnits fresh, altered;
    const std::string restored = "4 zones restored from " + path.toStdString() + "\n";
    EXPECT_EQ(RunCli(fresh, {"restore", path, "--pin", "1234", "--verify"}),
              (CliRun{0, restored + "verified: the unit holds what the file holds\n", ""}));
    const auto& memory = fresh.model.Memory();
    EXPECT_EQ(std::string(memory.begin(), memory.begin() + 5), std::string("1234\0", 5));
    EXPECT_TRUE(std::equal(memory.begin() + 5, memory.end(), original.model.Memory().begin() + 5));

    altered.library.alteredAddress = 85;  // first character of zone 2's text
    EXPECT_EQ(RunCli(altered, {"restore", path, "--verify"}),
              (CliRun{4, restored + "zone 2 text: file has \"Puerta principal\", unit has \"Xuerta principal\"\n",
                      "velbrix-qorun-cli: verify found differences\n"}));
}

struct LostUnit {
    const char* name;
    void (*fault)(FaultyUnitLibrary&);
    QStringList arguments;  // "FILE": the loaded unit's backup
    const char* said;       // part of err
};

const LostUnit LostUnits[] = {
    {"UnpluggedDuringRestore", [](FaultyUnitLibrary& l) { l.unplugAfterWrites = 100; },  // zone 1 takes 52
     {"restore", "FILE", "--verify"}, "during the upload of zone 2: 48 reports sent, stopped at address 91 (1 of 4 zones restored before it)"},
    {"SilentDuringBackupLeavesNoFile", [](FaultyUnitLibrary& l) { l.silent = true; }, {"backup", "FILE.new"},
     "no answer from the unit within 200 ms after asking for zone 1"},
    {"UnpluggedBeforeStart", [](FaultyUnitLibrary& l) { l.Unplug(); }, {"show"},
     "velbrix-qorun-cli: no unit attached\n"},
};

class LosingTheUnit : public UnitCommands, public testing::WithParamInterface<LostUnit> {};

TEST_P(LosingTheUnit, EndsWithStatus3AndSaysHowFarItGot)
{
    InProcessUnits unit;
    GetParam().fault(unit.library);
    const CliRun run = RunCli(unit, GetParam().arguments, path);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find(GetParam().said), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(path + ".new"));
}

INSTANTIATE_TEST_SUITE_P(EachWay, LosingTheUnit, testing::ValuesIn(LostUnits),
                         [](const testing::TestParamInfo<LostUnit>& info) { return info.param.name; });

}  // namespace
