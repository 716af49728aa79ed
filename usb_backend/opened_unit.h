// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit while it is open: one port shared by the writer (caller's thread)
// and the reader thread, since every hidraw open gets its own copy of each
// input report.

#include <chrono>
#include <functional>
#include <memory>

#include "usb_backend/report_reader.h"
#include "usb_backend/unit_port.h"

class OpenedUnit {
public:
    using InputHandler = std::function<void(DeviceHandle, const InputBytes&)>;

    OpenedUnit(std::unique_ptr<UnitPort> port, DeviceHandle handle, std::chrono::milliseconds readTimeout,
               InputHandler onInput);

    DeviceHandle Handle() const { return handle_; }
    bool Write(const Report& report) { return port_->Write(report); }
    bool ReaderFailed() const { return reader_.Failed(); }

private:
    std::unique_ptr<UnitPort> port_;
    DeviceHandle handle_;
    ReportReader reader_;  // after port_: joined before the port closes
};
