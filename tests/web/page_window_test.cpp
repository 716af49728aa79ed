// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's one queue: device events and the window's jobs in the order
// posted, once the browser gets round to it, and never to a window gone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_link/device_event.h"
#include "device_link/web/page_window.h"

namespace {

struct Page : ::testing::Test {
    void SetUp() override { hook.Install(window->Handle(), [&](int code, DeviceHandle h) { log.push_back(std::to_string(code) + ":" + std::to_string(h)); }); }
    int wakes = 0;
    PageQueue queue{[this] { ++wakes; }};
    std::unique_ptr<PageWindow> window = std::make_unique<PageWindow>(queue);
    PageWindowHook hook;
    std::vector<std::string> log;
};

TEST_F(Page, EventsAndJobsRunInTheOrderPostedOnceThePageRunsItsQueue)
{
    EventTarget target;
    target.Set(window->Handle());
    target.Post(EventPlugged, 4);
    window->Post([&] { log.push_back("job"); window->Post([&] { log.push_back("posted meanwhile"); }); });
    PostDeviceEvent(window->Handle(), EventRead, 4);
    EXPECT_TRUE(log.empty()) << "ran before the page ran its queue";
    EXPECT_EQ(wakes, 1) << "one wake-up for what came together";
    queue.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"1:4", "job", "4:4", "posted meanwhile"}));
    window->Post([] {});
    EXPECT_EQ(wakes, 2);
}

TEST_F(Page, DroppedEventsAreOnlyThoseAlreadyPosted)
{
    EventTarget target;
    target.Set(window->Handle());
    target.Post(EventRead, 4);
    window->Post([&] { log.push_back("job"); });
    target.DropPending();
    target.Post(EventChanged, 0);
    queue.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"job", "3:0"}));
}

TEST_F(Page, AWindowGoneOrUnhookedGetsNothing)
{
    PostDeviceEvent(window->Handle(), EventRead, 4);
    hook.Remove();
    queue.Run();
    PostDeviceEvent(window->Handle(), EventRead, 4);
    window->Post([&] { log.push_back("job"); });
    window.reset();
    queue.Run();
    EXPECT_TRUE(log.empty());
}

}  // namespace
