// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real velbrix-qorun-cli, given to the guest test as --cli=PATH.

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <ostream>

inline QString CliPath() {
    const QStringList given = QCoreApplication::arguments().filter(QRegularExpression("^--cli="));
    return given.isEmpty() ? QString() : given.first().mid(6);
}

struct CliRun {
    int status;  // -1: crashed, or hung and killed after a minute
    QString out, err;
};

inline void PrintTo(const CliRun& run, std::ostream* out) {
    *out << "exit " << run.status << "\nstdout: " << run.out.toStdString() << "\nstderr: " << run.err.toStdString();
}

inline CliRun Cli(const QStringList& arguments) {
    if (CliPath().isEmpty()) return {-2, {}, "no --cli=PATH given"};
    QProcess process;  // kills the program when it goes
    process.start(CliPath(), arguments);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}
