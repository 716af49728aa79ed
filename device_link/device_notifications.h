// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the device link calls on the window it is attached to.

#include "protocol/hid_library.h"

class DeviceNotifications {
public:
    virtual ~DeviceNotifications() = default;
    virtual void OnPlugged(DeviceHandle pHandle) = 0;
    virtual void OnUnplugged(DeviceHandle pHandle) = 0;
    virtual void OnChanged() = 0;
    virtual void OnRead(DeviceHandle pHandle) = 0;
};
