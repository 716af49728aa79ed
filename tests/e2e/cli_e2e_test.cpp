// The real velbrix-qorun-cli program against the virtual unit on /dev/uhid,
// run as a script runs it. Its path comes as --cli=PATH on the command line.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <string>

#include "tool_session.h"
#include "virtual_unit/uhid_unit.h"

namespace {

using namespace std::chrono_literals;

QString CliPath() {
    for (const QString& argument : QCoreApplication::arguments())
        if (argument.startsWith(QStringLiteral("--cli=")))
            return argument.mid(6);
    return {};
}

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs the program to its end; a run that does not end within a minute (a
// hang) is killed and reported as status -1.
CliRun Cli(const QStringList& arguments) {
    QProcess process;
    process.start(CliPath(), arguments);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("did not finish within 60 s: ") + arguments.join(' ');
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void PrintTo(const CliRun& run, std::ostream* out) {
    *out << "exit " << run.status << "\nstdout: " << run.out.toStdString() << "\nstderr: " << run.err.toStdString();
}

void Load(UhidUnit& unit) {
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre("656000311");
        model.StoreZone(1, "611222333", "Zona uno");
        model.StoreZone(2, "622000111", "Puerta principal");
        model.StoreZone(3, "633444555", "Linea 1\r\nLinea 2");
        model.StoreZone(4, "644777888", "Humo en cocina \xF1");
    });
}

class CliEndToEnd : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(CliPath().isEmpty()) << "no --cli=PATH given"; }

    static void PlugIn(UhidUnit& unit) {
        ASSERT_TRUE(unit.Create()) << unit.Error();
        ASSERT_TRUE(WaitUntil([&] { return !unit.HidrawNode().empty(); })) << "no hidraw node for the unit";
    }

    QTemporaryDir dir_;
};

TEST_F(CliEndToEnd, ListShowsEachUnitAndSeveralNeedADevice) {
    UhidUnit first;
    UhidUnit second;
    Load(first);
    PlugIn(first);
    const CliRun one = Cli({"list"});
    EXPECT_EQ(one.status, 0) << testing::PrintToString(one);
    EXPECT_EQ(one.out, QString::fromStdString(first.HidrawNode()) + "\tcan be opened\n");

    PlugIn(second);
    const CliRun two = Cli({"list"});
    EXPECT_EQ(two.out.count('\n'), 2) << testing::PrintToString(two);
    const CliRun ambiguous = Cli({"show", "--zone", "1"});
    EXPECT_EQ(ambiguous.status, 2) << testing::PrintToString(ambiguous);
    EXPECT_TRUE(ambiguous.err.contains(QString::fromStdString(second.HidrawNode())));

    const CliRun chosen = Cli({"--device", QString::fromStdString(first.HidrawNode()), "show", "--zone", "1"});
    EXPECT_EQ(chosen.status, 0) << testing::PrintToString(chosen);
    EXPECT_TRUE(chosen.out.contains("phone: 611222333")) << testing::PrintToString(chosen);
    EXPECT_EQ(second.LogSize(), 0u) << "the other unit was written to";
}

TEST_F(CliEndToEnd, SendThenShowJsonBringsBackWhatWasSent) {
    UhidUnit unit;
    Load(unit);
    PlugIn(unit);
    const CliRun send = Cli({"send", "--zone", "2", "--operator", "VODAFONE", "--phone", "699111222", "--text",
                             "Linea A\nLinea B \u00F1"});
    ASSERT_EQ(send.status, 0) << testing::PrintToString(send);

    const CliRun show = Cli({"show", "--zone", "2", "--json"});
    ASSERT_EQ(show.status, 0) << testing::PrintToString(show);
    const QJsonObject shown = QJsonDocument::fromJson(show.out.toUtf8()).object();
    EXPECT_EQ(shown["operator"].toString(), "VODAFONE");
    const QJsonObject zone = shown["zones"].toArray().at(0).toObject();
    EXPECT_EQ(zone["phone"].toString(), "699111222");
    EXPECT_EQ(zone["text"].toString(), QStringLiteral("Linea A\nLinea B \u00F1"));
}

TEST_F(CliEndToEnd, BackupRestoredWithVerifyIntoAFreshUnit) {
    const QString path = dir_.filePath("unit.json");
    UhidUnit original;
    Load(original);
    PlugIn(original);
    const CliRun backup = Cli({"backup", path});
    ASSERT_EQ(backup.status, 0) << testing::PrintToString(backup);
    original.Remove();

    UhidUnit fresh;
    PlugIn(fresh);
    const CliRun restore = Cli({"restore", path, "--pin", "4321", "--verify"});
    EXPECT_EQ(restore.status, 0) << testing::PrintToString(restore);
    for (int zone = 1; zone <= 4; ++zone) {
        EXPECT_EQ(fresh.WithModel([&](AlarmUnitModel& m) { return m.Text(zone); }),
                  original.WithModel([&](AlarmUnitModel& m) { return m.Text(zone); }));
        EXPECT_EQ(fresh.WithModel([&](AlarmUnitModel& m) { return m.Phone(zone); }),
                  original.WithModel([&](AlarmUnitModel& m) { return m.Phone(zone); }));
    }
}

TEST_F(CliEndToEnd, UnplugDuringRestoreEndsWithStatus3AndHowFarItGot) {
    const QString path = dir_.filePath("unit.json");
    UhidUnit original;
    Load(original);
    PlugIn(original);
    ASSERT_EQ(Cli({"backup", path}).status, 0);
    original.Remove();

    UhidUnit unit;
    PlugIn(unit);
    unit.RemoveAfter(100);  // in zone 2: zone 1 takes 52 reports
    const CliRun restore = Cli({"restore", path, "--verify"});
    EXPECT_EQ(restore.status, 3) << testing::PrintToString(restore);
    EXPECT_TRUE(restore.err.contains("while zone 2 was being restored (1 of 4 zones restored"))
        << testing::PrintToString(restore);
}

}  // namespace
