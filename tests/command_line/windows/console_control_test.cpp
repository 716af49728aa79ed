// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Ctrl-C and Ctrl-Break end a run as SIGINT and SIGTERM do: the first becomes
// the call, a second is passed on (the system then ends the program at once),
// and the console's other events, and any event outside a run, are not taken.

#include <gtest/gtest.h>

#include "command_line/termination_signals.h"
#include "command_line/windows/console_control.h"

namespace {

// Each run's events and whether each was taken; runs one after the other.
using Runs = std::vector<std::vector<std::pair<DWORD, BOOL>>>;

class ConsoleControl : public testing::TestWithParam<Runs> {};

TEST_P(ConsoleControl, TakesTheFirstCtrlCOrCtrlBreakOfEachRunOnly)
{
    for (const auto& events : GetParam()) {
        int calls = 0, taken = 0;
        {
            const TerminationSignals run([&] { ++calls; });
            for (const auto& [event, take] : events) {
                EXPECT_EQ(ConsoleControlHandler(event), take) << event;
                taken += take;
            }
        }
        EXPECT_EQ(calls, taken);
        EXPECT_FALSE(ConsoleControlHandler(CTRL_C_EVENT)) << "taken with no run to end";
    }
}

INSTANTIATE_TEST_SUITE_P(Events, ConsoleControl, testing::Values(
    Runs{{{CTRL_C_EVENT, TRUE}, {CTRL_C_EVENT, FALSE}}, {{CTRL_BREAK_EVENT, TRUE}}},
    Runs{{{CTRL_BREAK_EVENT, TRUE}, {CTRL_C_EVENT, FALSE}}},
    Runs{{}, {{CTRL_CLOSE_EVENT, FALSE}, {CTRL_LOGOFF_EVENT, FALSE}, {CTRL_BREAK_EVENT, TRUE}}}));

}  // namespace
