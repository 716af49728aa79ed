#include "hang_watchdog.h"

#include <cstdio>
#include <unistd.h>

HangWatchdog::HangWatchdog(std::chrono::seconds limit)
    : limit_(limit), thread_([this] { Watch(); }) {}

HangWatchdog::~HangWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void HangWatchdog::OnTestStart(const testing::TestInfo& test) {
    {
        std::lock_guard lock(mutex_);
        running_ = std::string(test.test_suite_name()) + "." + test.name();
        deadline_ = std::chrono::steady_clock::now() + limit_;
    }
    changed_.notify_all();
}

void HangWatchdog::OnTestEnd(const testing::TestInfo&) {
    {
        std::lock_guard lock(mutex_);
        running_.clear();
    }
    changed_.notify_all();
}

void HangWatchdog::Watch() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (running_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const std::string test = running_;
        if (changed_.wait_until(lock, deadline_, [&] { return stop_ || running_ != test; }))
            continue;
        std::fprintf(stderr, "FAIL: %s hung for %lld s; giving up\n", test.c_str(),
                     static_cast<long long>(limit_.count()));
        std::fflush(stderr);
        ::_exit(3);
    }
}
