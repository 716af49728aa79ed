// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Device events as Win32 delivers them: a message posted to the window,
// the code in wParam and the device handle in lParam.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "device_link/device_event.h"

void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle)
{
    // Fails harmlessly for a window that is gone.
    if (window != nullptr)
        PostMessageW(static_cast<HWND>(window), DeviceEventMessage, static_cast<WPARAM>(code),
                     static_cast<LPARAM>(handle));
}

// A window handle never dangles: Win32 refuses to post to a gone window.
struct EventTarget::Window {
    HWND hwnd = nullptr;
};

EventTarget::EventTarget() : window_(std::make_unique<Window>()) {}
EventTarget::~EventTarget() = default;

void EventTarget::Set(WindowHandle window) { window_->hwnd = static_cast<HWND>(window); }
EventTarget::operator bool() const { return window_->hwnd != nullptr && IsWindow(window_->hwnd); }

void EventTarget::Post(int code, DeviceHandle handle) const
{
    PostDeviceEvent(window_->hwnd, code, handle);
}

void EventTarget::DropPending() const
{
    if (window_->hwnd == nullptr)
        return;
    MSG message;
    while (PeekMessageW(&message, window_->hwnd, DeviceEventMessage, DeviceEventMessage, PM_REMOVE)) {
    }
}
