// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Which hidraw node is the alarm unit, under which handle, and which device
// events a change of the node set calls for. Pure bookkeeping: the caller
// locks, feeds it the changes and posts the events it returns, in order.

#include <map>
#include <string>
#include <vector>

#include "protocol/hid_library.h"
#include "usb_backend/hid_identity.h"

struct PendingEvent {
    int code = 0;
    DeviceHandle handle = 0;

    friend bool operator==(const PendingEvent&, const PendingEvent&) = default;
};

class UnitPresence {
public:
    // With `onlyDevnode` set, a unit on any other node is treated as another
    // device: the user picked one unit out of several.
    explicit UnitPresence(HidIdentity unit, std::string onlyDevnode = {});

    // A hidraw node appeared. The unit arriving while none is present gives
    // EventPlugged(new handle) then EventChanged; anything else EventChanged.
    // A node already known with the same identity gives nothing.
    std::vector<PendingEvent> Arrived(const DeviceNode& node);
    // A hidraw node went away. The present unit leaving gives
    // EventUnplugged(handle), EventPlugged for a second unit that takes over,
    // then EventChanged; anything else EventChanged.
    std::vector<PendingEvent> Left(const std::string& devnode);
    // Starts over from a full listing. The present unit keeps its handle if
    // its node is still listed as the unit; no events.
    void Replace(const std::vector<DeviceNode>& nodes);

    // Handle of the present unit, 0 when absent. Each plug-in gets a new one.
    DeviceHandle Handle() const { return handle_; }
    // Node of the present unit, empty when absent.
    const std::string& Devnode() const { return devnode_; }

private:
    bool IsUnit(const DeviceNode& node) const;
    // With no unit chosen, takes the first node that is one; true if found.
    bool ChooseUnit();
    DeviceHandle IssueHandle();

    HidIdentity unit_;
    std::string onlyDevnode_;
    std::map<std::string, bool> nodes_;  // devnode -> is the unit
    std::string devnode_;
    DeviceHandle handle_ = 0;
    DeviceHandle lastIssued_ = 0;
};
