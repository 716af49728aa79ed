// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/hidraw_opener.h"

#include <unistd.h>

#include <cerrno>

#include "usb_backend/hidapi_port.h"

OpenResult HidrawOpener::Open(const std::string& devnode)
{
    // On Linux hidapi's device path is the hidraw node itself.
    if (std::unique_ptr<UnitPort> port = OpenHidapiPort(devnode))
        return {std::move(port), false};
    // hidapi does not say why; ask the node directly.
    return {nullptr, NodeAccess(devnode) == AttachedUnit::Access::Denied};
}

AttachedUnit::Access NodeAccess(const std::string& devnode)
{
    if (access(devnode.c_str(), R_OK | W_OK) == 0)
        return AttachedUnit::Access::Openable;
    return errno == EACCES ? AttachedUnit::Access::Denied : AttachedUnit::Access::Failed;
}
