// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The link every platform shares, over a scripted world of device nodes;
// each platform's watch and opener run in the guest end-to-end tests.

#include "usb_backend/unit_link.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/usb_backend/fake_hidraw.h"
#include "tests/usb_backend/recording_sink.h"

namespace {

using Events = RecordedEvents;
using State = UnitAccess::State;

const HidIdentity UnitId{0x1781, 0x07D0};
const HidIdentity KeyboardId{0x046D, 0xC31C};

Report Output(std::uint8_t command) { return {0, 1, 2, 3, 4, command, 6, 7, 8}; }

class UnitLinkTest : public ::testing::Test {
protected:
    UnitLinkTest() { Relink({}); }

    void Relink(UnitLinkOptions options, bool watchStarts = true)
    {
        auto newWatch = std::make_unique<FakeWatch>();
        auto newOpener = std::make_unique<FakeOpener>();
        if (watch) {
            newWatch->nodes = watch->nodes;
            newOpener->units = opener->units;
        }
        newWatch->startSucceeds = watchStarts;
        watch = newWatch.get(), opener = newOpener.get();
        options.readTimeout = std::chrono::milliseconds(5), options.openPause = {}, options.openAttempts = 3, options.diagnostics = &diagnostics;
        options.notices = {[](const std::string& devnode) { return "denied at " + devnode + "\n"; }, "no hot-plug\n"};
        link = std::make_unique<UnitLink>(std::move(newWatch), std::move(newOpener),
                                          std::make_unique<RecordingSink>(window), options);
    }

    std::shared_ptr<FakeUnit> AddUnit(const std::string& devnode, bool plugNow = false)
    {
        auto unit = opener->units[devnode] = std::make_shared<FakeUnit>();
        plugNow ? watch->Plug({devnode, UnitId}) : watch->nodes.push_back({devnode, UnitId});
        return unit;
    }

    DeviceHandle Handle() { return link->GetHandle(DeviceVendorId, DeviceProductId); }
    // Connected with notifications on and one report from `unit` posted, after the change.
    DeviceHandle ConnectedWithAReport(FakeUnit& unit)
    {
        link->Connect(Window());
        const DeviceHandle handle = Handle();
        link->SetReadNotify(handle, true);
        unit.Send({1, 2, 3, 4, 5, 6, 7, 8});
        EXPECT_TRUE(WaitFor([&] { return window->Size() == 2; }));
        return handle;
    }
    State Access() { return link->Access(DeviceVendorId, DeviceProductId).state; }
    bool Write(std::uint8_t command) { return link->WriteEx(DeviceVendorId, DeviceProductId, Output(command)); }
    Events Delivered() { return window->Take(); }
    WindowHandle Window() { return &window; }

    std::ostringstream diagnostics;
    FakeWatch* watch = nullptr;
    FakeOpener* opener = nullptr;
    std::shared_ptr<EventQueue> window = std::make_shared<EventQueue>();
    std::unique_ptr<UnitLink> link;
};

TEST_F(UnitLinkTest, DeviceEventsFollowConnectPlugUnplugAndALostMessage)
{
    watch->nodes = {{"/dev/hidraw0", KeyboardId}};
    link->Connect(Window());
    EXPECT_EQ(Delivered(), Events{});  // no unit: nothing to enable

    watch->Plug({"/dev/hidraw3", UnitId});
    const DeviceHandle handle = Handle();
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(Delivered(), (Events{{EventPlugged, handle}, {EventChanged, 0}}));
    EXPECT_EQ(link->GetHandle(KeyboardId.vendorId, KeyboardId.productId), 0u);

    watch->Plug({"/dev/hidraw4", KeyboardId});
    watch->Unplug("/dev/hidraw4");
    EXPECT_EQ(Delivered(), (Events{{EventChanged, 0}, {EventChanged, 0}}));
    EXPECT_EQ(Handle(), handle);

    watch->Unplug("/dev/hidraw3");
    EXPECT_EQ(Delivered(), (Events{{EventUnplugged, handle}, {EventChanged, 0}}));
    EXPECT_EQ(Handle(), 0u);

    // Connecting with the unit present says so, so notifications get enabled
    // without a replug; a fresh listing after lost messages says it left.
    watch->nodes.push_back({"/dev/hidraw1", UnitId});
    for (int connect = 0; connect < 2; ++connect) {  // the same unit, the same handle again
        link->Disconnect();
        link->Connect(Window());
        EXPECT_EQ(Delivered(), (Events{{EventChanged, 0}})) << connect;
    }
    for (int resync = 0; resync < 2; ++resync) {  // nothing changed, but the window cannot know; then it left
        watch->Resync();
        EXPECT_EQ(Delivered(), (Events{{EventChanged, 0}})) << resync;
        EXPECT_EQ(Handle() != 0, resync == 0) << resync;
        watch->nodes.pop_back();
    }
}

TEST_F(UnitLinkTest, InputIsKeptOnlyAfterReadNotifyForThePresentHandleOneEventEach)
{
    auto unit = AddUnit("/dev/hidraw1");
    // The start-up request goes out before the link exists; its answer must
    // not be read later.
    ASSERT_TRUE(Write(5));
    unit->Send({0x30, 0, 0, 0, 0, 0, 0, 1});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));

    link->Connect(Window());
    Delivered();
    // Connected, but notifications are not on yet: nothing kept, nothing said.
    ASSERT_TRUE(Write(5));
    unit->Send({0x30, 0, 0, 0, 0, 0, 0, 2});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));
    EXPECT_EQ(Delivered(), Events{});
    const DeviceHandle handle = Handle();
    for (const DeviceHandle h : {DeviceHandle{0}, handle + 1, handle})
        link->SetReadNotify(h, true);
    unit->Send({0, 0, 0, 0x31, 0, 0, 0, 1});
    unit->Send({0, 0, 0, 0, 0x32, 0, 0, 2});
    ASSERT_TRUE(WaitFor([&] { return window->Size() == 2; }));
    EXPECT_EQ(Delivered(), (Events{{EventRead, handle}, {EventRead, handle}}));

    Report untouched, report;
    untouched.fill(0xEE);
    // Wrong handles and an empty queue leave the buffer as it was.
    for (const auto& [h, expected] : {std::pair<DeviceHandle, Report>{0, untouched}, {handle + 1, untouched},
                                      {handle, Report{0, 0, 0, 0, 0x31, 0, 0, 0, 1}},
                                      {handle, Report{0, 0, 0, 0, 0, 0x32, 0, 0, 2}}, {handle, untouched}}) {
        report = untouched;
        EXPECT_EQ(link->Read(h, report), expected != untouched) << h;
        EXPECT_EQ(report, expected) << h;
    }
}

TEST_F(UnitLinkTest, WritesShareOneOpenDeviceAndAFailedWriteReopensForTheNext)
{
    AddUnit("/dev/hidraw0");
    watch->nodes = {{"/dev/hidraw0", KeyboardId}};
    link->Connect(Window());
    EXPECT_FALSE(Write(10));  // the only node is a keyboard
    EXPECT_FALSE(link->WriteEx(KeyboardId.vendorId, KeyboardId.productId, Output(10)));
    EXPECT_EQ(opener->opens, 0);
    EXPECT_EQ(watch->enumerations, 0);  // the watch's state is used, not a new listing

    auto unit = AddUnit("/dev/hidraw1", true);
    EXPECT_TRUE(Write(1));
    link->SetReadNotify(Handle(), true);
    unit->refuseWrites = true;
    EXPECT_FALSE(Write(2));
    EXPECT_TRUE((unit->refuseWrites = false, Write(3)));
    EXPECT_EQ(opener->opens, 2);
    EXPECT_EQ(unit->Written(), (std::vector<Report>{Output(1), Output(3)}));
}

TEST_F(UnitLinkTest, AUnitPulledMidUploadFailsItsWritesAndLosesItsInputAndTheNextPlugInWorks)
{
    auto first = AddUnit("/dev/hidraw1");
    const DeviceHandle gone = ConnectedWithAReport(*first);
    ASSERT_TRUE(Write(1));

    first->Pull();  // before udev reports it
    EXPECT_FALSE(Write(2));
    watch->Unplug("/dev/hidraw1");
    EXPECT_FALSE(Write(3));
    Report report{};
    EXPECT_FALSE(link->Read(gone, report));

    auto second = AddUnit("/dev/hidraw2", true);
    Delivered();
    const DeviceHandle handle = Handle();
    EXPECT_NE(handle, gone);
    EXPECT_FALSE(link->Read(handle, report));  // the old input did not carry over
    link->SetReadNotify(handle, true);
    EXPECT_TRUE(Write(5));
    EXPECT_EQ(second->Written(), (std::vector<Report>{Output(5)}));
    second->Send({9, 9, 9, 9, 9, 9, 9, 9});
    ASSERT_TRUE(WaitFor([&] { return window->Size() != 0; }));
    EXPECT_EQ(Delivered(), (Events{{EventRead, handle}}));
}

TEST_F(UnitLinkTest, AccessDeniedIsRetriedBrieflySaidOnceAndReportedUntilAnOpenWorks)
{
    auto unit = AddUnit("/dev/hidraw7");
    opener->deniedOpens = -1;
    link->Connect(Window());
    EXPECT_EQ(Access(), State::Usable);  // not tried yet
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Write(1));
    link->SetReadNotify(Handle(), true);
    EXPECT_EQ(opener->opens, 3 + 3 + 1);  // three tries, then one per call
    EXPECT_EQ(Access(), State::Denied);
    EXPECT_EQ(link->Access(DeviceVendorId, DeviceProductId).devnode, "/dev/hidraw7");

    EXPECT_EQ(diagnostics.str(), "denied at /dev/hidraw7\n");  // once

    opener->deniedOpens = 0;  // the rule took effect
    EXPECT_TRUE(Write(2));
    EXPECT_EQ(Access(), State::Usable);
    EXPECT_EQ(unit->Written(), std::vector<Report>{Output(2)});
    watch->Unplug("/dev/hidraw7");
    EXPECT_EQ(Access(), State::Absent);
}

TEST_F(UnitLinkTest, NothingReachesTheWindowAfterDisconnectOrDestruction)
{
    auto unit = AddUnit("/dev/hidraw1");
    link->Connect(Window());
    watch->Unplug("/dev/hidraw1");
    watch->Plug({"/dev/hidraw1", UnitId});
    link->SetReadNotify(Handle(), true);
    EXPECT_TRUE(link->Disconnect());  // undelivered events go too
    watch->Unplug("/dev/hidraw1");     // the watch is stopped: nobody hears it
    watch->Plug({"/dev/hidraw1", UnitId});
    // Writing still works, and reopens the unit, but its input goes nowhere.
    EXPECT_TRUE(Write(1));
    unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(WaitFor([&] { return unit->Consumed(); }));
    EXPECT_EQ(Delivered(), Events{});
    EXPECT_EQ(window->postsWithoutTarget, 0);

    link->Connect(Window());
    link->SetReadNotify(Handle(), true);
    unit->Send({1, 2, 3, 4, 5, 6, 7, 8});
    link.reset();
    EXPECT_EQ(Delivered(), Events{});
    EXPECT_EQ(window->target, nullptr);
    EXPECT_EQ(window->postsWithoutTarget, 0);
}

TEST_F(UnitLinkTest, WithoutAWatchingMonitorTheNodesAreListedOnDemand)
{
    EXPECT_FALSE(Write(1));
    auto unit = AddUnit("/dev/hidraw1");
    EXPECT_TRUE(Write(2));
    const int listings = watch->enumerations;
    EXPECT_TRUE(Write(3));
    EXPECT_EQ(watch->enumerations, listings);  // open unit: no new listing
    EXPECT_EQ(unit->Written(), (std::vector<Report>{Output(2), Output(3)}));

    // A monitor that cannot start still finds the present unit, and says so.
    Relink({}, false);
    EXPECT_FALSE(link->Connect(Window()));
    EXPECT_EQ(Delivered(), (Events{{EventChanged, 0}}));
    EXPECT_TRUE(Write(4));
    EXPECT_EQ(diagnostics.str(), "no hot-plug\n");
}

TEST_F(UnitLinkTest, ALinkBoundToOneNodeWritesOnlyThereAndNoOtherUnitTakesOver)
{
    auto first = AddUnit("/dev/hidraw1");
    auto chosen = AddUnit("/dev/hidraw2");
    Relink({.onlyDevnode = "/dev/hidraw2"});
    link->Connect(Window());
    EXPECT_TRUE(Write(1));

    chosen->Pull();
    watch->Unplug("/dev/hidraw2");
    EXPECT_FALSE(Write(2));
    EXPECT_EQ(Handle(), 0u);
    EXPECT_EQ(chosen->Written(), std::vector<Report>{Output(1)});
    EXPECT_TRUE(first->Written().empty());
}

TEST_F(UnitLinkTest, AnotherDeviceOnTheUnitsNodeIsItsRemovalAndTheUnitBackThereANewPlugIn)
{
    auto unit = AddUnit("/dev/hidraw1");
    const DeviceHandle first = ConnectedWithAReport(*unit);
    Delivered();

    watch->listener->Arrived({"/dev/hidraw1", KeyboardId});  // its removal was missed
    EXPECT_EQ(Delivered(), (Events{{EventUnplugged, first}, {EventChanged, 0}, {EventChanged, 0}}));
    EXPECT_EQ(Handle(), 0u);
    EXPECT_EQ(Access(), State::Absent);
    EXPECT_FALSE(Write(1));
    Report report{};
    EXPECT_FALSE(link->Read(first, report));  // its queued report went with it

    watch->listener->Arrived({"/dev/hidraw1", UnitId});
    const DeviceHandle second = Handle();
    EXPECT_NE(second, first);
    EXPECT_EQ(Delivered(), (Events{{EventChanged, 0}, {EventPlugged, second}, {EventChanged, 0}}));
    link->SetReadNotify(second, true);
    unit->Send({7, 7, 7, 7, 7, 7, 7, 7});
    ASSERT_TRUE(WaitFor([&] { return window->Size() != 0; }));
    EXPECT_EQ(Delivered(), (Events{{EventRead, second}}));
    EXPECT_TRUE(link->Read(second, report));
    EXPECT_EQ(report[1], 7);
    EXPECT_TRUE(Write(2));
}

}  // namespace
