// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What one measured child process runs. Each prints one line of figures on
// stdout and exits.

// A bare QWidget of the window's size and flags, shown; exits after its
// first frame. Prints "painted <monotonic ns>".
int RunBareWindow(int argc, char** argv);
// MainForm loaded and shown over a library that does nothing: the same
// widgets and start-up without a device link. Prints "painted <monotonic ns>".
int RunWidgetsOnly(int argc, char** argv);
// MainForm over the USB backend (a library with no unit where that is not
// built), loaded and shown; exits after its first frame. Prints
// "painted <monotonic ns>".
int RunToolWindow(int argc, char** argv);
// MainForm with the device link attached ("virtual" unit or the "usb"
// backend), left idle for `seconds`. Prints "idle_cpu_s <seconds>".
int RunIdle(int argc, char** argv, const char* backend, int seconds);
