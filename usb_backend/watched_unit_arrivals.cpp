// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/watched_unit_arrivals.h"

#include <algorithm>

WatchedUnitArrivals::WatchedUnitArrivals(std::unique_ptr<DeviceWatch> watch, HidIdentity unit, SerialLookup serialOf)
    : watch_(std::move(watch)), unit_(unit), serialOf_(std::move(serialOf))
{
}

WatchedUnitArrivals::~WatchedUnitArrivals()
{
    Stop();
}

bool WatchedUnitArrivals::Start(UnitArrivalListener& listener)
{
    Stop();
    listener_ = &listener;
    return watch_->Start(*this);
}

void WatchedUnitArrivals::Stop()
{
    watch_->Stop();
    listener_ = nullptr;
    present_.clear();
}

void WatchedUnitArrivals::Snapshot(const std::vector<DeviceNode>& nodes)
{
    std::vector<std::string> gone;
    for (const std::string& devnode : present_) {
        const bool listed = std::any_of(nodes.begin(), nodes.end(), [&](const DeviceNode& node) {
            return node.devnode == devnode && node.identity == unit_;
        });
        if (!listed)
            gone.push_back(devnode);
    }
    for (const std::string& devnode : gone)
        Left(devnode);
    for (const DeviceNode& node : nodes)
        Arrived(node);
}

void WatchedUnitArrivals::Arrived(const DeviceNode& node)
{
    // Another device on a node we knew: the unit's removal was missed.
    if (node.identity != unit_) {
        Left(node.devnode);
        return;
    }
    // A node seen again (the monitor and the first listing overlap) is no
    // new plug-in.
    if (!present_.insert(node.devnode).second)
        return;
    listener_->Arrived({node.devnode, serialOf_(node.devnode)});
}

void WatchedUnitArrivals::Left(const std::string& devnode)
{
    if (present_.erase(devnode) != 0)
        listener_->Left(devnode);
}
