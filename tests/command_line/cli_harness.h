// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs the command line against the in-process unit as a script would:
// arguments in, exit status and both streams out.

#include <QRegularExpression>
#include <QStringList>

#include <sstream>

#include "command_line/command_line.h"
#include "virtual_unit/in_process_library.h"

// The in-process unit, optionally pulled out after some writes, deaf to
// read-back requests, or storing 'X' for the byte written at one address.
class FaultyUnitLibrary : public InProcessLibrary {
public:
    using InProcessLibrary::InProcessLibrary;
    int unplugAfterWrites = -1, alteredAddress = -1;  // -1: never
    bool silent = false;

    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        if (unplugAfterWrites-- == 0)
            Unplug();
        Report stored = report;
        if (report[6] == 10 && report[8] == alteredAddress && report[7] != 0)
            stored[7] = 'X';
        return (silent && report[6] != 10) || InProcessLibrary::WriteEx(vendorId, productId, stored);
    }
};

class InProcessUnits : public UnitSource {
public:
    AlarmUnitModel model;
    FaultyUnitLibrary library{model};
    std::vector<ListedUnit> listed{{"/dev/hidraw7", ListedUnit::Access::Openable}};

    std::vector<ListedUnit> List() override { return listed; }
    HidLibrary& Open(const std::string&) override { return library; }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
};

struct CliRun {
    int status;
    std::string out, err;
    bool operator==(const CliRun&) const = default;
};
inline void PrintTo(const CliRun& run, std::ostream* os) { *os << run.status << "\n" << run.out << "--\n" << run.err; }

// An argument starting with "FILE" starts with `file` instead.
inline CliRun RunCli(InProcessUnits& units, QStringList arguments, const QString& file = {})
{
    arguments.replaceInStrings(QRegularExpression("^FILE"), file);
    std::ostringstream out, err;
    CommandContext context{units, out, err, false,
                           {.firstAnswer = std::chrono::milliseconds(200), .quiet = std::chrono::milliseconds(30)}};
    const int status = RunCommandLine(QStringList{"velbrix-qorun-cli"} + arguments, context);
    return {status, out.str(), err.str()};
}
