// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/main_window/child_modes.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "main_window/qt/qt_main_window.h"
#include "protocol/no_unit_library.h"
#ifdef QORUN_BENCH_VIRTUAL_UNIT
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"
#endif
#ifdef QORUN_BENCH_USB_BACKEND
#include "device_link/window_event_sink.h"
#include "usb_backend/linux/hidapi_library.h"
#endif

namespace {

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs `then` once the window's first frame has been painted and flushed:
// the zero timer fires after the paint pass that delivered the first paint.
class FirstFrame : public QObject {
public:
    FirstFrame(QWidget& window, std::function<void()> then) : then_(std::move(then))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, this, then_);
        }
        return false;
    }

private:
    std::function<void()> then_;
    bool seen_ = false;
};

int ReportFirstFrame(QWidget& window)
{
    FirstFrame watch(window, [] {
        std::printf("painted %lld\n", MonotonicNs());
        std::fflush(stdout);
        QApplication::quit();
    });
    window.show();
    return QApplication::exec();
}

}  // namespace

int RunBareWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velbrix Qorun"));
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    window.setFixedSize(191, 338);
    return ReportFirstFrame(window);
}

int RunWidgetsOnly(int argc, char** argv)
{
    QApplication app(argc, argv);
    NoUnitLibrary library;  // connects to nothing, watches nothing
    QtMainWindow form(library);
    form.Load();
    return ReportFirstFrame(form);
}

int RunToolWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
#ifdef QORUN_BENCH_USB_BACKEND
    HidapiLibrary library(PostToWindow());  // as the tool starts, with or without a unit
#else
    NoUnitLibrary library;
#endif
    QtMainWindow form(library);
    form.Load();
    return ReportFirstFrame(form);
}

int RunIdle(int argc, char** argv, const char* backend, int seconds)
{
    QApplication app(argc, argv);
#ifdef QORUN_BENCH_VIRTUAL_UNIT
    AlarmUnitModel unit;  // outlives the library over it
#endif
    std::unique_ptr<HidLibrary> library;
#ifdef QORUN_BENCH_VIRTUAL_UNIT
    if (std::strcmp(backend, "virtual") == 0)
        library = std::make_unique<InProcessLibrary>(unit, PostToWindow());
#endif
#ifdef QORUN_BENCH_USB_BACKEND
    if (std::strcmp(backend, "usb") == 0)
        library = std::make_unique<HidapiLibrary>(PostToWindow());
#endif
    if (!library) {
        std::printf("unavailable\n");
        return 2;
    }
    QtMainWindow form(*library);
    form.Load();
    form.show();
    double start = 0;
    // Settle first (first frame, the link's change event), then measure.
    QTimer::singleShot(500, [&] { start = CpuSeconds(); });
    QTimer::singleShot(500 + seconds * 1000, [&] {
        std::printf("idle_cpu_s %.6f\n", CpuSeconds() - start);
        std::fflush(stdout);
        form.close();
    });
    return QApplication::exec();
}
