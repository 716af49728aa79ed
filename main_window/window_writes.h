// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The window's way to the unit. Over a library whose writes wait for the unit
// (a USB bus: up to the kernel's timeout when it stops taking reports), every
// write leaves the window's thread: a zone's request is queued and not waited
// for, an upload runs as a whole on the same thread, in order, and reports
// back on the window's thread. So the window keeps repainting and answering
// while a slow or stalled unit takes its reports. Everything else goes
// straight through, as do all writes over a library whose writes do not wait.
// Over a library whose writes finish later, they go out one after another
// from the window's own thread, and nothing waits.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "main_window/later_writes.h"
#include "protocol/configurator_state.h"
#include "protocol/zone_upload.h"

class WindowWrites : public HidLibrary {
public:
    using Done = std::function<void(const ConfiguratorState& after, const UploadOutcome& outcome)>;
    // Hands a job to the window's thread (see FormWindow::PostToWindow).
    using ToWindow = std::function<void(std::function<void()> job)>;

    WindowWrites(HidLibrary& library, ToWindow toWindow);
    // Stop()s first.
    ~WindowWrites() override;
    WindowWrites(const WindowWrites&) = delete;
    WindowWrites& operator=(const WindowWrites&) = delete;

    bool Connect(WindowHandle window) override { return library_.Connect(window); }
    bool Disconnect() override { return library_.Disconnect(); }
    DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) override
    {
        return library_.GetHandle(vendorId, productId);
    }
    void SetReadNotify(DeviceHandle handle, bool enabled) override { library_.SetReadNotify(handle, enabled); }
    bool Read(DeviceHandle handle, Report& report) override { return library_.Read(handle, report); }
    // Queued when writes wait: true then means handed over, not delivered.
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override;
    // Either way the window hands its uploads over and hears back.
    bool WritesWait() const override { return library_.WritesWait() || later_; }
    UnitAccess Access(std::int32_t vendorId, std::int32_t productId) override
    {
        return library_.Access(vendorId, productId);
    }

    // Sends `request` from a copy of `state` after the writes queued before
    // it; `done` runs on the window's thread once its last write has
    // returned, unless this object is gone by then.
    void StartUpload(const ConfiguratorState& state, const UploadRequest& request, Done done);
    // From StartUpload until `done` has run.
    bool Uploading() const { return uploading_; }
    // Drops what waits and sends nothing more; the write under way finishes.
    void Cancel();
    // Cancel, then wait for the write under way, which the kernel bounds.
    void Stop();

private:
    void Post(std::function<void()> job);
    void Serve();

    HidLibrary& library_;
    ToWindow toWindow_;
    std::unique_ptr<LaterWriteQueue> later_;
    std::mutex mutex_;  // guards jobs_ and stopping_
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::atomic<bool> cancelled_{false};
    std::thread thread_;  // started with the first job
    bool uploading_ = false;
};
