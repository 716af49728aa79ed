// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Records every report written and hands out scripted input reports.

#include <algorithm>
#include <cstddef>
#include <string>
#include <deque>
#include <limits>
#include <mutex>
#include <vector>

#include "protocol/hid_library.h"

class RecordingLibrary : public HidLibrary {
public:
    std::vector<Report> written;
    std::deque<Report> pendingInput;  // what Read hands out, front first
    DeviceHandle presentHandle = 7;
    // Writes beyond this many are refused, as by a unit pulled out.
    std::size_t acceptedWrites = std::numeric_limits<std::size_t>::max();
    std::vector<std::pair<DeviceHandle, bool>> readNotifyCalls;
    std::vector<std::string> calls;  // Connect, Disconnect and WriteEx, in order

    // A write may come from the upload's thread while the window logs its hook.
    void Log(std::string call) { std::lock_guard lock(callsMutex_); calls.push_back(std::move(call)); }
    bool Connect(WindowHandle) override { Log("Connect"); return true; }
    bool Disconnect() override { Log("Disconnect"); return true; }
    int Count(const std::string& call) const
    { const std::lock_guard lock(callsMutex_); return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return presentHandle; }
    void SetReadNotify(DeviceHandle handle, bool enabled) override { readNotifyCalls.emplace_back(handle, enabled); }
    bool Read(DeviceHandle handle, Report& report) override
    {
        const bool given = handle == presentHandle && !pendingInput.empty();
        if (given) report = pendingInput.front(), pendingInput.pop_front();
        return given;
    }
    bool WriteEx(std::int32_t, std::int32_t, const Report& report) override
    { return Log("WriteEx"), written.size() < acceptedWrites && (written.push_back(report), true); }

private:
    mutable std::mutex callsMutex_;
};
