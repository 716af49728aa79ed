// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/win32/program.h"

#include <cstdio>
#include <cstring>

#include "main_window/win32/win32_main_window.h"

#include <psapi.h>  // after windows.h

namespace {

// Milliseconds since the process was created.
double SinceProcessStart()
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(now) - ticks(created)) / 10000.0;  // 100 ns ticks
}

}  // namespace

int RunWindow(HidLibrary& library, int argc, char** argv)
{
    const bool benchmark = argc > 1 && std::strcmp(argv[1], "--benchmark") == 0;
    Win32MainWindow window(library);
    window.Load();
    window.Show();  // paints the window before it returns
    if (!benchmark)
        return window.Run();
    const double painted = SinceProcessStart();
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    const int code = window.Run();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("start-up to first paint: %.1f ms\npeak working set: %.1f MiB\n", painted,
                double(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
    return code;
}
