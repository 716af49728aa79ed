// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/unit_presence.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const HidIdentity Unit{0x1781, 0x07D0};
const HidIdentity Keyboard{0x046D, 0xC31C};

// Handles by letter: a new letter is a handle never issued before; '-' is none.
struct Step {
    enum Op { Arrive, Leave, Replace } op;
    std::vector<DeviceNode> nodes;             // Leave uses the first node's devnode
    std::vector<std::pair<int, char>> events;  // (code, handle letter)
    char present;                              // the unit's handle afterwards
    std::string devnode = {};                  // checked when present
};
struct Scenario {
    const char* what;
    std::vector<Step> steps;
};

DeviceNode UnitAt(const char* devnode) { return {devnode, Unit}; }
DeviceNode KeyboardAt(const char* devnode) { return {devnode, Keyboard}; }

const Scenario Scenarios[] = {
    {"a node listed and then reported arriving is not new",
     {{Step::Replace, {UnitAt("/dev/hidraw1")}, {}, 'a'},
      {Step::Arrive, {UnitAt("/dev/hidraw1")}, {}, 'a'},
      {Step::Leave, {UnitAt("/dev/hidraw1")}, {{EventUnplugged, 'a'}, {EventChanged, '-'}}, '-'}}},
    {"a node taken over by another device counts as leave and arrive",
     {{Step::Arrive, {UnitAt("/dev/hidraw1")}, {{EventPlugged, 'a'}, {EventChanged, '-'}}, 'a'},
      {Step::Arrive, {KeyboardAt("/dev/hidraw1")},
       {{EventUnplugged, 'a'}, {EventChanged, '-'}, {EventChanged, '-'}}, '-'}}},
    {"a second unit takes over when the first leaves",
     {{Step::Arrive, {UnitAt("/dev/hidraw1")}, {{EventPlugged, 'a'}, {EventChanged, '-'}}, 'a'},
      {Step::Arrive, {UnitAt("/dev/hidraw4")}, {{EventChanged, '-'}}, 'a', "/dev/hidraw1"},
      {Step::Leave, {UnitAt("/dev/hidraw1")},
       {{EventUnplugged, 'a'}, {EventPlugged, 'b'}, {EventChanged, '-'}}, 'b', "/dev/hidraw4"}}},
    {"a new listing keeps the present unit's handle while it is listed",
     {{Step::Replace, {KeyboardAt("/dev/hidraw0"), UnitAt("/dev/hidraw3")}, {}, 'a', "/dev/hidraw3"},
      {Step::Replace, {UnitAt("/dev/hidraw3")}, {}, 'a'},
      {Step::Replace, {KeyboardAt("/dev/hidraw0")}, {}, '-'},
      {Step::Replace, {UnitAt("/dev/hidraw3")}, {}, 'b'}}},
};

TEST(UnitPresence, FollowsTheNodesAndSaysWhichEventsEachChangeCallsFor)
{
    for (const Scenario& scenario : Scenarios) {
        UnitPresence presence(Unit);
        std::map<char, DeviceHandle> named{{'-', 0}};
        const auto handleOf = [&](char letter, DeviceHandle actual) {
            if (!named.count(letter)) {
                for (const auto& [other, issued] : named)
                    EXPECT_NE(actual, issued) << scenario.what << ": handle " << letter << " reused";
                named[letter] = actual;
            }
            return named[letter];
        };
        for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
            const Step& step = scenario.steps[i];
            const std::vector<PendingEvent> got = step.op == Step::Arrive ? presence.Arrived(step.nodes.front())
                                                  : step.op == Step::Leave  ? presence.Left(step.nodes.front().devnode)
                                                                            : (presence.Replace(step.nodes), std::vector<PendingEvent>{});
            std::vector<PendingEvent> expected;
            for (std::size_t e = 0; e < step.events.size(); ++e) {
                const DeviceHandle actual = e < got.size() ? got[e].handle : 0;
                expected.push_back({step.events[e].first, handleOf(step.events[e].second, actual)});
            }
            EXPECT_EQ(got, expected) << scenario.what << ", step " << i;
            EXPECT_EQ(presence.Handle(), handleOf(step.present, presence.Handle()))
                << scenario.what << ", step " << i;
            if (step.present == '-' || !step.devnode.empty()) {  // no unit: no devnode
                EXPECT_EQ(presence.Devnode(), step.devnode) << scenario.what << ", step " << i;
            }
        }
    }
}

}  // namespace
