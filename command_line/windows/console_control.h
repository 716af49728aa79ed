// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The console's control handler TerminationSignals installs: TRUE when it
// took Ctrl-C or Ctrl-Break as the end of a run, FALSE to pass the event on.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI ConsoleControlHandler(DWORD event);
