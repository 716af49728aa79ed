// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A HidLibrary whose device is the in-process alarm unit model. It posts the
// same device events through the same path as the USB backend, so the window
// and the device link cannot tell the two apart. Tests and the demo plug and
// unplug the unit by hand. Toolkit-free. Single-threaded: everything runs on the window's
// thread. It posts through the sink it is given: the window's toolkit's
// (PostToWindow) or the command line's queue.

#include <deque>
#include <memory>

#include "device_link/device_event.h"
#include "protocol/device_event_sink.h"
#include "protocol/hid_library.h"
#include "virtual_unit/alarm_unit_model.h"

class InProcessLibrary : public HidLibrary {
public:
    InProcessLibrary(AlarmUnitModel& unit, std::unique_ptr<DeviceEventSink> sink, bool plugged = true);

    // Also posts EventChanged at once when the unit is plugged, so read
    // notifications get enabled without a replug.
    bool Connect(WindowHandle window) override;
    // Drops the device events not yet delivered, the pending input and the
    // read notification; nothing is posted afterwards.
    bool Disconnect() override;
    DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) override;
    // Only the present unit's handle turns notifications on or off.
    void SetReadNotify(DeviceHandle handle, bool enabled) override;
    bool Read(DeviceHandle handle, Report& report) override;
    // Hands Report[1..8] to the unit. Its answers are queued, one EventRead
    // each, only while read notification is on; otherwise they are lost, as
    // a real unit's input is before anyone listens. False when the identity
    // is not the unit's or the unit is unplugged.
    bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) override;

    // Plugging in gives the unit a new handle and posts EventPlugged(handle)
    // then EventChanged; unplugging posts EventUnplugged(old handle) then
    // EventChanged and loses pending input and the read notification. Each is
    // a no-op when the unit is already in that state.
    void Plug();
    void Unplug();
    bool Plugged() const { return handle_ != 0; }

private:
    void Post(int code, DeviceHandle handle = 0);

    AlarmUnitModel& unit_;
    std::unique_ptr<DeviceEventSink> sink_;
    bool connected_ = false;
    DeviceHandle handle_ = 0;      // 0 while unplugged
    DeviceHandle lastHandle_ = 0;  // handles are never reused within a run
    bool readNotify_ = false;
    std::deque<WireReport> pending_;
};
