// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints what the USB backend costs where it matters: CPU while idle with
// the link attached (it must sleep, not poll) and how long WriteEx takes to
// give up when the unit is absent.
//
//   usb_backend_bench [idle-seconds] [write-calls]

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "protocol/report_layout.h"
#include "device_link/window_event_sink.h"
#include "usb_backend/linux/hidapi_library.h"

namespace {

// utime + stime of the whole process (all threads), in seconds.
double ProcessCpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which may contain spaces.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::vector<std::string> fields{std::istream_iterator<std::string>(rest), {}};
    // utime and stime are fields 14 and 15; field 3 is the first after ')'.
    const double ticks = std::stod(fields[14 - 3]) + std::stod(fields[15 - 3]);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class CountingWindow : public QObject {
public:
    int deviceEvents = 0;
    bool event(QEvent* event) override
    {
        if (event->type() == static_cast<QEvent::Type>(0x80C8)) {
            ++deviceEvents;
            return true;
        }
        return QObject::event(event);
    }
};

struct Timing {
    double meanMicroseconds = 0;
    double maxMicroseconds = 0;
};

Timing TimeWrites(HidLibrary& library, int calls)
{
    const Report request{0, 0, 0, 0, 0, 0, 5, 1, 0};
    double total = 0;
    double worst = 0;
    int accepted = 0;
    for (int i = 0; i < calls; ++i) {
        const auto start = std::chrono::steady_clock::now();
        accepted += library.WriteEx(DeviceVendorId, DeviceProductId, request) ? 1 : 0;
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        total += took.count();
        worst = std::max(worst, took.count());
    }
    if (accepted != 0)
        std::printf("note: %d of %d writes were accepted, so a unit is present\n", accepted, calls);
    return {total / calls, worst};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int writeCalls = argc > 2 ? std::atoi(argv[2]) : 1000;

    CountingWindow window;
    HidapiLibrary library(PostToWindow());

    const Timing unconnected = TimeWrites(library, writeCalls);

    const bool watching = library.Connect(&window);
    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    QTimer::singleShot(idleSeconds * 1000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    app.exec();
    const double cpuAfter = ProcessCpuSeconds();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;

    const Timing connected = TimeWrites(library, writeCalls);
    library.Disconnect();

    const double cpu = cpuAfter - cpuBefore;
    std::printf("hot-plug monitor running:        %s\n", watching ? "yes" : "no");
    std::printf("idle, link attached:             %.2f s wall, %.3f s CPU (utime+stime), %.3f %% of one core\n",
                wall.count(), cpu, 100.0 * cpu / wall.count());
    std::printf("device events while idle:        %d\n", window.deviceEvents);
    std::printf("WriteEx, no unit, connected:     mean %.2f us, max %.2f us over %d calls\n",
                connected.meanMicroseconds, connected.maxMicroseconds, writeCalls);
    std::printf("WriteEx, no unit, not connected: mean %.2f us, max %.2f us over %d calls (lists hidraw nodes each call)\n",
                unconnected.meanMicroseconds, unconnected.maxMicroseconds, writeCalls);
    return 0;
}
