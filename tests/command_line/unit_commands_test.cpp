// The commands against the in-process unit: what show prints, a backup
// restored into a fresh unit, verify catching a field stored differently, a
// unit pulled out mid-restore and a unit that does not answer.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

TEST(UnitCommands, ShowJsonKeepsLineBreaksAndNamesTheOperator)
{
    InProcessUnits units;
    LoadZones(units.model);
    const CliRun run = RunCli(units, {"show", "--zone", "3", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject shown = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(shown["operator"].toString(), "AMENA");
    const QJsonObject zone = shown["zones"].toArray().at(0).toObject();
    EXPECT_EQ(zone["zone"].toInt(), 3);
    EXPECT_EQ(zone["phone"].toString(), "633444555");
    EXPECT_EQ(zone["text"].toString(), QStringLiteral("Linea 1\nLinea 2 \u00F1"));
}

TEST(UnitCommands, ShowGivesTheNumberOfAnUnknownServiceCentre)
{
    InProcessUnits units;
    units.model.StoreServiceCentre("612345678");
    units.model.StoreZone(2, "62", "ab");
    const CliRun run = RunCli(units, {"show", "--zone", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "operator: 612345678\nzone 2\n  phone: 62\n  text: ab\n");
}

TEST(UnitCommands, BackupRestoredIntoAFreshUnitVerifiesEqual)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
    LoadZones(original.model);
    const CliRun backup = RunCli(original, {"backup", path});
    ASSERT_EQ(backup.status, 0) << backup.err;

    InProcessUnits fresh;
    const CliRun restore = RunCli(fresh, {"restore", path, "--pin", "1234", "--verify"});
    EXPECT_EQ(restore.status, 0) << restore.err << restore.out;
    for (int zone = 1; zone <= 4; ++zone) {
        EXPECT_EQ(fresh.model.Phone(zone), original.model.Phone(zone)) << zone;
        EXPECT_EQ(fresh.model.Text(zone), original.model.Text(zone)) << zone;
    }
    EXPECT_EQ(fresh.model.ServiceCentre(), "656000311");
    EXPECT_EQ(std::string(fresh.model.Memory().begin(), fresh.model.Memory().begin() + 5),
              std::string("1234\0", 5));
}

TEST(UnitCommands, VerifyReportsTheFieldTheUnitStoresDifferently)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
    LoadZones(original.model);
    ASSERT_EQ(RunCli(original, {"backup", path}).status, 0);

    InProcessUnits unit;
    unit.library.alteredAddress = 85;  // first character of zone 2's text
    const CliRun restore = RunCli(unit, {"restore", path, "--verify"});
    EXPECT_EQ(restore.status, 4);
    EXPECT_EQ(restore.out.find("zone 1"), std::string::npos) << restore.out;
    EXPECT_NE(restore.out.find("zone 2 text: file has \"Puerta principal\", unit has \"Xuerta principal\""),
              std::string::npos)
        << restore.out;
    EXPECT_NE(restore.err.find("verify found differences"), std::string::npos);
}

TEST(UnitCommands, UnplugDuringRestoreSaysHowFarItGot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits original;
    LoadZones(original.model);
    ASSERT_EQ(RunCli(original, {"backup", path}).status, 0);

    InProcessUnits unit;
    unit.library.unplugAfterWrites = 100;  // zone 1 takes 52 reports without a PIN
    const CliRun restore = RunCli(unit, {"restore", path, "--verify"});
    EXPECT_EQ(restore.status, 3);
    EXPECT_NE(restore.err.find("while zone 2 was being restored (1 of 4 zones restored; 48 reports"),
              std::string::npos)
        << restore.err;
}

TEST(UnitCommands, ASilentUnitIsNoAnswerAndLeavesNoBackup)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.json");
    InProcessUnits units;
    LoadZones(units.model);
    units.library.silent = true;
    const CliRun backup = RunCli(units, {"backup", path});
    EXPECT_EQ(backup.status, 3);
    EXPECT_NE(backup.err.find("no answer from the unit within 200 ms after asking for zone 1"), std::string::npos)
        << backup.err;
    EXPECT_FALSE(QFile::exists(path));
}

TEST(UnitCommands, AnUnpluggedUnitIsNoUnitAttached)
{
    InProcessUnits units;
    units.library.Unplug();
    const CliRun run = RunCli(units, {"show"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "velbrix-qorun-cli: no unit attached\n");
}

}  // namespace
