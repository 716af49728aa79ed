// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/configurator_notifications.h"

#include "protocol/readback.h"
#include "protocol/report_layout.h"

void ConfiguratorNotifications::OnPlugged(DeviceHandle) {}

void ConfiguratorNotifications::OnUnplugged(DeviceHandle) {}

void ConfiguratorNotifications::OnChanged()
{
    // Every change, so a replugged unit gets its notifications back.
    library_.SetReadNotify(library_.GetHandle(DeviceVendorId, DeviceProductId), true);
}

void ConfiguratorNotifications::OnRead(DeviceHandle pHandle)
{
    if (decoding_) {
        HandleInputReport(state_, library_, view_, pHandle);
        return;
    }
    Report unwanted{};
    library_.Read(pHandle, unwanted);  // drained so the queue does not keep it
}
