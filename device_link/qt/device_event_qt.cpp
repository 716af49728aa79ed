// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/qt/device_event_qt.h"

#include <QCoreApplication>

void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle)
{
    if (window == nullptr)
        return;
    QCoreApplication::postEvent(WindowObject(window), new DeviceEvent(code, handle));
}
