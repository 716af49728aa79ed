// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/later_writes.h"

#include <vector>

#include "protocol/no_unit_library.h"
#include "protocol/report_layout.h"

namespace {

// Takes the first `taken` writes (all when unset), keeping them, and refuses
// the rest: the upload's own loop then decides everything else.
class TakingWrites : public NoUnitLibrary {
public:
    explicit TakingWrites(std::size_t taken) : taken_(taken) {}
    bool WriteEx(std::int32_t, std::int32_t, const Report& report) override
    {
        if (reports.size() >= taken_)
            return false;
        reports.push_back(report);
        return true;
    }
    std::vector<Report> reports;

private:
    std::size_t taken_;
};

UploadOutcome Run(ConfiguratorState& state, const UploadRequest& request, HidLibrary& library)
{
    return SendZoneConfiguration(state, library, request.zone, request.serviceCentre, request.pin, request.phone,
                                 request.text);
}

}  // namespace

struct LaterWriteQueue::Batch {
    ConfiguratorState before;
    UploadRequest request;
    Done done;
    std::size_t planned = 0, taken = 0;
    bool ended = false;
};

void LaterWriteQueue::Write(std::int32_t vendorId, std::int32_t productId, const Report& report)
{
    if (cancelled_)
        return;
    queue_.push_back({vendorId, productId, report, nullptr});
    Pump();
}

void LaterWriteQueue::Upload(const ConfiguratorState& state, const UploadRequest& request, Done done)
{
    auto upload = std::make_shared<Batch>(Batch{state, request, std::move(done)});
    ConfiguratorState planning = state;
    TakingWrites all(SIZE_MAX);
    Run(planning, request, all);
    upload->planned = all.reports.size();
    if (cancelled_ || upload->planned == 0) {
        End(*upload);
        return;
    }
    for (const Report& report : all.reports)
        queue_.push_back({DeviceVendorId, DeviceProductId, report, upload});
    Pump();
}

void LaterWriteQueue::Cancel()
{
    cancelled_ = true;
    std::deque<Queued> dropped;
    dropped.swap(queue_);
    // An upload whose report is under way ends once that one has finished.
    for (const Queued& queued : dropped)
        if (queued.upload && !queued.upload->ended && queued.upload != inFlight_)
            End(*queued.upload);
}

void LaterWriteQueue::Pump()
{
    while (!sending_ && !queue_.empty()) {
        Queued next = std::move(queue_.front());
        queue_.pop_front();
        if (next.upload && next.upload->ended)
            continue;  // an earlier report of its upload was refused
        sending_ = true;
        inFlight_ = next.upload;
        writes_.Send(next.vendorId, next.productId, next.report,
                     [this, alive = std::weak_ptr<bool>(alive_), next](bool taken) {
                         const auto held = alive.lock();
                         if (!held || !*held)
                             return;
                         sending_ = false;
                         inFlight_.reset();
                         Finished(next, taken);
                         if (cancelled_ && next.upload && !next.upload->ended)
                             End(*next.upload);
                         Pump();
                     });
    }
}

void LaterWriteQueue::Finished(const Queued& queued, bool taken)
{
    if (!queued.upload || queued.upload->ended)
        return;
    Batch& upload = *queued.upload;
    if (taken)
        ++upload.taken;
    if (!taken || upload.taken == upload.planned)
        End(upload);
}

void LaterWriteQueue::End(Batch& upload)
{
    upload.ended = true;
    ConfiguratorState after = upload.before;
    TakingWrites some(upload.taken);
    const UploadOutcome outcome = Run(after, upload.request, some);
    upload.done(after, outcome);
}
