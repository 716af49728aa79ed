// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Lists the hidraw nodes and follows them coming and going. The production
// watch is a udev netlink monitor; tests drive their own.

#include <string>
#include <vector>

#include "usb_backend/hid_identity.h"

class DeviceWatchListener {
public:
    // The full set of nodes; replaces whatever was known. Called by Start on
    // the caller's thread before changes flow, and again from the watch's
    // thread if events were lost.
    virtual void Snapshot(const std::vector<DeviceNode>& nodes) = 0;
    // Called on the watch's thread, one change at a time.
    virtual void Arrived(const DeviceNode& node) = 0;
    virtual void Left(const std::string& devnode) = 0;

protected:
    ~DeviceWatchListener() = default;
};

class DeviceWatch {
public:
    virtual ~DeviceWatch() = default;

    // The nodes present now, on the caller's thread.
    virtual std::vector<DeviceNode> Enumerate() = 0;
    // Delivers a Snapshot, then changes until Stop. False when changes cannot
    // be followed (the Snapshot is delivered all the same).
    virtual bool Start(DeviceWatchListener& listener) = 0;
    // No listener call is made once this returns; the watch's thread is
    // joined. Harmless when not started.
    virtual void Stop() = 0;
};
