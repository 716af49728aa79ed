// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/watched_unit_arrivals.h"

#include <gtest/gtest.h>

#include "tests/usb_backend/fake_hidraw.h"

namespace {

const HidIdentity UnitId{0x1781, 0x07D0};
const HidIdentity KeyboardId{0x046D, 0xC31C};

struct Recorder : UnitArrivalListener {
    std::vector<std::string> seen;
    void Arrived(const ArrivedUnit& unit) override { seen.push_back("+" + unit.devnode + " " + unit.serialNumber); }
    void Left(const std::string& devnode) override { seen.push_back("-" + devnode); }
};

TEST(WatchedUnitArrivals, ReportsEachPlugInOfAUnitOnceAndMissedRemovalsOnResync)
{
    auto owned = std::make_unique<FakeWatch>();
    FakeWatch& watch = *owned;
    watch.nodes = {{"/dev/hidraw0", KeyboardId}, {"/dev/hidraw1", UnitId}};
    WatchedUnitArrivals arrivals(std::move(owned), UnitId, [](const std::string& node) { return "SN" + node.substr(11); });
    Recorder recorder;
    ASSERT_TRUE(arrivals.Start(recorder));
    watch.Plug({"/dev/hidraw2", UnitId});
    watch.listener->Arrived({"/dev/hidraw2", UnitId});  // the monitor and the listing overlap
    watch.Unplug("/dev/hidraw0");
    watch.Plug({"/dev/hidraw3", UnitId});
    // Messages lost: hidraw1 went, and hidraw2 is another device now.
    watch.nodes = {{"/dev/hidraw2", KeyboardId}, {"/dev/hidraw3", UnitId}};
    watch.Resync();
    watch.Plug({"/dev/hidraw1", UnitId});
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"+/dev/hidraw1 SN1", "+/dev/hidraw2 SN2", "+/dev/hidraw3 SN3",
                                                        "-/dev/hidraw1", "-/dev/hidraw2", "+/dev/hidraw1 SN1"}));
}

TEST(WatchedUnitArrivals, AnotherDeviceOnAUnitsNodeIsItsRemovalAndTheUnitBackThereArrivesAgain)
{
    auto owned = std::make_unique<FakeWatch>();
    FakeWatch& watch = *owned;
    watch.nodes = {{"/dev/hidraw1", UnitId}};
    WatchedUnitArrivals arrivals(std::move(owned), UnitId, [](const std::string&) { return "SN"; });
    Recorder recorder;
    ASSERT_TRUE(arrivals.Start(recorder));
    watch.listener->Arrived({"/dev/hidraw1", KeyboardId});
    watch.listener->Arrived({"/dev/hidraw1", UnitId});
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"+/dev/hidraw1 SN", "-/dev/hidraw1", "+/dev/hidraw1 SN"}));
}

}  // namespace
