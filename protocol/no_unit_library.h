// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A library with no unit attached: every call answers "nothing there". The
// window over it says the unit is not connected and sends nothing.

#include "protocol/hid_library.h"

class NoUnitLibrary : public HidLibrary {
public:
    bool Connect(WindowHandle) override { return true; }
    bool Disconnect() override { return true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return 0; }
    void SetReadNotify(DeviceHandle, bool) override {}
    bool Read(DeviceHandle, Report&) override { return false; }
    bool WriteEx(std::int32_t, std::int32_t, const Report&) override { return false; }
};
