// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the program does differently on each platform: its arguments and
// console, and how it reaches units over USB. Each platform folder has it.

#include <memory>
#include <string>
#include <vector>

#include "protocol/hid_library.h"
#include "usb_backend/device_watch.h"

// The arguments in UTF-8, the program's name first; the console set to
// show UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);
bool StderrIsTerminal();

// A link to the unit on `devnode` only, its events for the command line's queue.
std::unique_ptr<HidLibrary> OpenUsbLink(const std::string& devnode);
// What to do so that this user may open a unit, as indented lines.
std::string UsbAccessFix();
// The watch of device nodes coming and going, on a thread of its own.
std::unique_ptr<DeviceWatch> UsbWatch();
