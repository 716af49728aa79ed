// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the guest's benchmarks share: their clock, medians, the wait for the
// unit to have read an upload, a process's CPU time, and the printed ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
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

// User and system time of a process, in clock ticks.
inline long CpuTicks(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

inline void PrintRatio(const char* what, double tool, double bare, const char* baseline) {
    std::printf("%-34s tool %8.2f ms   %s %8.2f ms   ratio %.2f\n", what, tool, baseline, bare, tool / bare);
}
