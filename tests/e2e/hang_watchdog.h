#pragma once
// Ends the program with a clear message when one test runs far longer than
// any sane run could, so a hang (a write that never returns, an event loop
// that stalls) is reported by name instead of ending in the guest's
// timeout. It judges no speed: the limit is minutes.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class HangWatchdog : public testing::EmptyTestEventListener {
public:
    explicit HangWatchdog(std::chrono::seconds limit);
    ~HangWatchdog() override;

    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;

private:
    void Watch();

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string running_;  // empty between tests
    std::chrono::steady_clock::time_point deadline_;
    bool stop_ = false;
    std::thread thread_;
};
