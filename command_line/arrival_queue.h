// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The plugged-in units and which of them still wait their turn, in the
// order they arrived. A unit is served once per plug-in: taken, it stays
// served while it is plugged in; pulled out it is forgotten, so plugging it
// in again queues it afresh.

#include <functional>
#include <optional>
#include <vector>

#include "protocol/unit_arrivals.h"

class ArrivalQueue {
public:
    // A node already plugged in arriving again changes nothing.
    void Arrived(const ArrivedUnit& unit);
    void Left(const std::string& devnode);
    // The unit that has waited longest on a node not `busy`, now taken;
    // nothing when none waits there.
    std::optional<ArrivedUnit> Next(const std::function<bool(const std::string& devnode)>& busy);

private:
    struct Plugged {
        ArrivedUnit unit;
        bool taken = false;
    };
    std::vector<Plugged> plugged_;  // in order of arrival
};
