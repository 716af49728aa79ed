// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real velbrix-qorun-cli, given to the guest test as --cli=PATH; with
// --wine=WINE given too, PATH is the Windows build, run under Wine.

#include <QProcess>
#include <QRegularExpression>

#include <signal.h>

#include <chrono>
#include <ostream>
#include <string>

#include "tool_session.h"

inline QString CliPath() { return Given("cli"); }
inline bool UnderWine() { return !Given("wine").isEmpty(); }

inline void StartCli(QProcess& process, const QStringList& arguments) {
    const QString wine = Given("wine");
    wine.isEmpty() ? process.start(CliPath(), arguments) : process.start(wine, QStringList{CliPath()} + arguments);
}

// Windows' text mode ends each line with CR LF on the console and in a pipe.
inline QString Lines(const QByteArray& output) { return QString::fromUtf8(output).remove('\r'); }

struct CliRun {
    int status;  // -1: crashed, or hung and killed after three minutes
    QString out, err;
};

inline void PrintTo(const CliRun& run, std::ostream* out) {
    *out << "exit " << run.status << "\nstdout: " << run.out.toStdString() << "\nstderr: " << run.err.toStdString();
}

inline CliRun Cli(const QStringList& arguments) {
    if (CliPath().isEmpty()) return {-2, {}, "no --cli=PATH given"};
    QProcess process;  // kills the program when it goes
    StartCli(process, arguments);
    process.closeWriteChannel();
    // Generous: a loaded host slows the emulated guest several times over.
    const bool finished = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, Lines(process.readAllStandardOutput()),
            Lines(process.readAllStandardError())};
}

// The number the program printed in `pattern`'s first group, 0 if none.
inline std::size_t NumberIn(const QString& text, const QString& pattern) {
    return QRegularExpression(pattern).match(text).captured(1).toULong();
}

// The unit as the command line names it: its hidraw node, or under Windows
// the device path `list` prints, which holds the unit's serial number.
template <typename Unit>
QString NodeOf(const Unit& unit) {
    const QString serial = QString::fromStdString(unit.Serial());
    if (!UnderWine()) return QString::fromStdString(unit.HidrawNode());
    for (const QString& line : Cli({"list"}).out.split('\n'))
        if (line.contains("&" + serial + "&", Qt::CaseInsensitive)) return line.section('\t', 0, 0);
    return "(" + serial + " not listed)";
}

// Pulled out, and under Wine awaited until the command line lists it no
// more: four units pulled out at once have left Wine here listing two of
// them for good, and hearing of no unit after.
template <typename Unit>
void PullOut(Unit& unit) {
    const QString serial = "&" + QString::fromStdString(unit.Serial()) + "&";
    unit.Remove();
    if (!UnderWine()) return;
    EXPECT_TRUE(WaitUntil([&] { return !Cli({"list"}).out.contains(serial, Qt::CaseInsensitive); })) << unit.Serial();
}

// A provision run, its output gathered as it comes; killed if still running.
class Bench {
public:
    explicit Bench(const QStringList& arguments) { StartCli(process_, arguments); }
    ~Bench() {
        process_.kill();
        process_.waitForFinished();
    }
    QString Out() { return out_ += ::Lines(process_.readAllStandardOutput()); }
    // A unit's line starts with its node, or under Windows its device path.
    QStringList Lines() { return Out().split('\n').filter(QRegularExpression(R"(^(/dev/hidraw|\\\\\?\\))")); }
    bool AwaitLines(int lines, std::chrono::milliseconds limit = std::chrono::minutes(3)) {
        return WaitUntil([&] { return Lines().size() >= lines; }, limit);
    }
    // The lines awaited before may have run the event loop past the end
    // already, and waitForFinished() is false for a process that has ended.
    int Finish() {
        if (process_.state() != QProcess::NotRunning) process_.waitForFinished(180000);
        const bool ended = process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit;
        return ended ? process_.exitCode() : -1;
    }
    // SIGTERM; under Wine SIGINT, which reaches the program as Ctrl-C would
    // in its console (Wine makes nothing of SIGTERM but an end).
    void Stop() { ::kill(static_cast<pid_t>(process_.processId()), UnderWine() ? SIGINT : SIGTERM); }

private:
    QProcess process_;
    QString out_;
};
