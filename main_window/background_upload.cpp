// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/background_upload.h"

#include <QMetaObject>
#include <QObject>

namespace {

// The upload only writes; a cancelled one is refused from the next write on,
// as a unit gone would be.
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

BackgroundUpload::~BackgroundUpload()
{
    Cancel();
    if (thread_.joinable())
        thread_.join();
}

void BackgroundUpload::Start(const ConfiguratorState& state, const UploadRequest& request, QObject* receiver,
                             Done done)
{
    if (thread_.joinable())
        thread_.join();  // the last one has reported, so it is over
    running_ = true;
    cancelled_ = false;
    // `receiver` owns this object, so it outlives the thread.
    thread_ = std::thread([this, state = ConfiguratorState(state), request, receiver, done = std::move(done)]() mutable {
        CancellableWrites writes(library_, cancelled_);
        const UploadOutcome outcome = SendZoneConfiguration(state, writes, request.zone, request.serviceCentre,
                                                            request.pin, request.phone, request.text);
        QMetaObject::invokeMethod(
            receiver,
            [this, state, outcome, done = std::move(done)] {
                running_ = false;
                done(state, outcome);
            },
            Qt::QueuedConnection);
    });
}
