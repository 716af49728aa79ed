#pragma once
// A HidLibrary for tests: records every report written and hands out
// scripted input reports.

#include <deque>
#include <vector>

#include "protocol/hid_library.h"

class RecordingLibrary : public HidLibrary {
public:
    std::vector<Report> written;
    std::deque<Report> pendingInput;  // what Read hands out, front first
    DeviceHandle presentHandle = 7;
    int readNotifyCalls = 0;
    int getHandleCalls = 0;
    int connectCalls = 0;
    int disconnectCalls = 0;

    bool Connect(WindowHandle) override { ++connectCalls; return true; }
    bool Disconnect() override { ++disconnectCalls; return true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override
    {
        ++getHandleCalls;
        return presentHandle;
    }
    void SetReadNotify(DeviceHandle, bool) override { ++readNotifyCalls; }
    bool Read(DeviceHandle handle, Report& report) override
    {
        if (handle != presentHandle || pendingInput.empty())
            return false;
        report = pendingInput.front();
        pendingInput.pop_front();
        return true;
    }
    bool WriteEx(std::int32_t, std::int32_t, const Report& report) override
    {
        written.push_back(report);
        return true;
    }
};
