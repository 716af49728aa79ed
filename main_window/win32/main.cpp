// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tool on Windows. The USB backend for Windows is still to come: until
// then the window runs over a library that finds no unit, and says so.

#include "main_window/win32/program.h"
#include "protocol/no_unit_library.h"

int main(int argc, char** argv)
{
    NoUnitLibrary library;
    return RunWindow(library, argc, argv);
}
