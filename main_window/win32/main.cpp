// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool on Windows. The USB backend for Windows is still to come: until
// then the window runs over a library that finds no unit, and says so.

#include "main_window/win32/program.h"

namespace {

class NoUnitLibrary : public HidLibrary {
public:
    bool Connect(WindowHandle) override { return true; }
    bool Disconnect() override { return true; }
    DeviceHandle GetHandle(std::int32_t, std::int32_t) override { return 0; }
    void SetReadNotify(DeviceHandle, bool) override {}
    bool Read(DeviceHandle, Report&) override { return false; }
    bool WriteEx(std::int32_t, std::int32_t, const Report&) override { return false; }
};

}  // namespace

int main(int argc, char** argv)
{
    NoUnitLibrary library;
    return RunWindow(library, argc, argv);
}
