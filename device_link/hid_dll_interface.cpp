// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/hid_dll_interface.h"

#include "device_link/device_event.h"
#include "device_link/device_notifications.h"

HIDDLLInterface::HIDDLLInterface(HidLibrary& library) : library_(library) {}

HIDDLLInterface::~HIDDLLInterface()
{
    // A window that outlives us must not keep a filter pointing at freed memory.
    if (window_)
        window_->removeEventFilter(this);
}

bool HIDDLLInterface::AttachDeviceLink(QObject* window)
{
    window_ = window;
    const bool connected = library_.Connect(WindowHandleOf(window));
    if (window != nullptr)
        window->installEventFilter(this);
    return connected;
}

bool HIDDLLInterface::DetachDeviceLink()
{
    const bool disconnected = library_.Disconnect();
    if (window_)
        window_->removeEventFilter(this);
    window_ = nullptr;
    return disconnected;
}

bool HIDDLLInterface::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == DeviceEventMessage)
        DeviceEventProc(watched, event);
    return false;  // every event goes on to the window itself
}

void HIDDLLInterface::DeviceEventProc(QObject* hWnd, QEvent* event)
{
    auto* notifications = dynamic_cast<DeviceNotifications*>(hWnd);
    if (notifications == nullptr)
        return;
    const auto* device = static_cast<DeviceEvent*>(event);
    switch (device->wParam()) {
    case EventPlugged: notifications->OnPlugged(device->lParam()); break;
    case EventUnplugged: notifications->OnUnplugged(device->lParam()); break;
    case EventChanged: notifications->OnChanged(); break;
    case EventRead: notifications->OnRead(device->lParam()); break;
    default: break;  // unknown codes reach only the window
    }
}
