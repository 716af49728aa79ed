// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Connects the main window to the HID library and routes the library's device
// events to the window's DeviceNotifications, before the window's own
// handling sees them.

#include <QObject>
#include <QPointer>

#include "protocol/hid_library.h"

class DeviceNotifications;

class HIDDLLInterface : public QObject {
public:
    explicit HIDDLLInterface(HidLibrary& library);
    ~HIDDLLInterface() override;

    // Stores the window, connects the library to it, then hooks the window's
    // events. Returns Connect's result.
    bool AttachDeviceLink(QObject* window);
    // Disconnects the library first, then unhooks the window. Returns
    // Disconnect's result.
    bool DetachDeviceLink();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dispatches a device event to the attached window's notifications; the
    // event then always continues to the window's own handling.
    void DeviceEventProc(QObject* hWnd, QEvent* event);

    HidLibrary& library_;
    QPointer<QObject> window_;
};
