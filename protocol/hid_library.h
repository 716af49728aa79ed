// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The seam between the tool and whatever carries HID reports to the alarm
// unit. Everything above it (upload, read-back, event hook, window) talks to
// the unit through this interface only, so a real USB backend and the
// in-process virtual unit are interchangeable.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// One report as the tool holds it: byte 0 is the report ID (always 0 here),
// bytes 1-8 are the eight data bytes on the wire.
using Report = std::array<std::uint8_t, 9>;

// Handle of a present device, issued by the library; 0 means "no device".
using DeviceHandle = std::uint32_t;

// The object that receives device events. Opaque to everything below the
// window layer; backends that post events know what it really is.
using WindowHandle = void*;

// Event codes carried by a device event.
enum DeviceEventCode : int {
    EventPlugged = 1,
    EventUnplugged = 2,
    EventChanged = 3,
    EventRead = 4,
};

// Whether the unit can be used, for telling the user why nothing reaches it.
struct UnitAccess {
    enum class State {
        Absent,  // no unit attached
        Denied,  // attached, but this user may not open it
        Usable,  // attached, and opened or not yet tried
    };
    State state = State::Absent;
    std::string devnode;  // where the unit is attached, when the library knows
};

// Writes that finish later, as a browser's do: Send hands one report over and
// returns at once; `done` runs afterwards on the owner's thread, with whether
// the device took it. Reports go out in the order handed over, each once the
// one before it has finished.
class LaterWrites {
public:
    virtual ~LaterWrites() = default;
    virtual void Send(std::int32_t vendorId, std::int32_t productId, const Report& report,
                      std::function<void(bool taken)> done) = 0;
};

class HidLibrary {
public:
    virtual ~HidLibrary() = default;

    // From now on, device events are delivered to `window`, one at a time, on
    // its thread.
    virtual bool Connect(WindowHandle window) = 0;
    // Ends event delivery; nothing is delivered after it returns.
    virtual bool Disconnect() = 0;
    // Handle of the present device with this identity, 0 when absent.
    virtual DeviceHandle GetHandle(std::int32_t vendorId, std::int32_t productId) = 0;
    // With `enabled`, each input report from that device produces one
    // EventRead carrying `handle`.
    virtual void SetReadNotify(DeviceHandle handle, bool enabled) = 0;
    // Takes one pending input report into `report`; false (buffer untouched)
    // when none is pending or `handle` is not a present device.
    virtual bool Read(DeviceHandle handle, Report& report) = 0;
    // Sends the 9 bytes as one output report to the device with that identity.
    virtual bool WriteEx(std::int32_t vendorId, std::int32_t productId, const Report& report) = 0;
    // True when a write waits until the device has taken the report (a USB
    // bus: up to the kernel's timeout for a unit that stops taking them).
    // WriteEx may then be called from one other thread while the other calls
    // stay on the owner's, so a caller with a window to keep alive sends from
    // there.
    virtual bool WritesWait() const { return false; }
    // Non-null when writes finish later: a caller that needs each write's
    // outcome sends through it, and WriteEx only hands a report over.
    virtual LaterWrites* WritesLater() { return nullptr; }

    // The state of the device with this identity. A library that cannot tell
    // a refused open from a working one only knows present or absent.
    virtual UnitAccess Access(std::int32_t vendorId, std::int32_t productId)
    {
        UnitAccess access;
        if (GetHandle(vendorId, productId) != 0)
            access.state = UnitAccess::State::Usable;
        return access;
    }
};
