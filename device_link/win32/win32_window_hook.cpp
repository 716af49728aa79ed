// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/win32/win32_window_hook.h"

#include "device_link/device_event.h"

namespace {
// The window property through which the procedure finds its hook.
constexpr wchar_t HookProperty[] = L"VelbrixQorun.DeviceLink";
}  // namespace

Win32WindowHook::~Win32WindowHook() { Remove(); }

void Win32WindowHook::Install(WindowHandle window, Route route)
{
    Remove();
    HWND hwnd = static_cast<HWND>(window);
    if (hwnd == nullptr || !IsWindow(hwnd))
        return;
    route_ = std::move(route);
    window_ = hwnd;
    SetPropW(hwnd, HookProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DeviceEventProc)));
}

void Win32WindowHook::Remove()
{
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropW(window_, HookProperty);
    }
    window_ = nullptr;
    previous_ = nullptr;
    route_ = nullptr;
}

LRESULT CALLBACK Win32WindowHook::DeviceEventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* hook = static_cast<Win32WindowHook*>(GetPropW(window, HookProperty));
    if (hook == nullptr)  // cannot happen while installed; nothing to chain to
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = hook->previous_;
    if (message == DeviceEventMessage && hook->route_)
        hook->route_(static_cast<int>(wParam), static_cast<DeviceHandle>(lParam));
    // The route may have removed the hook; the window still gets its message.
    return CallWindowProcW(previous, window, message, wParam, lParam);
}
