// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/hid_dll_interface.h"

#include "device_link/device_notifications.h"

HIDDLLInterface::HIDDLLInterface(HidLibrary& library, WindowHook& hook) : library_(library), hook_(hook) {}

HIDDLLInterface::~HIDDLLInterface()
{
    if (hooked_)
        hook_.Remove();
}

bool HIDDLLInterface::AttachDeviceLink(WindowHandle window, DeviceNotifications& notifications)
{
    window_ = window;
    notifications_ = &notifications;
    const bool connected = library_.Connect(window);
    if (window != nullptr) {
        hook_.Install(window, [this](int code, DeviceHandle handle) { DeviceEventProc(code, handle); });
        hooked_ = true;
    }
    return connected;
}

bool HIDDLLInterface::DetachDeviceLink()
{
    const bool disconnected = library_.Disconnect();
    if (hooked_)
        hook_.Remove();
    hooked_ = false;
    window_ = nullptr;
    notifications_ = nullptr;
    return disconnected;
}

void HIDDLLInterface::DeviceEventProc(int code, DeviceHandle handle)
{
    if (notifications_ == nullptr)
        return;
    switch (code) {
    case EventPlugged: notifications_->OnPlugged(handle); break;
    case EventUnplugged: notifications_->OnUnplugged(handle); break;
    case EventChanged: notifications_->OnChanged(); break;
    case EventRead: notifications_->OnRead(handle); break;
    default: break;  // unknown codes reach only the window
    }
}
