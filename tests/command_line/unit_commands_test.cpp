// The commands against the in-process unit: what show prints, a backup
// restored into a fresh unit, verify catching a field stored differently,
// and each way of losing the unit ending with status 3.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "cli_harness.h"

namespace {

void LoadZones(AlarmUnitModel& model)
{
    model.StoreServiceCentre("656000311");
    model.StoreZone(1, "611222333", "Zona uno");
    model.StoreZone(2, "622000111", "Puerta principal");
    model.StoreZone(3, "633444555", "Linea 1\r\nLinea 2 \xF1");
    model.StoreZone(4, "644777888", std::string(49, 'z'));
}

class UnitCommands : public testing::Test {
protected:
    // Writes `path` from a unit holding LoadZones' values.
    void BackUpLoadedUnit()
    {
        LoadZones(original.model);
        const CliRun backup = RunCli(original, {"backup", path});
        ASSERT_EQ(backup.status, 0) << backup.err;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
};

TEST_F(UnitCommands, ShowJsonKeepsLineBreaksAndNamesTheOperator)
{
    LoadZones(original.model);
    const CliRun run = RunCli(original, {"show", "--zone", "3", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject shown = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(shown["operator"].toString(), "AMENA");
    const QJsonObject zone = shown["zones"].toArray().at(0).toObject();
    EXPECT_EQ(zone["zone"].toInt(), 3);
    EXPECT_EQ(zone["phone"].toString(), "633444555");
    EXPECT_EQ(zone["text"].toString(), QStringLiteral("Linea 1\nLinea 2 \u00F1"));
}

TEST_F(UnitCommands, ShowGivesTheNumberOfAnUnknownServiceCentre)
{
    original.model.StoreServiceCentre("612345678");
    original.model.StoreZone(2, "62", "ab");
    const CliRun run = RunCli(original, {"show", "--zone", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "operator: 612345678\nzone 2\n  phone: 62\n  text: ab\n");
}

TEST_F(UnitCommands, BackupRestoredIntoAFreshUnitHoldsTheSameBytes)
{
    ASSERT_NO_FATAL_FAILURE(BackUpLoadedUnit());
    InProcessUnits fresh;
    const CliRun restore = RunCli(fresh, {"restore", path, "--pin", "1234", "--verify"});
    EXPECT_EQ(restore.status, 0) << restore.err << restore.out;
    const auto& restored = fresh.model.Memory();
    EXPECT_EQ(std::string(restored.begin(), restored.begin() + 5), std::string("1234\0", 5));
    EXPECT_TRUE(std::equal(restored.begin() + 5, restored.end(), original.model.Memory().begin() + 5));
}

TEST_F(UnitCommands, VerifyReportsOnlyTheFieldTheUnitStoresDifferently)
{
    ASSERT_NO_FATAL_FAILURE(BackUpLoadedUnit());
    InProcessUnits unit;
    unit.library.alteredAddress = 85;  // first character of zone 2's text
    const CliRun restore = RunCli(unit, {"restore", path, "--verify"});
    EXPECT_EQ(restore.status, 4);
    EXPECT_EQ(restore.out, "4 zones restored from " + path.toStdString() +
                               "\nzone 2 text: file has \"Puerta principal\", unit has \"Xuerta principal\"\n");
    EXPECT_NE(restore.err.find("verify found differences"), std::string::npos);
}

struct LostUnit {
    const char* name;
    std::function<void(FaultyUnitLibrary&)> fault;
    QStringList arguments;  // "FILE": the loaded unit's backup
    const char* said;       // part of what err says
};

const LostUnit LostUnits[] = {
    {"UnpluggedDuringRestore", [](FaultyUnitLibrary& l) { l.unplugAfterWrites = 100; },  // zone 1 takes 52
     {"restore", "FILE", "--verify"}, "while zone 2 was being restored (1 of 4 zones restored; 48 reports"},
    {"SilentDuringBackupLeavesNoFile", [](FaultyUnitLibrary& l) { l.silent = true; }, {"backup", "NEW"},
     "no answer from the unit within 200 ms after asking for zone 1"},
    {"UnpluggedBeforeStart", [](FaultyUnitLibrary& l) { l.Unplug(); }, {"show"}, "velbrix-qorun-cli: no unit attached\n"},
};

class LosingTheUnit : public UnitCommands, public testing::WithParamInterface<LostUnit> {};

TEST_P(LosingTheUnit, EndsWithStatus3AndSaysHowFarItGot)
{
    ASSERT_NO_FATAL_FAILURE(BackUpLoadedUnit());
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings(QRegularExpression("^FILE$"), path).replaceInStrings("NEW", path + ".new");
    InProcessUnits unit;
    GetParam().fault(unit.library);
    const CliRun run = RunCli(unit, arguments);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find(GetParam().said), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(path + ".new"));
}

INSTANTIATE_TEST_SUITE_P(EachWay, LosingTheUnit, testing::ValuesIn(LostUnits),
                         [](const testing::TestParamInfo<LostUnit>& info) { return info.param.name; });

}  // namespace
