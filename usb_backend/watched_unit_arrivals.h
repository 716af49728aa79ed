// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// UnitArrivals over a hidraw watch: only the nodes that are the alarm unit,
// each with its USB serial number, and a lost-message resync turned into
// the arrivals and departures it implies.

#include <functional>
#include <memory>
#include <set>

#include "protocol/unit_arrivals.h"
#include "usb_backend/device_watch.h"

class WatchedUnitArrivals : public UnitArrivals, private DeviceWatchListener {
public:
    // Looks up the serial number of the unit on a node ("" when it has none).
    using SerialLookup = std::function<std::string(const std::string& devnode)>;

    WatchedUnitArrivals(std::unique_ptr<DeviceWatch> watch, HidIdentity unit, SerialLookup serialOf);
    ~WatchedUnitArrivals() override;

    bool Start(UnitArrivalListener& listener) override;
    void Stop() override;

private:
    void Snapshot(const std::vector<DeviceNode>& nodes) override;
    void Arrived(const DeviceNode& node) override;
    void Left(const std::string& devnode) override;

    std::unique_ptr<DeviceWatch> watch_;
    const HidIdentity unit_;
    SerialLookup serialOf_;
    UnitArrivalListener* listener_ = nullptr;
    std::set<std::string> present_;  // touched by Start, then by the watch's thread only
};
