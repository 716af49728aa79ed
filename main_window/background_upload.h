// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One upload on a thread of its own, for a library whose writes wait for the
// unit: the window keeps repainting and answering while a slow or stalled
// unit takes its reports. The upload works on a copy of the protocol state;
// the window takes the copy back, with the outcome, on its own thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "protocol/configurator_state.h"
#include "protocol/zone_upload.h"

class QObject;

struct UploadRequest {
    std::int32_t zone = 0;
    std::int32_t serviceCentre = 0;
    std::u16string pin, phone, text;
};

class BackgroundUpload {
public:
    using Done = std::function<void(const ConfiguratorState& after, const UploadOutcome& outcome)>;

    explicit BackgroundUpload(HidLibrary& library) : library_(library) {}
    // Cancels and waits for the write under way, which the kernel bounds.
    ~BackgroundUpload();
    BackgroundUpload(const BackgroundUpload&) = delete;
    BackgroundUpload& operator=(const BackgroundUpload&) = delete;

    // Starts sending `request` from `state`; `done` runs on `receiver`'s
    // thread once the last write has returned. `receiver` owns this object.
    void Start(const ConfiguratorState& state, const UploadRequest& request, QObject* receiver, Done done);
    // From Start until `done` has run.
    bool Running() const { return running_; }
    // The write under way finishes; no later one is sent.
    void Cancel() { cancelled_ = true; }

private:
    HidLibrary& library_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    bool running_ = false;
};
