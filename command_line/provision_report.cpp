// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/file_system.h"
#include "command_line/provision_report.h"


#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

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

nlohmann::json UnitRecord(const ServedUnit& served, const std::string& time)
{
    const UnitOutcome& outcome = served.outcome;
    nlohmann::json differing = nlohmann::json::array();
    for (const FieldDifference& difference : outcome.differences)
        differing.push_back({{"field", difference.field}, {"file", difference.file}, {"unit", difference.unit}});
    const std::string& serial = served.unit.serialNumber;
    // A whole number of seconds is written without a fraction, as it always was.
    const auto ms = served.took.count();
    const nlohmann::json seconds = ms % 1000 == 0 ? nlohmann::json(ms / 1000) : nlohmann::json(ms / 1000.0);
    return {
        {"time", time},
        {"node", served.unit.devnode},
        {"serial", serial.empty() ? nlohmann::json() : nlohmann::json(serial)},
        {"result", ResultName(outcome.result)},
        {"differing", differing},
        {"detail", outcome.detail},
        {"reports", outcome.reportsSent},
        {"seconds", seconds},
    };
}

std::string UtcTime(std::chrono::system_clock::time_point when)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    const std::tm utc = UtcOf(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms % 1000));
    return text;
}

ProvisionLog::~ProvisionLog()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

bool ProvisionLog::Open(const std::string& path, std::string& error)
{
    file_ = OpenFile(path, "ab");
    if (file_ != nullptr)
        return true;
    error = errno == EISDIR ? "Is a directory" : std::strerror(errno);
    return false;
}

bool ProvisionLog::Append(const nlohmann::json& record, std::string& error)
{
    const std::string line = record.dump() + '\n';
    // Each unit's line is on disk before the next unit starts, whatever
    // ends the run.
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || !FlushToDisk(file_)) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
