// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <io.h>

#include "command_line/device_event_queue.h"
#include "protocol/utf8_text.h"
#include "usb_backend/windows/notification_thread.h"
#include "usb_backend/windows/windows_hid_library.h"

namespace {

// A lone half of a surrogate pair keeps its own three bytes, which are no
// UTF-8, so the argument check refuses it as on Linux rather than the unit
// getting a replacement character.
std::string ArgumentBytes(std::u16string_view argument)
{
    std::string bytes;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= argument.size(); ++i) {
        const bool high = i < argument.size() && argument[i] >= 0xD800 && argument[i] <= 0xDBFF;
        const bool low = i < argument.size() && argument[i] >= 0xDC00 && argument[i] <= 0xDFFF;
        if (high && i + 1 < argument.size() && argument[i + 1] >= 0xDC00 && argument[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (!high && !low && i < argument.size())
            continue;
        bytes += ToUtf8(argument.substr(start, i - start));
        if (i < argument.size()) {
            const char16_t c = argument[i];
            bytes += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                      static_cast<char>(0x80 | (c & 0x3F))};
        }
        start = i + 1;
    }
    return bytes;
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**)
{
    // The console shows what the program writes as UTF-8, whatever its code page.
    SetConsoleOutputCP(CP_UTF8);
    // The narrow argv is in the ANSI code page, which loses what it cannot
    // hold: the command line is read as the system keeps it, in UTF-16.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(ArgumentBytes(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return arguments;
}

bool StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::unique_ptr<HidLibrary> OpenUsbLink(const std::string& devnode)
{
    WindowsHidOptions options;
    options.diagnostics = nullptr;  // the commands say it themselves
    options.onlyDevnode = devnode;
    options.ownThread = true;  // no message loop here
    return std::make_unique<WindowsHidLibrary>(PostToQueue(), options);
}

std::string UsbAccessFix()
{
    return "  Fix: close the program that holds the unit open (another Velbrix Qorun, for one), then try again.\n";
}

std::unique_ptr<DeviceWatch> UsbWatch()
{
    return std::make_unique<NotificationThread>(HidIdentity{0x1781, 0x07D0});
}
