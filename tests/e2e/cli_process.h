// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real velbrix-qorun-cli, given to the guest test as --cli=PATH.

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <ostream>
#include <string>

inline QString CliPath() {
    const QStringList given = QCoreApplication::arguments().filter(QRegularExpression("^--cli="));
    return given.isEmpty() ? QString() : given.first().mid(6);
}

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
    process.start(CliPath(), arguments);
    process.closeWriteChannel();
    // Generous: a loaded host slows the emulated guest several times over.
    const bool finished = process.waitForFinished(180000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

// The number the program printed in `pattern`'s first group, 0 if none.
inline std::size_t NumberIn(const QString& text, const QString& pattern) {
    return QRegularExpression(pattern).match(text).captured(1).toULong();
}
