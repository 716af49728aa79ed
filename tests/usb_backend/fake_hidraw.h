// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A hidraw world without hardware, for the test to change and inspect.

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "usb_backend/device_watch.h"
#include "usb_backend/input_queue.h"
#include "usb_backend/unit_port.h"

class FakeWatch : public DeviceWatch {
public:
    std::vector<DeviceNode> nodes;
    bool startSucceeds = true;
    int enumerations = 0;
    DeviceWatchListener* listener = nullptr;

    std::vector<DeviceNode> Enumerate() override { ++enumerations; return nodes; }
    bool Start(DeviceWatchListener& watcher) override
    { return watcher.Snapshot(nodes), listener = startSucceeds ? &watcher : nullptr, startSucceeds; }
    void Stop() override { listener = nullptr; }

    void Plug(const DeviceNode& node) { nodes.push_back(node); if (listener) listener->Arrived(node); }
    void Unplug(const std::string& devnode)
    {
        std::erase_if(nodes, [&](const DeviceNode& node) { return node.devnode == devnode; });
        if (listener) listener->Left(devnode);
    }
    // Messages were lost.
    void Resync() { if (listener) listener->Snapshot(nodes); }
};

struct FakeUnit {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<InputBytes> input;
    std::vector<Report> written;
    bool gone = false, refuseWrites = false;  // refused writes: reading still works
    int readCalls = 0, readCallAtLastTake = -1;

    auto Locked(auto f) { std::lock_guard lock(mutex); return f(); }
    void Change(auto f) { Locked(f); arrived.notify_all(); }
    void Send(const InputBytes& bytes) { Change([&] { input.push_back(bytes); }); }
    void Pull() { Change([&] { gone = true; }); }
    // The reader came back for more after the last report, so it has handed each on.
    bool Consumed() { return Locked([&] { return input.empty() && readCalls > readCallAtLastTake; }); }
    std::vector<Report> Written() { return Locked([&] { return written; }); }
};

class FakePort : public UnitPort {
public:
    explicit FakePort(std::shared_ptr<FakeUnit> unit) : unit_(std::move(unit)) {}

    bool Write(const Report& report) override
    {
        std::lock_guard lock(unit_->mutex);
        return !unit_->gone && !unit_->refuseWrites && (unit_->written.push_back(report), true);
    }
    int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
    {
        std::unique_lock lock(unit_->mutex);
        ++unit_->readCalls;
        if (!unit_->arrived.wait_for(lock, timeout, [&] { return unit_->gone || !unit_->input.empty(); }) || unit_->gone)
            return unit_->gone ? -1 : 0;
        std::copy(unit_->input.front().begin(), unit_->input.front().end(), buffer.begin());
        unit_->input.pop_front();
        unit_->readCallAtLastTake = unit_->readCalls;
        return static_cast<int>(InputBytes().size());
    }

private:
    std::shared_ptr<FakeUnit> unit_;
};

class FakeOpener : public UnitOpener {
public:
    std::map<std::string, std::shared_ptr<FakeUnit>> units;
    int deniedOpens = 0, opens = 0;  // this many opens fail for lack of access; -1 all of them

    OpenResult Open(const std::string& devnode) override
    {
        ++opens;
        if (deniedOpens != 0)
            return deniedOpens -= deniedOpens > 0, OpenResult{nullptr, true};
        const auto unit = units.find(devnode);
        return {unit == units.end() || unit->second->gone ? nullptr : std::make_unique<FakePort>(unit->second), false};
    }
};
