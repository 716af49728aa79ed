// A link restricted to one node uses that unit only, even when it leaves and
// another unit stays attached.

#include "usb_backend/unit_link.h"

#include <gtest/gtest.h>

#include <sstream>

#include "event_recorder.h"
#include "fake_hidraw.h"

TEST(ChosenUnit, WritesReachOnlyTheChosenNodeAndNoOtherUnitTakesOver)
{
    const HidIdentity unitId{0x1781, 0x07D0};
    auto watchOwned = std::make_unique<FakeWatch>();
    auto openerOwned = std::make_unique<FakeOpener>();
    FakeWatch& watch = *watchOwned;
    auto first = std::make_shared<FakeUnit>();
    auto chosen = std::make_shared<FakeUnit>();
    openerOwned->units = {{"/dev/hidraw1", first}, {"/dev/hidraw2", chosen}};
    watch.nodes = {{"/dev/hidraw1", unitId}, {"/dev/hidraw2", unitId}};

    std::ostringstream diagnostics;
    UnitLinkOptions options;
    options.readTimeout = std::chrono::milliseconds(5);
    options.diagnostics = &diagnostics;
    options.onlyDevnode = "/dev/hidraw2";
    EventRecorder window;
    UnitLink link(std::move(watchOwned), std::move(openerOwned), options);
    link.Connect(window.Handle());

    const Report report{0, 0, 0, 0, 0, 0, 10, 0x41, 15};
    EXPECT_TRUE(link.WriteEx(DeviceVendorId, DeviceProductId, report));
    EXPECT_EQ(link.Access(DeviceVendorId, DeviceProductId).devnode, "/dev/hidraw2");

    chosen->Pull();
    watch.Unplug("/dev/hidraw2");
    EXPECT_FALSE(link.WriteEx(DeviceVendorId, DeviceProductId, report));
    EXPECT_EQ(link.GetHandle(DeviceVendorId, DeviceProductId), 0u);

    EXPECT_EQ(chosen->Written(), std::vector<Report>{report});
    EXPECT_TRUE(first->Written().empty());
}
