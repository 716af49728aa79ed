// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser's library over a browser the test plays: which granted device
// is the unit, its events, its input, and each send's own outcome.

#include <gtest/gtest.h>

#include "protocol/report_layout.h"
#include "tests/usb_backend/recording_sink.h"
#include "usb_backend/web/webhid_library.h"

namespace {

struct FakeBrowser : BrowserHid {
    bool supported = true;
    BrowserHidListener* listener = nullptr;
    HidIdentity watched;
    int chosen = 0;
    std::vector<std::pair<int, InputBytes>> sent;
    bool Supported() const override { return supported; }
    void Watch(HidIdentity unit, BrowserHidListener& to) override { watched = unit, listener = &to; }
    void Unwatch() override { listener = nullptr; }
    void Choose(HidIdentity) override { ++chosen; }
    void Send(int device, const InputBytes& data) override { sent.emplace_back(device, data); }
};

struct WebHid : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(library.Connect(&events)); }
    DeviceHandle Plug(int device)
    {
        browser.listener->Opened(device);
        return library.GetHandle(DeviceVendorId, DeviceProductId);
    }
    std::shared_ptr<EventQueue> events = std::make_shared<EventQueue>();
    FakeBrowser browser;
    WebHidLibrary library{browser, std::make_unique<RecordingSink>(events)};
};

TEST_F(WebHid, AGrantedUnitOpeningIsAPlugInOfTheUnitsIdentity)
{
    EXPECT_EQ(browser.watched, (HidIdentity{0x1781, 0x07D0}));
    EXPECT_EQ(library.Access(DeviceVendorId, DeviceProductId).state, UnitAccess::State::Absent);
    const DeviceHandle handle = Plug(3);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(events->Take(), (RecordedEvents{{EventPlugged, handle}, {EventChanged, 0}}));
    browser.listener->Opened(3);  // opened again: the same unit
    EXPECT_TRUE(events->Take().empty());
    EXPECT_EQ(library.GetHandle(DeviceVendorId, 0x07D1), 0u);
    EXPECT_EQ(library.Access(DeviceVendorId, DeviceProductId).state, UnitAccess::State::Usable);
}

TEST_F(WebHid, InputIsKeptFromReadNotifyOnInOrderAndOnlyTheUnitsOwn)
{
    const DeviceHandle handle = Plug(3);
    events->Take();
    browser.listener->Input(3, {9});  // before notify: not kept
    library.SetReadNotify(handle, true);
    for (std::uint8_t i = 1; i <= 3; ++i) browser.listener->Input(3, {i, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(10 * i)});
    browser.listener->Input(4, {7});  // a device that is not the unit
    EXPECT_EQ(events->Take(), (RecordedEvents{{EventRead, handle}, {EventRead, handle}, {EventRead, handle}}));
    Report report{};
    for (std::uint8_t i = 1; i <= 3; ++i) {
        ASSERT_TRUE(library.Read(handle, report)) << int(i);
        EXPECT_EQ(report, (Report{0, i, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(10 * i)}));
    }
    EXPECT_FALSE(library.Read(handle, report));
}

TEST_F(WebHid, EachSendHearsItsOwnOutcomeInOrder)
{
    Plug(3);
    std::vector<bool> told;
    library.Send(DeviceVendorId, DeviceProductId, {0, 1, 2, 3, 4, 5, 6, 7, 8}, [&](bool t) { told.push_back(t); });
    library.Send(DeviceVendorId, DeviceProductId, {0, 9, 9, 9, 9, 9, 9, 9, 9}, [&](bool t) { told.push_back(!t); });
    ASSERT_EQ(browser.sent.size(), 2u);
    EXPECT_EQ(browser.sent[0], (std::pair<int, InputBytes>{3, {1, 2, 3, 4, 5, 6, 7, 8}})) << "not the eight data bytes";
    EXPECT_TRUE(told.empty()) << "told before the browser answered";
    browser.listener->Sent(3, true);
    browser.listener->Sent(3, false);
    EXPECT_EQ(told, (std::vector<bool>{true, true}));
}

TEST_F(WebHid, WithoutAUnitASendIsRefusedAtOnceAndNothingGoesOut)
{
    std::optional<bool> told;
    library.Send(DeviceVendorId, DeviceProductId, {}, [&](bool t) { told = t; });
    EXPECT_EQ(told, false);
    EXPECT_FALSE(library.WriteEx(DeviceVendorId, DeviceProductId, {}));
    Plug(3);
    library.Send(DeviceVendorId, 0x07D1, {}, [&](bool t) { told = t; });  // another device's identity
    EXPECT_TRUE(browser.sent.empty());
}

TEST_F(WebHid, APulledUnitIsAnUnplugItsInputGoesAndAReplugIsANewHandle)
{
    const DeviceHandle first = Plug(3);
    library.SetReadNotify(first, true);
    browser.listener->Input(3, {1});
    events->Take();
    browser.listener->Closed(3);
    EXPECT_EQ(events->Take(), (RecordedEvents{{EventUnplugged, first}, {EventChanged, 0}}));
    Report report{};
    EXPECT_FALSE(library.Read(first, report));
    EXPECT_EQ(library.Access(DeviceVendorId, DeviceProductId).state, UnitAccess::State::Absent);
    const DeviceHandle second = Plug(4);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    library.SetReadNotify(second, true);
    browser.listener->Input(4, {2});
    ASSERT_TRUE(library.Read(second, report));
    EXPECT_EQ(report[1], 2);
}

TEST_F(WebHid, AUnitTheBrowserCouldNotOpenIsDeniedUntilItGoes)
{
    browser.listener->Refused(5);
    EXPECT_EQ(events->Take(), (RecordedEvents{{EventChanged, 0}}));
    EXPECT_EQ(library.Access(DeviceVendorId, DeviceProductId).state, UnitAccess::State::Denied);
    EXPECT_EQ(library.GetHandle(DeviceVendorId, DeviceProductId), 0u);
    browser.listener->Closed(5);
    EXPECT_EQ(library.Access(DeviceVendorId, DeviceProductId).state, UnitAccess::State::Absent);
}

TEST_F(WebHid, DisconnectedNothingMoreIsPostedAndWithoutWebHidNothingIsWatched)
{
    ASSERT_TRUE(library.Disconnect());
    EXPECT_EQ(browser.listener, nullptr) << "still watched";
    FakeBrowser bare;
    bare.supported = false;
    WebHidLibrary without(bare, std::make_unique<RecordingSink>(events));
    EXPECT_FALSE(without.Connect(&events));
    EXPECT_EQ(bare.listener, nullptr);
    without.Choose();
    EXPECT_EQ(bare.chosen, 1) << "the chooser is the browser's to refuse";
}

}  // namespace
