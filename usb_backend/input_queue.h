// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Input reports of the unit waiting to be read, gated by read notification:
// only reports arriving after SetReadNotify(handle, true) for that handle are
// kept. Filled by the reader thread, emptied on the window's thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "protocol/hid_library.h"

// The eight data bytes of one input report, as the device sends them.
using InputBytes = std::array<std::uint8_t, 8>;

class InputQueue {
public:
    // A window that stops reading cannot make the queue grow without bound.
    static constexpr std::size_t DefaultCapacity = 4096;

    explicit InputQueue(std::size_t capacity = DefaultCapacity);

    // Keeps reports for `handle` from now on. For the handle already enabled
    // nothing changes; for another one, what was queued is dropped.
    void Enable(DeviceHandle handle);
    // Keeps nothing any more and drops what was queued.
    void Disable();
    // Like Disable, but only while `handle` is the enabled one.
    void Forget(DeviceHandle handle);

    // Queues a report that arrived for `handle`. True when it was kept, in
    // which case the caller announces it with one EventRead.
    bool Offer(DeviceHandle handle, const InputBytes& bytes);
    // Takes the oldest report for `handle` into `report` (byte 0 the report
    // ID 0, bytes 1-8 the data). False, `report` untouched, when none is there.
    bool Take(DeviceHandle handle, Report& report);

private:
    const std::size_t capacity_;
    std::mutex mutex_;
    DeviceHandle enabled_ = 0;
    std::deque<InputBytes> reports_;
};
