// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the guest's benchmarks share: their clock, medians, the wait for the
// unit to have read an upload, and the printed ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "virtual_unit/gadget_unit.h"

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline bool AwaitLog(GadgetUnit& unit, std::size_t count) {
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (unit.LogSize() < count) {
        if (Clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

inline void PrintRatio(const char* what, double tool, double bare, const char* baseline) {
    std::printf("%-34s tool %8.2f ms   %s %8.2f ms   ratio %.2f\n", what, tool, baseline, bare, tool / bare);
}
