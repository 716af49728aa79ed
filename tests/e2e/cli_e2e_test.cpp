// The real velbrix-qorun-cli program against the virtual unit on /dev/uhid,
// run as a script runs it: only what the kernel's hidraw path adds to the
// in-process tests of the command line. Its path comes as --cli=PATH.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

#include "guest_unit.h"

namespace {

QString CliPath() {
    for (const QString& argument : QCoreApplication::arguments())
        if (argument.startsWith(QStringLiteral("--cli="))) return argument.mid(6);
    return {};
}

struct CliRun {
    int status = -1;  // also for a crash, or a hang killed after a minute
    QString out;
    QString err;
};

void PrintTo(const CliRun& run, std::ostream* out) {
    *out << "exit " << run.status << "\nstdout: " << run.out.toStdString() << "\nstderr: " << run.err.toStdString();
}

CliRun Cli(const QStringList& arguments) {
    QProcess process;
    process.start(CliPath(), arguments);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(60000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

class CliEndToEnd : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(CliPath().isEmpty()) << "no --cli=PATH given"; }
    QTemporaryDir dir_;
};

TEST_F(CliEndToEnd, ListNamesEachNodeAndDevicePicksOne) {
    UhidUnit first;
    UhidUnit second;
    LoadStoredZones(first);
    ASSERT_NO_FATAL_FAILURE(PlugIn(first));
    ASSERT_NO_FATAL_FAILURE(PlugIn(second));
    const CliRun list = Cli({"list"});
    EXPECT_EQ(list.status, 0) << testing::PrintToString(list);
    for (const UhidUnit* unit : {&first, &second})
        EXPECT_TRUE(list.out.contains(QString::fromStdString(unit->HidrawNode()) + "\tcan be opened\n")) << testing::PrintToString(list);

    const CliRun chosen = Cli({"--device", QString::fromStdString(first.HidrawNode()), "show", "--zone", "1"});
    EXPECT_EQ(chosen.status, 0) << testing::PrintToString(chosen);
    EXPECT_TRUE(chosen.out.contains("phone: 611222333")) << testing::PrintToString(chosen);
    EXPECT_EQ(second.LogSize(), 0u) << "the other unit was written to";
}

TEST_F(CliEndToEnd, SendThenShowJsonBringsBackWhatWasSent) {
    UhidUnit unit;
    ASSERT_NO_FATAL_FAILURE(PlugIn(unit));
    const CliRun send = Cli({"send", "--zone", "2", "--operator", "VODAFONE", "--phone", "699111222", "--text",
                             "Linea A\nLinea B \u00F1"});
    ASSERT_EQ(send.status, 0) << testing::PrintToString(send);

    // A slow unit: its answer lasts longer than the quiet time that ends it.
    unit.SetReplyInterval(std::chrono::milliseconds(20));
    const CliRun show = Cli({"show", "--zone", "2", "--json"});
    ASSERT_EQ(show.status, 0) << testing::PrintToString(show);
    const QJsonObject shown = QJsonDocument::fromJson(show.out.toUtf8()).object();
    EXPECT_EQ(shown["operator"].toString(), "VODAFONE");
    const QJsonObject zone = shown["zones"].toArray().at(0).toObject();
    EXPECT_EQ(zone["phone"].toString(), "699111222");
    EXPECT_EQ(zone["text"].toString(), QStringLiteral("Linea A\nLinea B \u00F1"));
}

TEST_F(CliEndToEnd, UnplugMidRestoreEndsWith3AndRestoreVerifyFillsAFreshUnit) {
    const QString path = dir_.filePath("unit.json");
    UhidUnit original;
    LoadStoredZones(original);
    ASSERT_NO_FATAL_FAILURE(PlugIn(original));
    ASSERT_EQ(Cli({"backup", path}).status, 0);
    original.Remove();

    // A hang would show as -1.
    UhidUnit pulled;
    ASSERT_NO_FATAL_FAILURE(PlugIn(pulled));
    pulled.RemoveAfter(100);  // in zone 2: zone 1 takes 52 reports
    EXPECT_EQ(Cli({"restore", path, "--verify"}).status, 3);

    UhidUnit fresh;
    ASSERT_NO_FATAL_FAILURE(PlugIn(fresh));
    const CliRun restore = Cli({"restore", path, "--pin", "4321", "--verify"});
    EXPECT_EQ(restore.status, 0) << testing::PrintToString(restore);
    const auto memory = [](UhidUnit& unit) { return unit.WithModel([](AlarmUnitModel& m) { return m.Memory(); }); };
    const auto restored = memory(fresh);
    const auto loaded = memory(original);
    EXPECT_TRUE(std::equal(restored.begin() + 5, restored.end(), loaded.begin() + 5)) << "beyond the PIN";
}

}  // namespace
