// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The alarm unit model served on /dev/uhid: the kernel sees a USB HID device
// 1781:07d0 with one 8-byte input and one 8-byte output report and no report
// IDs, so the tool reaches it through hidraw exactly as it reaches the real
// unit. One thread per created device answers the kernel. The model (memory
// and log of received reports) outlives the device, so a test can pull the
// unit out, plug it back in and inspect what it received.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "virtual_unit/hosted_model.h"

class UhidUnit : public HostedModel {
public:
    UhidUnit() = default;
    ~UhidUnit();
    UhidUnit(const UhidUnit&) = delete;
    UhidUnit& operator=(const UhidUnit&) = delete;

    // Creates the device (a plug-in) and starts answering it. False, with
    // the reason in Error(), when /dev/uhid cannot be used. A no-op while the
    // device exists.
    bool Create();
    // Destroys the device (a pull-out) and joins its thread; the model stays.
    void Remove();
    // True from Create until the device is destroyed, by Remove or by itself.
    bool Present() const { return present_; }
    // Pulls itself out right after the n-th output report from now has been
    // applied, on its own thread: a unit lost in the middle of an upload.
    void RemoveAfter(std::size_t reports);

    // Gap between two input reports. A real unit's interrupt endpoint sends
    // at most one report per millisecond; uhid has no such pace, and hidraw
    // drops what a reader has not fetched once 64 reports are waiting.
    void SetReplyInterval(std::chrono::microseconds interval) { replyInterval_ = interval; }

    // The hidraw node the kernel made for this device, "" until it exists.
    std::string HidrawNode() const;

    // Input reports sent so far, over every creation.
    std::size_t RepliesSent() const { return replies_; }

private:
    void Serve();
    bool HandleEvent();
    void ApplyOutput(const std::uint8_t* data, std::size_t size);
    bool Send(const void* event);

    std::string uniq_;          // tells this creation's hidraw node apart
    int fd_ = -1;
    int stopFd_ = -1;           // eventfd that wakes the thread to stop
    std::thread thread_;
    std::atomic<bool> present_{false};
    std::atomic<std::size_t> removeAfter_{0};  // reports left before pulling out; 0: never
    std::atomic<std::size_t> replies_{0};
    std::atomic<std::chrono::microseconds> replyInterval_{std::chrono::milliseconds(1)};
};
