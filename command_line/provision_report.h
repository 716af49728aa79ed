// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What provision says of each unit: one line on standard output, one JSON
// object in the log, and the log file itself, safe on disk after each unit.

#include <QFile>
#include <QJsonObject>
#include <QString>

#include <chrono>
#include <string>

#include "command_line/unit_provisioning.h"

struct ServedUnit {
    ArrivedUnit unit;
    UnitOutcome outcome;
    std::chrono::milliseconds took{0};
};

// "NODE[ serial SERIAL]: RESULT[: DETAIL] (T s)"; a difference lists its fields.
std::string UnitLine(const ServedUnit& served);
// {"time", "node", "serial" (null when none), "result", "differing" [{"field",
// "file", "unit"}], "detail", "reports", "seconds"}; `time` is ISO 8601 UTC.
QJsonObject UnitRecord(const ServedUnit& served, const QString& time);

class ProvisionLog {
public:
    // Appends to `path`, creating it; false with `error` set when it cannot.
    bool Open(const QString& path, QString& error);
    // One compact JSON line, flushed and synced to disk before it returns.
    bool Append(const QJsonObject& record, QString& error);

private:
    QFile file_;
};
