// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What provision says of each unit: one line on standard output, one JSON
// object in the log, and the log file itself, safe on disk after each unit.

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
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
nlohmann::json UnitRecord(const ServedUnit& served, const std::string& time);
// `when` as "2026-03-14T09:26:53.589Z".
std::string UtcTime(std::chrono::system_clock::time_point when);

class ProvisionLog {
public:
    ProvisionLog() = default;
    ~ProvisionLog();
    ProvisionLog(const ProvisionLog&) = delete;
    ProvisionLog& operator=(const ProvisionLog&) = delete;

    // Appends to `path`, creating it; false with `error` set when it cannot.
    bool Open(const std::string& path, std::string& error);
    // One compact JSON line, flushed and synced to disk before it returns.
    bool Append(const nlohmann::json& record, std::string& error);

private:
    std::FILE* file_ = nullptr;
};
