// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/unit_presence.h"

#include <utility>

UnitPresence::UnitPresence(HidIdentity unit, std::string onlyDevnode)
    : unit_(unit), onlyDevnode_(std::move(onlyDevnode))
{
}

bool UnitPresence::IsUnit(const DeviceNode& node) const
{
    return node.identity && *node.identity == unit_ &&
           (onlyDevnode_.empty() || node.devnode == onlyDevnode_);
}

DeviceHandle UnitPresence::IssueHandle()
{
    if (++lastIssued_ == 0)
        ++lastIssued_;
    return lastIssued_;
}

bool UnitPresence::ChooseUnit()
{
    for (const auto& [devnode, isUnit] : nodes_) {
        if (isUnit) {
            devnode_ = devnode;
            handle_ = IssueHandle();
            return true;
        }
    }
    return false;
}

std::vector<PendingEvent> UnitPresence::Arrived(const DeviceNode& node)
{
    const bool isUnit = IsUnit(node);
    auto known = nodes_.find(node.devnode);
    if (known != nodes_.end()) {
        if (known->second == isUnit)
            return {};
        // Same node, different device: its removal was missed.
        std::vector<PendingEvent> events = Left(node.devnode);
        std::vector<PendingEvent> more = Arrived(node);
        events.insert(events.end(), more.begin(), more.end());
        return events;
    }
    nodes_.emplace(node.devnode, isUnit);
    if (isUnit && handle_ == 0) {
        devnode_ = node.devnode;
        handle_ = IssueHandle();
        return {{EventPlugged, handle_}, {EventChanged, 0}};
    }
    return {{EventChanged, 0}};
}

std::vector<PendingEvent> UnitPresence::Left(const std::string& devnode)
{
    nodes_.erase(devnode);
    std::vector<PendingEvent> events;
    if (handle_ != 0 && devnode == devnode_) {
        events.push_back({EventUnplugged, handle_});
        devnode_.clear();
        handle_ = 0;
        if (ChooseUnit())
            events.push_back({EventPlugged, handle_});
    }
    events.push_back({EventChanged, 0});
    return events;
}

void UnitPresence::Replace(const std::vector<DeviceNode>& nodes)
{
    nodes_.clear();
    for (const DeviceNode& node : nodes)
        nodes_.emplace(node.devnode, IsUnit(node));
    auto current = nodes_.find(devnode_);
    if (handle_ != 0 && current != nodes_.end() && current->second)
        return;
    devnode_.clear();
    handle_ = 0;
    ChooseUnit();
}
