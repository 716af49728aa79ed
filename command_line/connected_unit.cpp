// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/connected_unit.h"

#include <algorithm>

#include "protocol/readback.h"
#include "protocol/report_layout.h"

ConnectedUnit::ConnectedUnit(HidLibrary& library, ReadBackTimings timings)
    : library_(library), timings_(timings), link_(library, hook_)
{
}

ConnectedUnit::~ConnectedUnit()
{
    link_.DetachDeviceLink();
}

void ConnectedUnit::DeliverUntil(Clock::time_point deadline, const std::function<bool()>& done)
{
    while (!done()) {
        const std::optional<QueuedDeviceEvent> event = events_.Take(deadline);
        if (!event)
            return;
        link_.DeviceEventProc(event->code, event->handle);
    }
}

UnitAccess ConnectedUnit::Attach()
{
    link_.AttachDeviceLink(events_.AsWindow(), *this);
    // A unit already present announces itself with a change event on connect.
    DeliverUntil(Clock::now(), [] { return false; });
    handle_ = library_.GetHandle(DeviceVendorId, DeviceProductId);
    return library_.Access(DeviceVendorId, DeviceProductId);
}

std::optional<ZoneReadout> ConnectedUnit::ReadZone(std::int32_t zone, Failure& failure, std::size_t expectedReports)
{
    std::optional<ZoneReadout> readout = ReadAnswer(zone, failure, expectedReports);
    // A reader kept off the CPU too long loses reports (the kernel holds 64
    // for it), so an answer short of what the unit should hold is asked for
    // once more before it counts as the unit's.
    if (readout && reports_ < expectedReports)
        readout = ReadAnswer(zone, failure, expectedReports);
    return readout;
}

std::optional<ZoneReadout> ConnectedUnit::ReadAnswer(std::int32_t zone, Failure& failure, std::size_t expectedReports)
{
    const std::string zoneName = "zone " + std::to_string(zone);
    if (gone_ || handle_ == 0 || library_.GetHandle(DeviceVendorId, DeviceProductId) != handle_) {
        failure = {ExitNoUnit, "the unit is gone; " + zoneName + " was not read\n"};
        return std::nullopt;
    }
    phone_.clear();
    text_.clear();
    state_.ReceivedSmsc.clear();
    state_.SelectedZone = DecimalText(zone);
    reports_ = 0;
    expected_ = expectedReports;
    longestGap_ = {};

    const Clock::time_point longest = Clock::now() + timings_.longest;
    answerBy_ = Clock::now() + timings_.firstAnswer;
    waiting_ = true;
    RequestZoneReadBack(state_, library_);
    // Each report moves answerBy_ on; whichever time comes first ends the wait.
    bool tooLong = false;
    while (!gone_) {
        const Clock::time_point deadline = std::min(answerBy_, longest);
        const std::optional<QueuedDeviceEvent> event = events_.Take(deadline);
        if (!event) {
            tooLong = longest < answerBy_;
            break;
        }
        link_.DeviceEventProc(event->code, event->handle);
    }
    waiting_ = false;

    if (gone_) {
        failure = {ExitNoUnit, "the unit was unplugged while " + zoneName + " was being read (" +
                                   std::to_string(reports_) + " reports had come)\n"};
        return std::nullopt;
    }
    if (reports_ == 0) {
        failure = {ExitNoUnit, "no answer from the unit within " +
                                   std::to_string(timings_.firstAnswer.count()) +
                                   " ms after asking for " + zoneName + "\n"};
        return std::nullopt;
    }
    if (tooLong) {
        failure = {ExitNoUnit, "the unit was still sending " + zoneName + " after " +
                                   std::to_string(timings_.longest.count()) + " ms\n"};
        return std::nullopt;
    }
    return ZoneReadout{state_.ReceivedSmsc, phone_, text_};
}

UploadOutcome ConnectedUnit::Send(std::int32_t zone, std::int32_t serviceCentre,
                                  const std::u16string& pin, const std::u16string& phone,
                                  const std::u16string& text)
{
    return SendZoneConfiguration(state_, library_, zone, serviceCentre, pin, phone, text);
}

void ConnectedUnit::OnPlugged(DeviceHandle) {}

void ConnectedUnit::OnUnplugged(DeviceHandle pHandle)
{
    if (pHandle != handle_)
        return;
    gone_ = true;
}

void ConnectedUnit::OnChanged()
{
    // Every change, as the window does, so notifications follow the unit.
    library_.SetReadNotify(library_.GetHandle(DeviceVendorId, DeviceProductId), true);
}

void ConnectedUnit::OnRead(DeviceHandle pHandle)
{
    if (!waiting_) {
        Report unwanted{};
        library_.Read(pHandle, unwanted);  // late or unasked: drained, not decoded
        return;
    }
    HandleInputReport(state_, library_, *this, pHandle);
    // Notifications still queued when the unit went carry no report.
    if (library_.GetHandle(DeviceVendorId, DeviceProductId) != pHandle)
        return;
    const Clock::time_point now = Clock::now();
    // The wait for the first report is the unit's latency, not its pace.
    if (reports_++ > 0)
        longestGap_ = std::max(longestGap_, now - lastReport_);
    lastReport_ = now;
    if (reports_ < 2 || reports_ < expected_) {
        answerBy_ = now + timings_.firstAnswer;
        return;
    }
    const bool whole = expected_ > 0;
    const int gaps = whole ? timings_.gapsToEndWhole : timings_.gapsToEnd;
    answerBy_ = now + std::max<Clock::duration>(whole ? timings_.quietWhole : timings_.quiet, gaps * longestGap_);
}

void ConnectedUnit::SelectOperator(int)
{
    // The operator is told from the whole service-centre number at the end.
}

bool ConnectedUnit::StayedAttached(std::chrono::milliseconds notice)
{
    const Clock::time_point deadline = Clock::now() + notice;
    while (!gone_ && library_.GetHandle(DeviceVendorId, DeviceProductId) == handle_) {
        if (Clock::now() >= deadline)
            return true;
        // The listing is asked again every 10 ms: a backend may drop the unit
        // from it before its unplug event comes.
        DeliverUntil(std::min(deadline, Clock::now() + std::chrono::milliseconds(10)), [this] { return gone_; });
    }
    return false;
}
