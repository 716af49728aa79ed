// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One open HID device as the backend uses it. Read may run on a thread of its
// own while Write runs on the caller's; nothing else overlaps. The port
// closes the device when destroyed.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "protocol/hid_library.h"

class UnitPort {
public:
    virtual ~UnitPort() = default;

    // Sends one output report (byte 0 the report ID). False on failure.
    virtual bool Write(const Report& report) = 0;
    // Waits at most `timeout` for one input report. Returns its length, 0 when
    // none came, negative when the device failed (e.g. was unplugged).
    virtual int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
};

struct OpenResult {
    std::unique_ptr<UnitPort> port;  // null when the open failed
    bool permissionDenied = false;   // the failure was missing access rights
};

class UnitOpener {
public:
    virtual ~UnitOpener() = default;
    virtual OpenResult Open(const std::string& devnode) = 0;
};
