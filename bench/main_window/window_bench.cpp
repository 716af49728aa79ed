// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up to first frame and peak RSS of the tool's window (MainForm over
// the USB backend, loaded) against two floors, all from this same binary in
// alternating child processes: a bare Qt window of the same size and flags,
// and the same widgets without the device link (what the device code costs).
// Then the CPU the window uses while idle with the device link attached.
//
//   main_window_bench [rounds] [idle seconds]      (defaults 10 and 10)
//
// Run it on a display (e.g. under xvfb-run) or with QT_QPA_PLATFORM=offscreen.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/main_window/child_modes.h"

extern char** environ;

namespace {

struct ChildRun {
    std::string output;
    long long startNs = 0;  // just before the child was spawned
    long peakRssKiB = 0;
    bool ok = false;
};

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

ChildRun Spawn(const char* self, std::vector<std::string> args)
{
    ChildRun run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Qt's warnings (e.g. about the offscreen platform) would bury the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(self)};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    run.startNs = MonotonicNs();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return run;
    }
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakRssKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// Milliseconds from spawn to the child's first frame, or -1.
double FirstFrameMs(const ChildRun& run)
{
    long long paintedNs = 0;
    if (!run.ok || std::sscanf(run.output.c_str(), "painted %lld", &paintedNs) != 1)
        return -1;
    return static_cast<double>(paintedNs - run.startNs) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Measure(const char* self, int rounds, int idleSeconds)
{
    struct Mode {
        const char* name;
        std::vector<double> ms, rss;
    };
    Mode modes[] = {{"bare", {}, {}}, {"widgets", {}, {}}, {"tool", {}, {}}};
    Spawn(self, {"--child", "bare"});  // warm the caches for all
    for (int i = 0; i < rounds; ++i) {
        for (Mode& mode : modes) {
            const ChildRun run = Spawn(self, {"--child", mode.name});
            const double ms = FirstFrameMs(run);
            if (ms < 0) {
                std::fprintf(stderr, "child %s failed: %s\n", mode.name, run.output.c_str());
                return 1;
            }
            mode.ms.push_back(ms);
            mode.rss.push_back(static_cast<double>(run.peakRssKiB));
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform: %s, %d rounds, medians\n",
                platform ? platform : (std::getenv("DISPLAY") ? "xcb" : "default"), rounds);
#ifdef QORUN_BENCH_USB_BACKEND
    std::printf("window: the tool over the USB backend; widgets: the same window, no device link\n");
#else
    std::printf("window: over a library with no unit (USB backend not built); widgets: no device link\n");
#endif
    const double bareMs = Median(modes[0].ms), widgetsMs = Median(modes[1].ms),
                 toolMs = Median(modes[2].ms);
    const double bareRss = Median(modes[0].rss), widgetsRss = Median(modes[1].rss),
                 toolRss = Median(modes[2].rss);
    std::printf("start-up to first frame: bare %.1f ms, widgets %.1f ms, window %.1f ms; "
                "ratio to bare %.2f, to widgets %.2f\n",
                bareMs, widgetsMs, toolMs, toolMs / bareMs, toolMs / widgetsMs);
    std::printf("peak RSS: bare %.0f KiB, widgets %.0f KiB, window %.0f KiB; "
                "ratio to bare %.2f, to widgets %.2f\n",
                bareRss, widgetsRss, toolRss, toolRss / bareRss, toolRss / widgetsRss);

    for (const char* backend : {"virtual", "usb"}) {
        const ChildRun run =
            Spawn(self, {"--child", "idle", backend, std::to_string(idleSeconds)});
        double cpu = 0;
        if (run.output.rfind("unavailable", 0) == 0) {
            std::printf("idle CPU, %s link: not built\n", backend);
        } else if (std::sscanf(run.output.c_str(), "idle_cpu_s %lf", &cpu) == 1) {
            std::printf("idle CPU, %s link attached, %d s: %.3f s CPU (%.3f %%)\n", backend,
                        idleSeconds, cpu, 100.0 * cpu / idleSeconds);
        } else {
            std::printf("idle CPU, %s link: child failed\n", backend);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        const std::string mode = argv[2];
        int childArgc = 1;  // Qt sees only the program name
        if (mode == "bare")
            return RunBareWindow(childArgc, argv);
        if (mode == "widgets")
            return RunWidgetsOnly(childArgc, argv);
        if (mode == "tool")
            return RunToolWindow(childArgc, argv);
        if (mode == "idle" && argc >= 5)
            return RunIdle(childArgc, argv, argv[3], std::atoi(argv[4]));
        return 2;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    return Measure("/proc/self/exe", rounds, idleSeconds);
}
