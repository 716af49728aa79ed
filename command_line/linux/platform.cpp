// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/platform.h"

#include <unistd.h>

#include "command_line/device_event_queue.h"
#include "usb_backend/linux/hidapi_library.h"
#include "usb_backend/linux/udev_notices.h"

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    return {argv, argv + argc};
}

bool StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::unique_ptr<HidLibrary> OpenUsbLink(const std::string& devnode)
{
    HidapiOptions options;
    options.diagnostics = nullptr;  // the commands say it themselves
    options.onlyDevnode = devnode;
    return std::make_unique<HidapiLibrary>(PostToQueue(), options);
}

std::string UsbAccessFix()
{
    return PermissionFix();
}

std::unique_ptr<DeviceWatch> UsbWatch()
{
    return std::make_unique<UdevHidrawWatch>();
}
