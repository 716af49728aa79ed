// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the Windows programs share: the window over a library, shown until
// closed. With --benchmark the window closes once painted, and the start-up
// to its first paint and the peak working set are printed.

#include "protocol/hid_library.h"

int RunWindow(HidLibrary& library, int argc, char** argv);
