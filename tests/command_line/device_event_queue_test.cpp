// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line's device events: in the order posted, only to the queue
// the library is connected to, none left once it disconnects.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "command_line/device_event_queue.h"
#include "device_link/device_event.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<int> Codes(DeviceEventQueue& queue)
{
    std::vector<int> codes;
    while (const auto event = queue.Take(Clock::now()))
        codes.push_back(event->code * 100 + static_cast<int>(event->handle));
    return codes;
}

struct SinkCase {
    const char* name;
    void (*steps)(DeviceEventSink& sink, DeviceEventQueue& queue, DeviceEventQueue& other);
    std::vector<int> queued, otherQueued;  // code * 100 + handle, oldest first
};

const SinkCase SinkCases[] = {
    {"InTheOrderPosted", [](DeviceEventSink& s, DeviceEventQueue& q, DeviceEventQueue&) {
         s.Target(q.AsWindow()), s.Post(EventRead, 1), s.Post(EventUnplugged, 1), s.Post(EventChanged, 0); },
     {EventRead * 100 + 1, EventUnplugged * 100 + 1, EventChanged * 100}, {}},
    {"NothingBeforeConnecting", [](DeviceEventSink& s, DeviceEventQueue& q, DeviceEventQueue&) {
         s.Post(EventRead, 1), s.Target(q.AsWindow()); }, {}, {}},
    {"PendingDroppedAndNothingAfterDisconnecting", [](DeviceEventSink& s, DeviceEventQueue& q, DeviceEventQueue&) {
         s.Target(q.AsWindow()), s.Post(EventRead, 1), s.DropPending(), s.Target(nullptr), s.Post(EventRead, 2); }, {}, {}},
    {"OnlyToTheQueueConnectedTo", [](DeviceEventSink& s, DeviceEventQueue& q, DeviceEventQueue& o) {
         s.Target(o.AsWindow()), s.Post(EventRead, 1), s.Target(q.AsWindow()), s.Post(EventRead, 2); },
     {EventRead * 100 + 2}, {EventRead * 100 + 1}},
};

class QueueSink : public testing::TestWithParam<SinkCase> {};

TEST_P(QueueSink, DeliversWhatWasPostedWhereItWasConnected)
{
    DeviceEventQueue queue, other;
    const auto sink = PostToQueue();
    GetParam().steps(*sink, queue, other);
    EXPECT_EQ(Codes(queue), GetParam().queued);
    EXPECT_EQ(Codes(other), GetParam().otherQueued);
}

INSTANTIATE_TEST_SUITE_P(Each, QueueSink, testing::ValuesIn(SinkCases),
                         [](const testing::TestParamInfo<SinkCase>& info) { return info.param.name; });

TEST(DeviceEventQueue, ATakeWaitingWakesForAnEventFromAnotherThread)
{
    DeviceEventQueue queue;
    std::thread poster([&queue] { std::this_thread::sleep_for(std::chrono::milliseconds(20)), queue.Push({EventRead, 3}); });
    const auto event = queue.Take(Clock::now() + std::chrono::seconds(10));
    poster.join();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->handle, 3u);
    EXPECT_FALSE(queue.Take(Clock::now()));  // taken once
}

}  // namespace
