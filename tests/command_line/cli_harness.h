#pragma once
// Runs the command line's commands against the in-process unit, as a script
// would run the program: arguments in, exit status and both streams out.

#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

#include "command_line/command_line.h"
#include "virtual_unit/in_process_library.h"

// The in-process unit, optionally pulled out after a number of writes or
// storing one address's byte differently from what was sent.
class FaultyUnitLibrary : public InProcessLibrary {
public:
    using InProcessLibrary::InProcessLibrary;

    int unplugAfterWrites = -1;  // -1: never
    int alteredAddress = -1;     // a write there stores 'X' instead
    bool silent = false;         // answers no read-back request

    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        if (unplugAfterWrites == 0)
            Unplug();
        if (unplugAfterWrites > 0)
            --unplugAfterWrites;
        if (silent && report[6] != 10)
            return true;
        Report stored = report;
        if (report[6] == 10 && report[8] == alteredAddress && report[7] != 0)
            stored[7] = 'X';
        return InProcessLibrary::WriteEx(vendorId, productId, stored);
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
    int status = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCli(InProcessUnits& units, const QStringList& arguments)
{
    std::ostringstream out, err;
    using std::chrono::milliseconds;
    CommandContext context{units, out, err, false, {.firstAnswer = milliseconds(200), .quiet = milliseconds(30)}};
    const int status = RunCommandLine(QStringList{QStringLiteral("velbrix-qorun-cli")} + arguments, context);
    return {status, out.str(), err.str()};
}
