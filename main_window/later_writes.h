// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window's writes over a library whose writes finish later (a browser's):
// one report out at a time, in order, without ever waiting on the window's
// thread. An upload ends as one run on a thread would have ended: its
// reports are worked out beforehand, and once the unit took k of them or the
// (k+1)-th was refused, the same upload is gone through again with a library
// that takes k, which gives the outcome and the state after it exactly.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "protocol/configurator_state.h"
#include "protocol/zone_upload.h"

struct UploadRequest {
    std::int32_t zone = 0;
    std::int32_t serviceCentre = 0;
    std::u16string pin, phone, text;
};

class LaterWriteQueue {
public:
    using Done = std::function<void(const ConfiguratorState& after, const UploadOutcome& outcome)>;

    explicit LaterWriteQueue(LaterWrites& writes) : writes_(writes) {}
    // A send still under way finds nothing to report back to.
    ~LaterWriteQueue() { *alive_ = false; }
    LaterWriteQueue(const LaterWriteQueue&) = delete;
    LaterWriteQueue& operator=(const LaterWriteQueue&) = delete;

    // A report whose outcome nobody awaits (a zone's request).
    void Write(std::int32_t vendorId, std::int32_t productId, const Report& report);
    // `done` runs once the upload's last report has finished or one was
    // refused, after every report queued before it.
    void Upload(const ConfiguratorState& state, const UploadRequest& request, Done done);
    // What waits is refused, as by a unit gone: an upload under way ends
    // with what the unit took. The send under way finishes.
    void Cancel();

private:
    struct Batch;
    struct Queued {
        std::int32_t vendorId, productId;
        Report report;
        std::shared_ptr<Batch> upload;  // null for a request
    };
    void Pump();
    void Finished(const Queued& queued, bool taken);
    static void End(Batch& upload);

    LaterWrites& writes_;
    std::deque<Queued> queue_;
    bool sending_ = false;
    std::shared_ptr<Batch> inFlight_;  // the upload of the report under way
    bool cancelled_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
