// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool on Windows: the window over the unit on USB, through hidapi.

#include "main_window/win32/program.h"
#include "device_link/window_event_sink.h"
#include "usb_backend/windows/windows_hid_library.h"

int main(int argc, char** argv)
{
    WindowsHidLibrary library(PostToWindow());
    return RunWindow(library, argc, argv);
}
