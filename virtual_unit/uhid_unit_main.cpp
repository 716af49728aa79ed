// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the virtual alarm unit on /dev/uhid until interrupted, so the real tool
// (or anything speaking hidraw) can be tried against it on a kernel with
// uhid. Needs write access to /dev/uhid, usually root.
//
//   qorun-uhid-unit [--sample]    --sample pre-loads the four zones

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include "virtual_unit/sample_data.h"
#include "virtual_unit/uhid_unit.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

void PrintReport(const WireReport& wire) {
    for (std::uint8_t byte : wire) std::printf(" %02X", byte);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const bool sample = argc > 1 && std::strcmp(argv[1], "--sample") == 0;
    UhidUnit unit;
    if (sample) {
        unit.WithModel([](AlarmUnitModel& model) { LoadDemoUnit(model); });
    }
    if (!unit.Create()) {
        std::fprintf(stderr, "qorun-uhid-unit: %s\n", unit.Error().c_str());
        return 1;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::printf("virtual alarm unit 1781:07d0 created; Ctrl-C removes it\n");
    std::fflush(stdout);

    std::size_t shown = 0;
    while (!stopRequested && unit.Present()) {
        ::usleep(100 * 1000);
        const auto log = unit.Log();
        for (; shown < log.size(); ++shown) {
            std::printf("received");
            PrintReport(log[shown]);
        }
        std::fflush(stdout);
    }
    unit.Remove();
    std::printf("removed after %zu output reports\n", shown);
    return 0;
}
