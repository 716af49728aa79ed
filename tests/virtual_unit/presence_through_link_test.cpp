// Plugging, unplugging and disconnecting the virtual unit while the device
// link is attached: which events reach the window and which answers arrive.

#include <utility>
#include <vector>

#include "tests/virtual_unit/link_fixture.h"

namespace {

using Events = std::vector<std::pair<int, DeviceHandle>>;

}  // namespace

TEST_F(VirtualUnitLink, ReplugRenewsTheHandleAndOnChangedReenablesReadBack)
{
    unit.StoreServiceCentre("607003110");
    unit.StoreZone(3, "633333333", "Tres");
    AttachAndSettle();
    const DeviceHandle first = library.GetHandle(DeviceVendorId, DeviceProductId);
    ASSERT_NE(first, 0u);

    library.Unplug();
    DeliverPostedEvents(window);
    EXPECT_EQ(library.GetHandle(DeviceVendorId, DeviceProductId), 0u);
    window.PickZone(3);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"") << "an unplugged unit answered";

    library.Plug();
    DeliverPostedEvents(window);
    const DeviceHandle second = library.GetHandle(DeviceVendorId, DeviceProductId);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_EQ(window.deviceEvents,
              (Events{{EventChanged, 0}, {EventUnplugged, first}, {EventChanged, 0},
                      {EventPlugged, second}, {EventChanged, 0}}));

    window.PickZone(3);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"633333333");
    EXPECT_EQ(window.text, u"Tres");
    EXPECT_EQ(ReadEventsFor(second), std::size_t{9 + 9 + 4});
}

TEST_F(VirtualUnitLink, AnswersInFlightAtUnplugAreLostNotHandedToTheNextUnit)
{
    unit.StoreZone(2, "622222222", "Dos");
    AttachAndSettle();
    const DeviceHandle first = library.GetHandle(DeviceVendorId, DeviceProductId);

    window.PickZone(2);  // answers queued, their EventReads not yet delivered
    library.Unplug();
    library.Plug();
    DeliverPostedEvents(window);

    EXPECT_EQ(ReadEventsFor(first), std::size_t{9 + 3});
    EXPECT_EQ(window.phone, u"");
    EXPECT_EQ(window.text, u"");

    unit.StoreZone(2, "699999999", "Nueva");
    window.PickZone(2);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"699999999") << "a stale answer came first";
    EXPECT_EQ(window.text, u"Nueva");
}

TEST_F(VirtualUnitLink, NothingArrivesAfterDetach)
{
    unit.StoreZone(1, "611111111", "Uno");
    AttachAndSettle();

    window.PickZone(1);  // answers posted but not yet delivered
    link.DetachDeviceLink();
    window.PickZone(1);
    library.Unplug();
    library.Plug();
    DeliverPostedEvents(window);

    EXPECT_EQ(window.deviceEvents, (Events{{EventChanged, 0}}));
    EXPECT_EQ(window.phone, u"");
}

TEST_F(VirtualUnitLink, AnswersFromBeforeReattachAreNeverReplayed)
{
    unit.StoreZone(1, "611111111", "Uno");
    AttachAndSettle();
    window.PickZone(1);  // answers pending at detach
    link.DetachDeviceLink();
    window.PickZone(1);  // and asked for while detached

    unit.StoreZone(1, "699999999", "Nueva");
    AttachAndSettle();
    window.PickZone(1);
    DeliverPostedEvents(window);

    EXPECT_EQ(window.phone, u"699999999");
    EXPECT_EQ(window.text, u"Nueva");
}

TEST_F(VirtualUnitLink, OnlyTheUnitsIdentityAndPresentHandleAreServed)
{
    AttachAndSettle();
    const DeviceHandle present = library.GetHandle(DeviceVendorId, DeviceProductId);
    EXPECT_EQ(library.GetHandle(DeviceVendorId, DeviceProductId + 1), 0u);
    EXPECT_EQ(library.GetHandle(DeviceVendorId + 1, DeviceProductId), 0u);

    Report request{};
    request[6] = 1;
    EXPECT_FALSE(library.WriteEx(DeviceVendorId + 1, DeviceProductId, request));
    EXPECT_TRUE(unit.Log().empty());

    unit.StoreZone(1, "6", "");
    EXPECT_TRUE(library.WriteEx(DeviceVendorId, DeviceProductId, request));
    Report report{};
    EXPECT_FALSE(library.Read(present + 1, report));
    EXPECT_FALSE(library.Read(0, report));
    ASSERT_TRUE(library.Read(present, report));
    Report expected{};
    expected[6] = '6';
    expected[8] = 2;  // phone tag
    EXPECT_EQ(report, expected);

    // A handle from before a replug no longer turns notifications on.
    library.Unplug();
    library.Plug();
    library.SetReadNotify(present, true);
    library.WriteEx(DeviceVendorId, DeviceProductId, request);
    EXPECT_FALSE(library.Read(library.GetHandle(DeviceVendorId, DeviceProductId), report));
}
