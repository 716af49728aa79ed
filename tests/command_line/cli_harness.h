// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs the command line against the in-process unit as a script would.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include "command_line/command_line.h"
#include "command_line/device_event_queue.h"
#include "command_line/file_system.h"
#include "device_link/device_event.h"
#include "tests/support/faulty_unit_library.h"
#include "tests/support/recording_library.h"

inline const ReadBackTimings ShortTimings{.firstAnswer = std::chrono::milliseconds(200),
                                          .quiet = std::chrono::milliseconds(30)};

// Answer reports `start` ms after the request, then every `gap` ms (`pause` more after
// report `pauseAfter`), pulled out at report `unplugAt` (counted over the whole command);
// with `repeat` the answer over and over, as a unit that never stops.
// Each wait runs from the report before, so a busy machine delays both sides alike.
struct Pacing {
    int start = 0, gap = 1, pauseAfter = -1, pause = 0, unplugAt = -1;
    // Taken off the bus, then lost before it is read: the report of this
    // index in the run, or in each answer.
    int lostAt = -1;
    bool lostInEachAnswer = false;
    bool repeat = false;
};

class PacedUnit : public RecordingLibrary {
public:
    explicit PacedUnit(AlarmUnitModel& model) : model_(model), pacer_([this] { Pace(); }) {}
    ~PacedUnit() override
    {
        { const std::lock_guard lock(mutex_); quit_ = true; }
        wake_.notify_all();
        pacer_.join();
    }
    Pacing pacing;

    bool Connect(WindowHandle window) override { const std::lock_guard lock(mutex_); return queue_ = static_cast<DeviceEventQueue*>(window), true; }
    bool Disconnect() override { const std::lock_guard lock(mutex_); return queue_ = nullptr, true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { const std::lock_guard lock(mutex_); return presentHandle; }
    bool Read(DeviceHandle handle, Report& report) override
    { const std::lock_guard lock(mutex_); return RecordingLibrary::Read(handle, report); }
    bool WriteEx(std::int32_t, std::int32_t, const Report& r) override
    {
        const std::lock_guard lock(mutex_);
        const bool idle = answer_.empty();  // else the answer under way carries on
        for (const WireReport& reply : model_.Receive({r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]}))
            answer_.push_back({0, reply[0], reply[1], reply[2], reply[3], reply[4], reply[5], reply[6], reply[7]});
        if (idle && !answer_.empty())
            inAnswer_ = 0, next_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(pacing.start), wake_.notify_all();
        return true;
    }

private:
    // Hands out the answer a report at a time; a unit pulled out or a link
    // gone ends the answering for good, as it would on the bus.
    void Pace()
    {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (answer_.empty() || ended_) {
                wake_.wait(lock);
                continue;
            }
            if (wake_.wait_until(lock, next_, [this] { return quit_; }) || std::chrono::steady_clock::now() < next_)
                continue;
            if (queue_ == nullptr || presentHandle == 0) {
                ended_ = true;
                continue;
            }
            if (sent_++ == pacing.unplugAt) {
                queue_->Push({EventUnplugged, std::exchange(presentHandle, 0)});
                ended_ = true;
                continue;
            }
            const bool lost = (pacing.lostInEachAnswer ? inAnswer_++ : sent_ - 1) == pacing.lostAt;
            if (!lost)
                pendingInput.push_back(answer_.front());
            if (pacing.repeat)
                answer_.push_back(answer_.front());
            answer_.pop_front();
            if (!lost)
                queue_->Push({EventRead, presentHandle});
            next_ = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(pacing.gap + (sent_ - 1 == pacing.pauseAfter ? pacing.pause : 0));
        }
    }

    AlarmUnitModel& model_;
    std::mutex mutex_;  // guards everything the pacer touches
    std::condition_variable wake_;
    DeviceEventQueue* queue_ = nullptr;
    std::deque<Report> answer_;
    std::chrono::steady_clock::time_point next_;
    int sent_ = 0, inAnswer_ = 0;
    bool ended_ = false, quit_ = false;
    std::thread pacer_;  // last: starts once the rest is made
};

class InProcessUnits : public UnitSource {
public:
    AlarmUnitModel model;
    FaultyUnitLibrary library{model, PostToQueue()};
    PacedUnit paced{model};
    HidLibrary* opened = &library;
    ReadBackTimings timings = ShortTimings;
    std::vector<ListedUnit> listed{{"/dev/hidraw7", ListedUnit::Access::Openable}};

    std::vector<ListedUnit> List() override { return listed; }
    std::shared_ptr<HidLibrary> Open(const std::string&) override { return {std::shared_ptr<void>(), opened}; }
    std::string AccessFix() const override { return "  Fix: install the udev rule\n"; }
    void Pace(Pacing pacing) { paced.pacing = pacing, opened = &paced, timings = {}; }
};

struct CliRun {
    int status;
    std::string out, err;
    bool operator==(const CliRun&) const = default;
};
inline void PrintTo(const CliRun& run, std::ostream* os) { *os << run.status << "\n" << run.out << "--\n" << run.err; }

// Four zones with distinct values, one text at its limit.
inline void LoadZones(AlarmUnitModel& model)
{
    model.StoreServiceCentre("656000311");
    model.StoreZone(1, "611222333", "Zona\runo");
    model.StoreZone(2, "622000111", "Puerta principal");
    model.StoreZone(3, "633444555", "Linea 1\r\nLinea 2 \xF1");
    model.StoreZone(4, "644777888", std::string(49, 'z'));
}

using Args = std::vector<std::string>;
inline Args operator+(Args a, const Args& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
inline nlohmann::json Json(const std::string& text) { return nlohmann::json::parse(text, nullptr, false); }

// A folder of a test's own, gone with it; paths in it are UTF-8, as the arguments are.
class TempDir {
    static std::filesystem::path Fresh() { return std::filesystem::temp_directory_path() / ("qorun-test-" + std::to_string(std::random_device{}())); }
    std::filesystem::path path_ = Fresh();

public:
    TempDir() { while (!std::filesystem::create_directory(path_)) path_ = Fresh(); }
    ~TempDir() { std::error_code ignored; std::filesystem::remove_all(path_, ignored); }
    std::string FilePath(const std::string& name) const { const auto path = (path_ / name).u8string(); return {path.begin(), path.end()}; }
};

inline std::string Written(const std::string& path, const std::string& bytes)
{
    EXPECT_TRUE(std::ofstream(PathOf(path), std::ios::binary).write(bytes.data(), std::ssize(bytes)).flush()) << path;
    return path;
}
inline std::string ReadAll(const std::string& path) { std::ifstream f(PathOf(path), std::ios::binary); return {std::istreambuf_iterator<char>(f), {}}; }

// An argument starting with "FILE" starts with `file` instead.
inline CliRun RunCli(InProcessUnits& units, const Args& arguments, const std::string& file = {}, bool progress = false)
{
    std::ostringstream out, err;
    CommandContext context{units, out, err, progress, units.timings};
    Args all{"velbrix-qorun-cli"};
    for (const std::string& argument : arguments)
        all.push_back(argument.starts_with("FILE") ? file + argument.substr(4) : argument);
    const int status = RunCommandLine(all, context);
    return {status, out.str(), err.str()};
}
