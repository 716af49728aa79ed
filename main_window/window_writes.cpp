// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/window_writes.h"

namespace {

// An upload only writes; once cancelled it is refused from the next write on,
// as by a unit gone.
class CancellableWrites : public HidLibrary {
public:
    CancellableWrites(HidLibrary& library, const std::atomic<bool>& cancelled)
        : library_(library), cancelled_(cancelled) {}

    bool Connect(WindowHandle) override { return false; }
    bool Disconnect() override { return false; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return 0; }
    void SetReadNotify(DeviceHandle, bool) override {}
    bool Read(DeviceHandle, Report&) override { return false; }
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override
    {
        return !cancelled_ && library_.WriteEx(vendorId, productId, report);
    }

private:
    HidLibrary& library_;
    const std::atomic<bool>& cancelled_;
};

}  // namespace

WindowWrites::WindowWrites(HidLibrary& library, ToWindow toWindow)
    : library_(library), toWindow_(std::move(toWindow))
{
    if (LaterWrites* later = library_.WritesLater())
        later_ = std::make_unique<LaterWriteQueue>(*later);
}

WindowWrites::~WindowWrites()
{
    Stop();
}

bool WindowWrites::WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report)
{
    if (later_) {
        later_->Write(vendorId, productId, report);
        return true;
    }
    if (!library_.WritesWait())
        return library_.WriteEx(vendorId, productId, report);
    Post([this, vendorId, productId, report] {
        if (!cancelled_)
            library_.WriteEx(vendorId, productId, report);
    });
    return true;
}

void WindowWrites::StartUpload(const ConfiguratorState& state, const UploadRequest& request, Done done)
{
    uploading_ = true;
    if (later_) {
        // Its end comes from the library's own callback: posted, so it runs
        // after what the window has queued, as a thread's would.
        later_->Upload(state, request, [this, done = std::move(done)](const ConfiguratorState& after,
                                                                      const UploadOutcome& outcome) {
            toWindow_([this, after, outcome, done] {
                uploading_ = false;
                done(after, outcome);
            });
        });
        return;
    }
    Post([this, state = ConfiguratorState(state), request, done = std::move(done)]() mutable {
        CancellableWrites writes(library_, cancelled_);
        const UploadOutcome outcome = SendZoneConfiguration(state, writes, request.zone, request.serviceCentre,
                                                            request.pin, request.phone, request.text);
        // The window owns this object: a job it still receives finds it alive.
        toWindow_([this, state, outcome, done = std::move(done)] {
            uploading_ = false;
            done(state, outcome);
        });
    });
}

void WindowWrites::Cancel()
{
    cancelled_ = true;
    if (later_)
        later_->Cancel();
    std::lock_guard lock(mutex_);
    jobs_.clear();
}

void WindowWrites::Stop()
{
    Cancel();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void WindowWrites::Post(std::function<void()> job)
{
    std::lock_guard lock(mutex_);
    if (stopping_ || cancelled_)
        return;
    jobs_.push_back(std::move(job));
    if (!thread_.joinable())
        thread_ = std::thread([this] { Serve(); });
    wake_.notify_one();
}

void WindowWrites::Serve()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}
