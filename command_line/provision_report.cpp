// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/provision_report.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string UnitLine(const ServedUnit& served)
{
    const UnitOutcome& outcome = served.outcome;
    std::string line = served.unit.devnode;
    if (!served.unit.serialNumber.empty())
        line += " serial " + served.unit.serialNumber;
    line += std::string(": ") + ResultName(outcome.result);
    std::string detail = outcome.detail;
    for (const FieldDifference& difference : outcome.differences)
        detail += (detail.empty() ? "" : ", ") + difference.field;
    if (!detail.empty())
        line += ": " + detail;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, " (%.1f s)", served.took.count() / 1000.0);
    return line + seconds;
}

QJsonObject UnitRecord(const ServedUnit& served, const QString& time)
{
    const UnitOutcome& outcome = served.outcome;
    QJsonArray differing;
    for (const FieldDifference& difference : outcome.differences)
        differing.append(QJsonObject{{QStringLiteral("field"), QString::fromStdString(difference.field)},
                                     {QStringLiteral("file"), difference.file},
                                     {QStringLiteral("unit"), difference.unit}});
    const std::string& serial = served.unit.serialNumber;
    return QJsonObject{
        {QStringLiteral("time"), time},
        {QStringLiteral("node"), QString::fromStdString(served.unit.devnode)},
        {QStringLiteral("serial"), serial.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(serial))},
        {QStringLiteral("result"), QString::fromUtf8(ResultName(outcome.result))},
        {QStringLiteral("differing"), differing},
        {QStringLiteral("detail"), QString::fromStdString(outcome.detail)},
        {QStringLiteral("reports"), static_cast<qint64>(outcome.reportsSent)},
        {QStringLiteral("seconds"), served.took.count() / 1000.0},
    };
}

bool ProvisionLog::Open(const QString& path, QString& error)
{
    file_.setFileName(path);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    error = file_.errorString();
    return false;
}

bool ProvisionLog::Append(const QJsonObject& record, QString& error)
{
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    // Each unit's line is on disk before the next unit starts, whatever
    // ends the run.
    if (file_.write(line) != line.size() || !file_.flush()) {
        error = file_.errorString();
        return false;
    }
    if (fsync(file_.handle()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}
