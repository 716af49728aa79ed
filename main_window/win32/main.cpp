// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool on Windows: the window over the unit on USB, through hidapi.

#include "main_window/win32/program.h"
#include "usb_backend/windows_hid_library.h"

int main(int argc, char** argv)
{
    WindowsHidLibrary library;
    return RunWindow(library, argc, argv);
}
