// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/unit_provisioning.h"

#include "protocol/report_layout.h"

namespace {

using Result = UnitOutcome::Result;

bool Listed(HidLibrary& library, DeviceHandle handle)
{
    return library.GetHandle(DeviceVendorId, DeviceProductId) == handle;
}

std::string OneLine(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::string line;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string part = text.substr(start, end - start);
        part.erase(0, part.find_first_not_of(' '));
        line += (line.empty() ? "" : " ") + part;
        start = end + 1;
    }
    return line;
}

UnitOutcome Pulled(UnitOutcome outcome, const std::string& during)
{
    outcome.result = Result::Interrupted;
    outcome.detail = "unplugged after " + std::to_string(outcome.reportsSent) + " reports" + during +
                     "; plug it in again to provision it whole";
    return outcome;
}

}  // namespace

const char* ResultName(Result result)
{
    switch (result) {
    case Result::Ok: return "ok";
    case Result::Differs: return "differs";
    case Result::Interrupted: return "interrupted";
    case Result::StoppedTakingReports: return "stopped taking reports";
    case Result::NoAnswer: return "no answer";
    case Result::NoPermission: return "no permission";
    }
    return "";
}

UnitOutcome ProvisionUnit(ConnectedUnit& unit, HidLibrary& library, const RestorePlan& plan, const std::u16string& pin,
                          const ReadBackTimings& timings, const std::string& accessFix,
                          const ProvisionProgress& progress)
{
    UnitOutcome outcome;
    const UnitAccess access = unit.Attach();
    if (access.state == UnitAccess::State::Denied) {
        outcome.result = Result::NoPermission;
        outcome.detail = "this user may not open it; " + OneLine(accessFix);
        return outcome;
    }
    const DeviceHandle handle = library.GetHandle(DeviceVendorId, DeviceProductId);
    if (access.state != UnitAccess::State::Usable || handle == 0)
        return Pulled(outcome, " (before the upload)");

    const std::size_t count = plan.zones.size();
    for (std::size_t i = 0; i < count; ++i) {
        const ZoneUpload& zone = plan.zones[i];
        progress("upload zone " + std::to_string(i + 1) + " of " + std::to_string(count));
        const UploadOutcome sent =
            unit.Send(zone.zone, plan.serviceCentre, i == 0 ? pin : std::u16string(), zone.phone, zone.text);
        outcome.reportsSent += sent.reportsSent;
        if (sent.Complete())
            continue;
        // The backend may learn of an unplug a moment after the write that failed.
        if (!unit.StayedAttached(timings.unplugNotice))
            return Pulled(outcome, "");
        outcome.result = Result::StoppedTakingReports;
        outcome.detail = "a write was refused after " + std::to_string(outcome.reportsSent) +
                         " reports while the unit stayed plugged in";
        return outcome;
    }

    std::vector<ZoneReadout> readouts;
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t zone = plan.zones[i].zone;
        progress("verify zone " + std::to_string(i + 1) + " of " + std::to_string(count));
        Failure failure;
        auto readout = unit.ReadZone(zone, failure, AnswerLength(plan.serviceCentre, plan.zones[i]));
        if (!readout && !Listed(library, handle))
            return Pulled(outcome, " (while zone " + std::to_string(zone) + " was read back)");
        if (!readout) {
            outcome.result = Result::NoAnswer;
            outcome.detail = OneLine(failure.message);
            return outcome;
        }
        readouts.push_back(std::move(*readout));
    }
    Differences(plan, readouts, &outcome.differences);
    outcome.result = outcome.differences.empty() ? Result::Ok : Result::Differs;
    return outcome;
}
