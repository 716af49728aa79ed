// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The virtual unit as the guest tests use it: a USB gadget by default (the
// host's USB HID driver, its pace and its timeouts), loaded with the same
// zones, and ready once the kernel has made its hidraw node.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tool_session.h"
#include "virtual_unit/gadget_unit.h"

using GuestUnit = GadgetUnit;

// Phone and Latin-1 text of each zone. AMENA's service centre: a read-back
// that lands visibly moves the operator off the start-up choice MOVISTAR.
inline const std::string StoredServiceCentre = "656000311";
inline const std::pair<std::string, std::string> Stored[4] = {
    {"611222333", "Zona uno"},
    {"622000111", "Puerta principal"},
    {"633444555", "Linea 1\r\nLinea 2 \xF1"},
    {"644777888", "Humo en cocina \xF1"},
};

template <typename Unit>
void LoadStoredZones(Unit& unit) {
    unit.WithModel([](AlarmUnitModel& model) {
        model.StoreServiceCentre(StoredServiceCentre);
        for (int zone = 1; zone <= 4; ++zone) model.StoreZone(zone, Stored[zone - 1].first, Stored[zone - 1].second);
    });
}

template <typename Unit>
auto Memory(Unit& unit) { return unit.WithModel([](AlarmUnitModel& m) { return m.Memory(); }); }

template <typename Unit>
void PlugIn(Unit& unit) {
    ASSERT_TRUE(unit.Create()) << unit.Error();
    ASSERT_TRUE(WaitUntil([&] { return !unit.HidrawNode().empty(); })) << "the kernel made no hidraw node for the unit";
}

// The window started with the unit present asks for zone 1 and does not
// show the answer; a zone picked while that answer streams gets its tail.
inline const std::size_t StartUpAnswer =
    StoredServiceCentre.size() + Stored[0].first.size() + Stored[0].second.size();

// The backend's arrival report is what turns read notifications on.
inline void AwaitArrival(ToolSession& tool) {
    ASSERT_TRUE(WaitUntil([&] { return tool.Events().Count(EventChanged) > 0; })) << "no EventChanged arrived";
}

// Waits, as a user would, until that exchange is over and notifications are on.
template <typename Unit>
void AwaitStartUpExchange(Unit& unit, ToolSession& tool) {
    ASSERT_TRUE(WaitUntil([&] { return unit.RepliesSent() >= StartUpAnswer; })) << unit.RepliesSent();
    AwaitArrival(tool);
    Settle();
}
