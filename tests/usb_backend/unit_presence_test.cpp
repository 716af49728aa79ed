#include "usb_backend/unit_presence.h"

#include <gtest/gtest.h>

namespace {

const HidIdentity Unit{0x1781, 0x07D0};
const HidIdentity Keyboard{0x046D, 0xC31C};

HidrawNode Node(const std::string& devnode, std::optional<HidIdentity> identity)
{
    return {devnode, identity};
}

using Events = std::vector<PendingEvent>;

}  // namespace

TEST(UnitPresence, UnitArrivingIsPluggedThenChanged)
{
    UnitPresence presence(Unit);
    EXPECT_EQ(presence.Handle(), 0u);
    const Events events = presence.Arrived(Node("/dev/hidraw2", Unit));
    ASSERT_NE(presence.Handle(), 0u);
    EXPECT_EQ(events, (Events{{EventPlugged, presence.Handle()}, {EventChanged, 0}}));
    EXPECT_EQ(presence.Devnode(), "/dev/hidraw2");
}

TEST(UnitPresence, UnitLeavingIsUnpluggedThenChanged)
{
    UnitPresence presence(Unit);
    presence.Arrived(Node("/dev/hidraw2", Unit));
    const DeviceHandle handle = presence.Handle();
    EXPECT_EQ(presence.Left("/dev/hidraw2"), (Events{{EventUnplugged, handle}, {EventChanged, 0}}));
    EXPECT_EQ(presence.Handle(), 0u);
    EXPECT_EQ(presence.Devnode(), "");
}

TEST(UnitPresence, OtherDevicesOnlyChangeAndKeepTheHandle)
{
    UnitPresence presence(Unit);
    presence.Arrived(Node("/dev/hidraw2", Unit));
    const DeviceHandle handle = presence.Handle();
    EXPECT_EQ(presence.Arrived(Node("/dev/hidraw0", Keyboard)), (Events{{EventChanged, 0}}));
    EXPECT_EQ(presence.Arrived(Node("/dev/hidraw5", std::nullopt)), (Events{{EventChanged, 0}}));
    EXPECT_EQ(presence.Left("/dev/hidraw0"), (Events{{EventChanged, 0}}));
    EXPECT_EQ(presence.Left("/dev/hidraw9"), (Events{{EventChanged, 0}}));
    EXPECT_EQ(presence.Handle(), handle);
}

TEST(UnitPresence, EveryPlugInGetsANewNonZeroHandle)
{
    UnitPresence presence(Unit);
    std::vector<DeviceHandle> seen;
    for (int i = 0; i < 3; ++i) {
        presence.Arrived(Node("/dev/hidraw1", Unit));
        seen.push_back(presence.Handle());
        presence.Left("/dev/hidraw1");
    }
    EXPECT_NE(seen[0], 0u);
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[1], seen[2]);
}

TEST(UnitPresence, RepeatedArrivalIsIgnored)
{
    // The monitor starts before the listing, so a node can be reported twice.
    UnitPresence presence(Unit);
    presence.Replace({Node("/dev/hidraw1", Unit)});
    const DeviceHandle handle = presence.Handle();
    EXPECT_EQ(presence.Arrived(Node("/dev/hidraw1", Unit)), Events{});
    EXPECT_EQ(presence.Handle(), handle);
}

TEST(UnitPresence, ANodeReusedByAnotherDeviceCountsAsLeaveAndArrive)
{
    UnitPresence presence(Unit);
    presence.Arrived(Node("/dev/hidraw1", Unit));
    const DeviceHandle handle = presence.Handle();
    EXPECT_EQ(presence.Arrived(Node("/dev/hidraw1", Keyboard)),
              (Events{{EventUnplugged, handle}, {EventChanged, 0}, {EventChanged, 0}}));
    EXPECT_EQ(presence.Handle(), 0u);
}

TEST(UnitPresence, SecondUnitTakesOverWhenTheFirstLeaves)
{
    UnitPresence presence(Unit);
    presence.Arrived(Node("/dev/hidraw1", Unit));
    const DeviceHandle first = presence.Handle();
    EXPECT_EQ(presence.Arrived(Node("/dev/hidraw4", Unit)), (Events{{EventChanged, 0}}));
    EXPECT_EQ(presence.Handle(), first);

    const Events events = presence.Left("/dev/hidraw1");
    const DeviceHandle second = presence.Handle();
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_EQ(events, (Events{{EventUnplugged, first}, {EventPlugged, second}, {EventChanged, 0}}));
    EXPECT_EQ(presence.Devnode(), "/dev/hidraw4");
}

TEST(UnitPresence, ReplaceKeepsThePresentUnitsHandle)
{
    UnitPresence presence(Unit);
    presence.Replace({Node("/dev/hidraw0", Keyboard), Node("/dev/hidraw3", Unit)});
    const DeviceHandle handle = presence.Handle();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(presence.Devnode(), "/dev/hidraw3");

    presence.Replace({Node("/dev/hidraw3", Unit)});
    EXPECT_EQ(presence.Handle(), handle);

    presence.Replace({Node("/dev/hidraw0", Keyboard)});
    EXPECT_EQ(presence.Handle(), 0u);

    presence.Replace({Node("/dev/hidraw3", Unit)});
    EXPECT_NE(presence.Handle(), 0u);
    EXPECT_NE(presence.Handle(), handle);
}

TEST(UnitPresence, NodesAfterReplaceAreKnown)
{
    UnitPresence presence(Unit);
    presence.Replace({Node("/dev/hidraw3", Unit)});
    const DeviceHandle handle = presence.Handle();
    EXPECT_EQ(presence.Left("/dev/hidraw3"), (Events{{EventUnplugged, handle}, {EventChanged, 0}}));
}
