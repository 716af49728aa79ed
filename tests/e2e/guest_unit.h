// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The virtual unit as the guest tests use it: a USB gadget by default (the
// host's USB HID driver, its pace and its timeouts), loaded with the same
// zones, and ready once the kernel has made its hidraw node.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "endpoint_took.h"
#include "expected_reports.h"
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

// What a restore of the stored zones with `pin` sends: the PIN with zone 1.
inline std::vector<WireReport> StoredRestore(const std::u16string& pin) {
    const auto units = [](const std::string& latin1) { std::u16string out; for (const unsigned char c : latin1) out += c; return out; };
    std::vector<WireReport> all;
    for (int zone = 1; zone <= 4; ++zone) {
        const auto& [phone, text] = Stored[zone - 1];
        const auto reports =
            ExpectedUpload(zone, zone == 1 ? pin : u"", units(StoredServiceCentre), units(phone), units(text));
        all.insert(all.end(), reports.begin(), reports.end());
    }
    return all;
}

// The unit's `log`: `restore` whole and in order, then nothing but zones'
// requests (a verify's, a backup's).
inline testing::AssertionResult RestoredWhole(const std::vector<WireReport>& log,
                                              const std::vector<WireReport>& restore) {
    if (log.size() < restore.size() || !std::equal(restore.begin(), restore.end(), log.begin()))
        return testing::AssertionFailure() << "the unit took " << log.size() << " reports, not the restore's "
                                           << restore.size() << " first";
    for (std::size_t i = restore.size(); i < log.size(); ++i)
        if (log[i][5] < 1 || log[i][5] > 4)  // the command byte; the rest is the last write's
            return testing::AssertionFailure() << "report " << i << " is not a zone's request";
    return testing::AssertionSuccess();
}

template <typename Unit>
auto Memory(Unit& unit) { return unit.WithModel([](AlarmUnitModel& m) { return m.Memory(); }); }

template <typename Unit>
void PlugIn(Unit& unit) {
    ASSERT_TRUE(unit.Create()) << unit.Error();
    ASSERT_TRUE(WaitUntil([&] { return !unit.HidrawNode().empty(); })) << "the kernel made no hidraw node for the unit";
    ASSERT_TRUE(WaitUntil(GuestUnit::UdevIdle)) << "udevd still had events queued";
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
    ASSERT_TRUE(WaitUntil([&] { return unit.RepliesSent() >= StartUpAnswer && unit.InputTaken(); }))
        << unit.RepliesSent();
    AwaitArrival(tool);
    // Every report is in the host's buffers: only the tool's reader is left.
    Settle();
}
