// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/file_system.h"
#include "command_line/unit_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "command_line/field_values.h"
#include "command_line/unit_choice.h"
#include "command_line/zone_listing.h"
#include "command_line/replaced_file.h"
#include "protocol/utf8_text.h"
#include "protocol/report_layout.h"

namespace {

// The unit with the link it talks through, which outlives it.
struct OpenedUnit {
    OpenedUnit(std::shared_ptr<HidLibrary> opened, ReadBackTimings timings)
        : library(std::move(opened)), unit(*library, timings)
    {
    }
    std::shared_ptr<HidLibrary> library;
    ConnectedUnit unit;
};

// The unit a command works on, chosen, opened and attached; null with the
// failure already reported.
std::shared_ptr<ConnectedUnit> Connect(CommandContext& context, const std::string& device, int& status)
{
    const UnitChoice choice = ChooseUnit(context.units.List(), device, context.units.AccessFix());
    if (choice.devnode.empty()) {
        status = Fail(context, choice.failure);
        return nullptr;
    }
    const auto opened = std::make_shared<OpenedUnit>(context.units.Open(choice.devnode), context.timings);
    std::shared_ptr<ConnectedUnit> unit(opened, &opened->unit);
    const UnitAccess access = unit->Attach();
    if (access.state == UnitAccess::State::Usable)
        return unit;
    if (access.state == UnitAccess::State::Denied)
        status = Fail(context, AccessDenied(choice.devnode, context.units.AccessFix()));
    else
        status = Fail(context, {ExitNoUnit, "no unit attached\n"});
    return nullptr;
}

void Progress(CommandContext& context, const char* what, std::size_t k, std::size_t n)
{
    if (context.progress)
        context.err << what << ": zone " << k << " of " << n << "\n" << std::flush;
}

// Reads each zone in turn; on a failure says how far it got. `expected`,
// when given, is what each zone should hold.
std::optional<std::vector<ZoneReadout>> ReadZones(CommandContext& context, ConnectedUnit& unit,
                                                  const std::vector<std::int32_t>& zones,
                                                  const char* what, int& status,
                                                  const RestorePlan* expected = nullptr)
{
    std::vector<ZoneReadout> readouts;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        Progress(context, what, i + 1, zones.size());
        Failure failure;
        const std::size_t length = expected != nullptr ? AnswerLength(expected->serviceCentre, expected->zones[i]) : 0;
        auto readout = unit.ReadZone(zones[i], failure, length);
        if (!readout) {
            failure.message += std::to_string(i) + " of " + std::to_string(zones.size()) +
                               " zones had been read\n";
            status = Fail(context, failure);
            return std::nullopt;
        }
        readouts.push_back(std::move(*readout));
    }
    return readouts;
}

// Records the reports instead of sending them.
class DryRunLibrary : public HidLibrary {
public:
    std::vector<Report> written;

    bool Connect(WindowHandle) override { return true; }
    bool Disconnect() override { return true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return 0; }
    void SetReadNotify(DeviceHandle, bool) override {}
    bool Read(DeviceHandle, Report&) override { return false; }
    bool WriteEx(std::int32_t, std::int32_t, const Report& report) override
    {
        written.push_back(report);
        return true;
    }
};

// Why the upload of `zone` ended early, and how far it got.
std::string UploadEnded(std::int32_t zone, const UploadOutcome& outcome, ConnectedUnit& unit,
                        std::chrono::milliseconds notice)
{
    const bool refused = outcome.refusedAtAddress.has_value();
    // Still attached, it took no more: the kernel's write timeout ran out.
    const char* cause = refused && unit.StayedAttached(notice) ? "the unit stopped taking reports during the upload of zone "
                                                               : "the unit went away during the upload of zone ";
    return (refused ? cause : "the upload does not fit the unit's memory, zone ") +
           std::to_string(zone) + ": " + std::to_string(outcome.reportsSent) + " reports sent, stopped at address " +
           std::to_string(refused ? *outcome.refusedAtAddress : *outcome.stoppedAtAddress);
}

}  // namespace

int Fail(CommandContext& context, const Failure& failure)
{
    context.err << "velbrix-qorun-cli: " << failure.message << std::flush;
    return failure.status;
}

int ListUnits(CommandContext& context)
{
    const std::vector<ListedUnit> units = context.units.List();
    if (units.empty())
        return Fail(context, {ExitNoUnit, "no unit attached\n"});
    context.out << DescribeUnits(units) << std::flush;
    for (const ListedUnit& unit : units) {
        if (unit.access == ListedUnit::Access::Denied) {
            context.err << context.units.AccessFix() << std::flush;
            break;
        }
    }
    return ExitOk;
}

int ShowZones(CommandContext& context, const std::string& device,
              const std::vector<std::int32_t>& zones, bool json)
{
    int status = ExitOk;
    auto unit = Connect(context, device, status);
    if (!unit)
        return status;
    const auto readouts = ReadZones(context, *unit, zones, "show", status);
    if (!readouts)
        return status;
    const ZoneListing listing = ListingOf(zones, *readouts);
    if (json)
        context.out << IndentedJson(ListingJson(listing));
    else
        context.out << ListingText(listing);
    context.out << std::flush;
    return ExitOk;
}

int PrintDryRun(CommandContext& context, const SendValues& values)
{
    DryRunLibrary library;
    ConfiguratorState state;
    SendZoneConfiguration(state, library, values.zone, values.serviceCentre, values.pin, values.phone,
                          values.text);
    for (const Report& report : library.written) {
        char line[3 * 9 + 1];
        for (std::size_t i = 0; i < report.size(); ++i)
            std::snprintf(line + 3 * i, 4, i + 1 < report.size() ? "%02X " : "%02X", report[i]);
        context.out << line << "\n";
    }
    context.out << std::flush;
    return ExitOk;
}

int SendZone(CommandContext& context, const std::string& device, const SendValues& values)
{
    int status = ExitOk;
    auto unit = Connect(context, device, status);
    if (!unit)
        return status;
    const UploadOutcome outcome =
        unit->Send(values.zone, values.serviceCentre, values.pin, values.phone, values.text);
    if (!outcome.Complete())
        return Fail(context, {ExitNoUnit, UploadEnded(values.zone, outcome, *unit, context.timings.unplugNotice) + "\n"});
    context.out << "zone " << values.zone << ": " << outcome.reportsSent << " reports sent\n" << std::flush;
    return ExitOk;
}

int BackupZones(CommandContext& context, const std::string& device, const std::string& path)
{
    // Opened first so a bad path costs no traffic; nothing replaces the
    // file unless all four zones came back.
    ReplacedFile file(path);
    std::string error;
    if (!file.Open(error))
        return Fail(context, {ExitBadInput, "cannot write " + path + ": " + error + "\n"});
    int status = ExitOk;
    auto unit = Connect(context, device, status);
    if (!unit)
        return status;
    std::vector<std::int32_t> zones;
    for (const ZoneEntry& entry : ZoneTable)
        zones.push_back(entry.zone);
    const auto readouts = ReadZones(context, *unit, zones, "backup", status);
    if (!readouts) {
        context.err << "velbrix-qorun-cli: no backup written\n" << std::flush;
        return status;
    }
    if (!file.Commit(BackupFile(ListingOf(zones, *readouts)), error))
        return Fail(context, {ExitBadInput, "cannot write " + path + ": " + error + "\n"});
    context.out << "4 zones saved to " << path << "\n" << std::flush;
    return ExitOk;
}

std::string Differences(const RestorePlan& plan, const std::vector<ZoneReadout>& readouts,
                        std::vector<FieldDifference>* fields)
{
    std::string lines;
    const auto differ = [&lines, fields](const std::string& what, const std::string& expected, const std::string& found) {
        if (expected != found)
            lines += what + ": file has \"" + DisplayText(expected) + "\", unit has \"" +
                     DisplayText(found) + "\"\n";
        if (expected != found && fields != nullptr)
            fields->push_back({what, expected, found});
    };
    for (std::size_t i = 0; i < plan.zones.size() && i < readouts.size(); ++i) {
        const ZoneUpload& zone = plan.zones[i];
        const ZoneReadout& found = readouts[i];
        const std::string name = "zone " + std::to_string(zone.zone);
        // Every zone's answer carries the one global service centre: told once.
        if (i == 0)
            differ("operator", OperatorLabel(DecimalText(plan.serviceCentre)), OperatorLabel(found.serviceCentre));
        differ(name + " phone", ToUtf8(zone.phone), ToUtf8(found.phone));
        differ(name + " text", ToUtf8(zone.text), ToUtf8(found.text));
    }
    return lines;
}

int ReadBackupFile(CommandContext& context, const std::string& path, std::optional<RestorePlan>& plan)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(PathOf(path), ignored))
        return Fail(context, {ExitBadInput, "cannot read " + path + ": file to open is a directory\n"});
    std::ifstream file(PathOf(path), std::ios::binary);
    if (!file)
        return Fail(context, {ExitBadInput, "cannot read " + path + ": " + std::strerror(errno) + "\n"});
    const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string error;
    plan = ParseBackupFile(content, error);
    if (!plan)
        return Fail(context, {ExitBadInput, path + ": " + error + "; nothing sent\n"});
    return ExitOk;
}

int RestoreZones(CommandContext& context, const std::string& device, const std::string& path,
                 const std::u16string& pin, bool verify)
{
    std::optional<RestorePlan> plan;
    if (const int read = ReadBackupFile(context, path, plan); read != ExitOk)
        return read;

    int status = ExitOk;
    auto unit = Connect(context, device, status);
    if (!unit)
        return status;
    const std::size_t count = plan->zones.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ZoneUpload& zone = plan->zones[i];
        Progress(context, "restore", i + 1, count);
        // The PIN is global: once is enough.
        const UploadOutcome outcome =
            unit->Send(zone.zone, plan->serviceCentre, i == 0 ? pin : std::u16string(), zone.phone, zone.text);
        if (!outcome.Complete())
            return Fail(context, {ExitNoUnit, UploadEnded(zone.zone, outcome, *unit, context.timings.unplugNotice) + " (" + std::to_string(i) + " of " +
                                                    std::to_string(count) + " zones restored before it)\n"});
    }
    context.out << count << " zones restored from " << path << "\n" << std::flush;
    if (!verify)
        return ExitOk;

    std::vector<std::int32_t> zones;
    for (const ZoneUpload& zone : plan->zones)
        zones.push_back(zone.zone);
    const auto readouts = ReadZones(context, *unit, zones, "verify", status, &*plan);
    if (!readouts)
        return status;
    const std::string differences = Differences(*plan, *readouts);
    if (differences.empty()) {
        context.out << "verified: the unit holds what the file holds\n" << std::flush;
        return ExitOk;
    }
    context.out << differences << std::flush;
    return Fail(context, {ExitDifferences, "verify found differences\n"});
}
