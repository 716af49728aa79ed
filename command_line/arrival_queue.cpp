// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/arrival_queue.h"

#include <algorithm>

void ArrivalQueue::Arrived(const ArrivedUnit& unit)
{
    const bool known = std::any_of(plugged_.begin(), plugged_.end(),
                                   [&](const Plugged& p) { return p.unit.devnode == unit.devnode; });
    if (!known)
        plugged_.push_back({unit});
}

void ArrivalQueue::Left(const std::string& devnode)
{
    std::erase_if(plugged_, [&](const Plugged& p) { return p.unit.devnode == devnode; });
}

std::optional<ArrivedUnit> ArrivalQueue::Next(const std::function<bool(const std::string& devnode)>& busy)
{
    const auto waiting =
        std::find_if(plugged_.begin(), plugged_.end(), [&](const Plugged& p) { return !p.taken && !busy(p.unit.devnode); });
    if (waiting == plugged_.end())
        return std::nullopt;
    waiting->taken = true;
    return waiting->unit;
}
