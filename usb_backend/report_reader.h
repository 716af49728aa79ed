// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one thread that reads a port. No released hidapi can interrupt a
// blocking read, so it reads with a short timeout and checks a stop flag in
// between; stopping waits at most one timeout.

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "usb_backend/input_queue.h"
#include "usb_backend/unit_port.h"

class ReportReader {
public:
    using InputHandler = std::function<void(const InputBytes&)>;

    // Starts reading at once; `onInput` runs on the reader's thread.
    ReportReader(UnitPort& port, std::chrono::milliseconds timeout, InputHandler onInput);
    ~ReportReader();  // stops and joins

    ReportReader(const ReportReader&) = delete;
    ReportReader& operator=(const ReportReader&) = delete;

    // The port reported a failure and the reader ended.
    bool Failed() const { return failed_.load(); }

private:
    void Run();

    UnitPort& port_;
    const std::chrono::milliseconds timeout_;
    InputHandler onInput_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    std::thread thread_;  // last: starts once everything above is set
};
