// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit's node opened through hidapi (hidraw backend).

#include <mutex>

#include "usb_backend/unit_port.h"

struct hid_device_;

// hidapi keeps its last error in one unguarded global that hid_enumerate and
// hid_open_path both free and replace; calls from more than one thread take
// this lock around them.
std::mutex& HidapiGlobalsMutex();

class HidapiOpener : public UnitOpener {
public:
    // Initialises hidapi once per process, before any reader thread exists.
    HidapiOpener();
    OpenResult Open(const std::string& devnode) override;
};

class HidapiPort : public UnitPort {
public:
    // Reads go through one handle and writes through the other, both on the
    // same node; the port closes both.
    HidapiPort(hid_device_* reader, hid_device_* writer) : reader_(reader), writer_(writer) {}
    ~HidapiPort() override;

    HidapiPort(const HidapiPort&) = delete;
    HidapiPort& operator=(const HidapiPort&) = delete;

    bool Write(const Report& report) override;
    int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;

private:
    hid_device_* reader_;
    hid_device_* writer_;
};
