// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit opened through hidapi, on whichever platform hidapi is built for.

#include <memory>
#include <mutex>
#include <string>

#include "usb_backend/unit_port.h"

struct hid_device_;

// Initialises hidapi once per process, before any reader thread exists.
// hid_exit is never called: other users may still need it, and it holds
// nothing worth giving back before the process ends.
void StartHidapi();

// hidapi keeps its last error in one unguarded global that hid_enumerate and
// hid_open_path both free and replace; calls from more than one thread take
// this lock around them.
std::mutex& HidapiGlobalsMutex();

class HidapiPort : public UnitPort {
public:
    // Reads go through one handle and writes through the other, both on the
    // same device; the port closes both.
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

// hidapi keeps one error string per handle and replaces it on every read and
// write, so the reader thread and the writer each get a handle of their own.
// Null when either open fails; nothing is left open then.
std::unique_ptr<UnitPort> OpenHidapiPort(const std::string& path);
