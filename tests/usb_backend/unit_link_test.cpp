// The backend's logic driven through its seam with a scripted hidraw world:
// event sequences, read notification gating across the reader thread,
// failing writes and replugs, access problems, disconnecting.

#include "usb_backend/unit_link.h"

#include <gtest/gtest.h>

#include <sstream>

#include "event_recorder.h"
#include "fake_hidraw.h"

namespace {

using Events = std::vector<PendingEvent>;

const HidIdentity UnitId{0x1781, 0x07D0};
const HidIdentity KeyboardId{0x046D, 0xC31C};

Report Output(std::uint8_t command)
{
    return {0, 1, 2, 3, 4, command, 6, 7, 8};
}

class UnitLinkTest : public ::testing::Test {
protected:
    UnitLinkTest()
    {
        auto watchOwned = std::make_unique<FakeWatch>();
        auto openerOwned = std::make_unique<FakeOpener>();
        watch = watchOwned.get();
        opener = openerOwned.get();
        UnitLinkOptions options;
        options.readTimeout = std::chrono::milliseconds(5);
        options.openAttempts = 3;
        options.openPause = std::chrono::milliseconds(0);
        options.diagnostics = &diagnostics;
        link = std::make_unique<UnitLink>(std::move(watchOwned), std::move(openerOwned), options);
    }

    // A unit behind `devnode` that the opener can open.
    std::shared_ptr<FakeUnit> AddUnit(const std::string& devnode)
    {
        auto unit = std::make_shared<FakeUnit>();
        opener->units[devnode] = unit;
        return unit;
    }

    DeviceHandle Handle() { return link->GetHandle(DeviceVendorId, DeviceProductId); }

    // The unit on /dev/hidraw1, connected with read notification on and one
    // input report announced (events: Changed, Read).
    DeviceHandle ConnectWithOneReportQueued()
    {
        auto unit = AddUnit("/dev/hidraw1");
        watch->nodes = {{"/dev/hidraw1", UnitId}};
        link->Connect(window.Handle());
        const DeviceHandle handle = Handle();
        link->SetReadNotify(handle, true);
        unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
        EXPECT_TRUE(window.WaitFor([&] { return window.events.size() == 2; }));
        return handle;
    }

    std::ostringstream diagnostics;
    FakeWatch* watch = nullptr;
    FakeOpener* opener = nullptr;
    EventRecorder window;  // outlives the link
    std::unique_ptr<UnitLink> link;
};

TEST_F(UnitLinkTest, ConnectWithTheUnitPresentPostsChanged)
{
    watch->nodes = {{"/dev/hidraw0", KeyboardId}, {"/dev/hidraw1", UnitId}};
    EXPECT_TRUE(link->Connect(window.Handle()));
    window.Flush();
    EXPECT_EQ(window.events, (Events{{EventChanged, 0}}));
    EXPECT_NE(Handle(), 0u);
    EXPECT_EQ(link->GetHandle(KeyboardId.vendorId, KeyboardId.productId), 0u);
}

TEST_F(UnitLinkTest, ConnectWithoutTheUnitPostsNothing)
{
    watch->nodes = {{"/dev/hidraw0", KeyboardId}};
    link->Connect(window.Handle());
    window.Flush();
    EXPECT_TRUE(window.events.empty());
    EXPECT_EQ(Handle(), 0u);
}

TEST_F(UnitLinkTest, PlugAndUnplugReachTheWindowInOrder)
{
    link->Connect(window.Handle());
    watch->Plug({"/dev/hidraw3", UnitId});
    window.Flush();
    const DeviceHandle handle = Handle();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(window.events, (Events{{EventPlugged, handle}, {EventChanged, 0}}));

    window.events.clear();
    watch->Plug({"/dev/hidraw4", KeyboardId});
    watch->Unplug("/dev/hidraw4");
    window.Flush();
    EXPECT_EQ(window.events, (Events{{EventChanged, 0}, {EventChanged, 0}}));
    EXPECT_EQ(Handle(), handle);

    window.events.clear();
    watch->Unplug("/dev/hidraw3");
    window.Flush();
    EXPECT_EQ(window.events, (Events{{EventUnplugged, handle}, {EventChanged, 0}}));
    EXPECT_EQ(Handle(), 0u);
}

TEST_F(UnitLinkTest, ResyncAfterLostMessagesTellsTheWindowTheUnitLeft)
{
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    window.Flush();
    window.events.clear();
    watch->nodes.clear();  // its removal message was lost
    watch->Resync();
    window.Flush();
    EXPECT_EQ(window.events, (Events{{EventChanged, 0}}));
    EXPECT_EQ(Handle(), 0u);
}

TEST_F(UnitLinkTest, InputIsKeptOnlyAfterReadNotifyAndAnnouncedOncePerReport)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    // The start-up request goes out before the link exists; its answer must
    // not be read later.
    ASSERT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(5)));
    unit->Send({0x30, 0, 0, 0, 0, 0, 0, 1});
    ASSERT_TRUE(window.WaitFor([&] { return unit->Consumed(); }));

    link->Connect(window.Handle());
    window.Flush();
    window.events.clear();
    const DeviceHandle handle = Handle();
    link->SetReadNotify(handle, true);
    unit->Send({0, 0, 0, 0x31, 0, 0, 0, 1});
    unit->Send({0, 0, 0, 0, 0x32, 0, 0, 2});
    ASSERT_TRUE(window.WaitFor([&] { return window.events.size() == 2; }));
    EXPECT_EQ(window.events, (Events{{EventRead, handle}, {EventRead, handle}}));

    Report report{};
    ASSERT_TRUE(link->Read(handle, report));
    EXPECT_EQ(report, (Report{0, 0, 0, 0, 0x31, 0, 0, 0, 1}));
    ASSERT_TRUE(link->Read(handle, report));
    EXPECT_EQ(report, (Report{0, 0, 0, 0, 0, 0x32, 0, 0, 2}));
    report.fill(0xEE);
    EXPECT_FALSE(link->Read(handle, report));
    for (std::uint8_t byte : report)
        EXPECT_EQ(byte, 0xEE);
}

TEST_F(UnitLinkTest, RepeatedReadNotifyKeepsQueuedInput)
{
    const DeviceHandle handle = ConnectWithOneReportQueued();

    link->SetReadNotify(handle, true);
    Report report{};
    EXPECT_TRUE(link->Read(handle, report));
    EXPECT_EQ(opener->opens, 1);
}

TEST_F(UnitLinkTest, ReadNotifyAndReadIgnoreHandlesOtherThanThePresentUnit)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    const DeviceHandle handle = Handle();
    link->SetReadNotify(0, true);
    link->SetReadNotify(handle + 1, true);
    EXPECT_EQ(opener->opens, 0);

    link->SetReadNotify(handle, true);
    unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(window.WaitFor([&] { return window.events.size() == 2; }));
    Report report{};
    EXPECT_FALSE(link->Read(0, report));
    EXPECT_FALSE(link->Read(handle + 1, report));
    EXPECT_TRUE(link->Read(handle, report));
}

TEST_F(UnitLinkTest, WritesShareOneOpenDevice)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(10)));
    link->SetReadNotify(Handle(), true);
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(11)));
    EXPECT_EQ(unit->Written(), (std::vector<Report>{Output(10), Output(11)}));
    EXPECT_EQ(opener->opens, 1);
}

TEST_F(UnitLinkTest, WriteToAnAbsentOrForeignDeviceFailsWithoutOpening)
{
    AddUnit("/dev/hidraw0");
    watch->nodes = {{"/dev/hidraw0", KeyboardId}};
    link->Connect(window.Handle());
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(10)));
    EXPECT_FALSE(link->WriteEx(KeyboardId.vendorId, KeyboardId.productId, Output(10)));
    EXPECT_EQ(opener->opens, 0);
    EXPECT_EQ(watch->enumerations, 0);  // the watch's state is used, not a new listing
}

TEST_F(UnitLinkTest, UnitPulledMidUploadFailsAndTheNextPlugInWorks)
{
    auto first = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    link->SetReadNotify(Handle(), true);
    ASSERT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));

    first->Pull();  // before udev reports it
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(2)));
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(3)));
    watch->Unplug("/dev/hidraw1");
    const int opensWhileGone = opener->opens;
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(4)));
    EXPECT_EQ(opener->opens, opensWhileGone);

    auto second = AddUnit("/dev/hidraw2");
    watch->Plug({"/dev/hidraw2", UnitId});
    window.Flush();
    window.events.clear();
    const DeviceHandle handle = Handle();
    link->SetReadNotify(handle, true);
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(5)));
    EXPECT_EQ(second->Written(), (std::vector<Report>{Output(5)}));
    second->Send({9, 9, 9, 9, 9, 9, 9, 9});
    ASSERT_TRUE(window.WaitFor([&] { return !window.events.empty(); }));
    EXPECT_EQ(window.events, (Events{{EventRead, handle}}));
}

TEST_F(UnitLinkTest, AFailedWriteReopensTheUnitForTheNextOne)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    ASSERT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    unit->refuseWrites = true;
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(2)));
    unit->refuseWrites = false;
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(3)));
    EXPECT_EQ(opener->opens, 2);
    EXPECT_EQ(unit->Written(), (std::vector<Report>{Output(1), Output(3)}));
}

TEST_F(UnitLinkTest, InputOfAnUnpluggedUnitCannotBeRead)
{
    const DeviceHandle handle = ConnectWithOneReportQueued();

    watch->Unplug("/dev/hidraw1");
    Report report{};
    EXPECT_FALSE(link->Read(handle, report));
    watch->Plug({"/dev/hidraw1", UnitId});
    EXPECT_NE(Handle(), handle);
    EXPECT_FALSE(link->Read(handle, report));
    EXPECT_FALSE(link->Read(Handle(), report));
}

TEST_F(UnitLinkTest, AccessDeniedIsRetriedBrieflyOnceAndSaidOnce)
{
    AddUnit("/dev/hidraw7");
    watch->nodes = {{"/dev/hidraw7", UnitId}};
    opener->deniedOpens = -1;
    link->Connect(window.Handle());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    link->SetReadNotify(Handle(), true);
    EXPECT_EQ(opener->opens, 3 + 3 + 1);  // three tries, then one per call

    EXPECT_EQ(diagnostics.str(), PermissionDeniedNotice("/dev/hidraw7"));  // once, naming the node
}

TEST_F(UnitLinkTest, AccessGrantedDuringTheRetriesIsUsed)
{
    auto unit = AddUnit("/dev/hidraw7");
    watch->nodes = {{"/dev/hidraw7", UnitId}};
    opener->deniedOpens = 2;
    link->Connect(window.Handle());
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    EXPECT_EQ(unit->Written().size(), 1u);
    EXPECT_TRUE(diagnostics.str().empty());
}

TEST_F(UnitLinkTest, DisconnectDropsEventsNotYetDelivered)
{
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    AddUnit("/dev/hidraw1");
    link->Connect(window.Handle());
    watch->Unplug("/dev/hidraw1");
    watch->Plug({"/dev/hidraw1", UnitId});
    EXPECT_TRUE(link->Disconnect());
    watch->Unplug("/dev/hidraw1");  // the watch is stopped: nobody hears it
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
}

TEST_F(UnitLinkTest, NoReadEventAfterDisconnect)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    link->SetReadNotify(Handle(), true);
    link->Disconnect();
    // Writing still works, and reopens the unit, but its input goes nowhere.
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    EXPECT_EQ(opener->opens, 2);
    unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(window.WaitFor([&] { return unit->Consumed(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
}

TEST_F(UnitLinkTest, ConnectAgainAfterDisconnectWorks)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    for (int round = 0; round < 3; ++round) {
        link->Connect(window.Handle());
        window.Flush();
        ASSERT_EQ(window.events, (Events{{EventChanged, 0}})) << round;
        window.events.clear();
        const DeviceHandle handle = Handle();
        link->SetReadNotify(handle, true);
        unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
        ASSERT_TRUE(window.WaitFor([&] { return !window.events.empty(); }));
        EXPECT_EQ(window.events, (Events{{EventRead, handle}}));
        window.events.clear();
        link->Disconnect();
    }
}

TEST_F(UnitLinkTest, WithoutTheWatchTheNodesAreListedOnDemand)
{
    auto unit = AddUnit("/dev/hidraw1");
    EXPECT_FALSE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(2)));
    const int listings = watch->enumerations;
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(3)));
    EXPECT_EQ(watch->enumerations, listings);  // open unit: no new listing
    EXPECT_EQ(unit->Written(), (std::vector<Report>{Output(2), Output(3)}));
}

TEST_F(UnitLinkTest, WatchThatCannotStartStillFindsThePresentUnit)
{
    AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    watch->startSucceeds = false;
    EXPECT_FALSE(link->Connect(window.Handle()));
    window.Flush();
    EXPECT_EQ(window.events, (Events{{EventChanged, 0}}));
    EXPECT_TRUE(link->WriteEx(DeviceVendorId, DeviceProductId, Output(1)));
    EXPECT_NE(diagnostics.str().find("udev"), std::string::npos);
}

TEST_F(UnitLinkTest, DestroyedWhileConnectedAndReading)
{
    auto unit = AddUnit("/dev/hidraw1");
    watch->nodes = {{"/dev/hidraw1", UnitId}};
    link->Connect(window.Handle());
    link->SetReadNotify(Handle(), true);
    unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
    link.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
}

}  // namespace
