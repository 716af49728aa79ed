// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/input_queue.h"

#include <gtest/gtest.h>

namespace {

InputBytes Bytes(std::uint8_t first) { return {first, 2, 3, 4, 5, 6, 7, 8}; }

// Takes every queued report for `handle`; their first data bytes.
std::vector<int> Drain(InputQueue& queue, DeviceHandle handle)
{
    std::vector<int> firsts;
    Report report{};
    while (queue.Take(handle, report))
        firsts.push_back(report[1]);
    return firsts;
}

}  // namespace

TEST(InputQueue, WhatEachGateChangeKeepsAndDrops)
{
    struct Case {
        const char* what;
        void (*change)(InputQueue&);
        std::vector<int> left;  // of report 1, still queued for handle 5
        bool keepsNewFor5;
    };
    const Case cases[] = {
        {"nothing", [](InputQueue&) {}, {1}, true},
        {"enabling the same handle again", [](InputQueue& q) { q.Enable(5); }, {1}, true},
        {"enabling another handle", [](InputQueue& q) { q.Enable(6); }, {}, false},
        {"forgetting another handle", [](InputQueue& q) { q.Forget(6); }, {1}, true},
        {"forgetting the enabled handle", [](InputQueue& q) { q.Forget(5); }, {}, false},
        {"disabling", [](InputQueue& q) { q.Disable(); }, {}, false},
    };
    for (const Case& c : cases) {
        InputQueue queue;
        EXPECT_FALSE(queue.Offer(5, Bytes(9)));  // before read notification
        queue.Enable(5);
        EXPECT_FALSE(queue.Offer(6, Bytes(9)));
        EXPECT_FALSE(queue.Offer(0, Bytes(9)));
        queue.Offer(5, Bytes(1));
        c.change(queue);
        EXPECT_EQ(queue.Offer(5, Bytes(2)), c.keepsNewFor5) << c.what;
        std::vector<int> expected = c.left;
        if (c.keepsNewFor5)
            expected.push_back(2);
        EXPECT_EQ(Drain(queue, 5), expected) << c.what;
    }
}

TEST(InputQueue, StopsKeepingAtCapacityUntilOneIsTaken)
{
    InputQueue queue(2);
    queue.Enable(5);
    for (const auto& [first, kept] : {std::pair{1, true}, {2, true}, {3, false}})
        EXPECT_EQ(queue.Offer(5, Bytes(first)), kept) << first;
    Report report{};
    ASSERT_TRUE(queue.Take(5, report));
    EXPECT_TRUE(queue.Offer(5, Bytes(4)));
    EXPECT_EQ(Drain(queue, 5), (std::vector<int>{2, 4}));
}
