// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs the command line against the in-process unit as a script would:
// arguments in, exit status and both streams out.

#include <QRegularExpression>
#include <QStringList>

#include <sstream>

#include "command_line/command_line.h"
#include "tests/support/faulty_unit_library.h"

class InProcessUnits : public UnitSource {
public:
    AlarmUnitModel model;
    FaultyUnitLibrary library{model};
    HidLibrary* opened = &library;
    std::vector<ListedUnit> listed{{"/dev/hidraw7", ListedUnit::Access::Openable}};

    std::vector<ListedUnit> List() override { return listed; }
    HidLibrary& Open(const std::string&) override { return *opened; }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
};

struct CliRun {
    int status;
    std::string out, err;
    bool operator==(const CliRun&) const = default;
};
inline void PrintTo(const CliRun& run, std::ostream* os) { *os << run.status << "\n" << run.out << "--\n" << run.err; }

// Four zones with distinct values, one text at its limit.
inline void LoadZones(AlarmUnitModel& model)
{
    model.StoreServiceCentre("656000311");
    model.StoreZone(1, "611222333", "Zona\runo");
    model.StoreZone(2, "622000111", "Puerta principal");
    model.StoreZone(3, "633444555", "Linea 1\r\nLinea 2 \xF1");
    model.StoreZone(4, "644777888", std::string(49, 'z'));
}

inline const ReadBackTimings ShortTimings{.firstAnswer = std::chrono::milliseconds(200),
                                          .quiet = std::chrono::milliseconds(30)};

// An argument starting with "FILE" starts with `file` instead.
inline CliRun RunCli(InProcessUnits& units, QStringList arguments, const QString& file = {}, bool progress = false,
                     ReadBackTimings timings = ShortTimings)
{
    arguments.replaceInStrings(QRegularExpression("^FILE"), file);
    std::ostringstream out, err;
    CommandContext context{units, out, err, progress, timings};
    const int status = RunCommandLine(QStringList{"velbrix-qorun-cli"} + arguments, context);
    return {status, out.str(), err.str()};
}
