// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The device link's hook on a Win32 window: the window's procedure is
// replaced by DeviceEventProc, which routes each device event first and
// hands every message on to the procedure it replaced.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "device_link/window_hook.h"

class Win32WindowHook : public WindowHook {
public:
    Win32WindowHook() = default;
    Win32WindowHook(const Win32WindowHook&) = delete;
    Win32WindowHook& operator=(const Win32WindowHook&) = delete;
    // A window that outlives the hook must not call into freed memory.
    ~Win32WindowHook() override;
    void Install(WindowHandle window, Route route) override;
    // Puts the replaced procedure back; whoever replaced it after Install
    // is expected to have gone first.
    void Remove() override;

private:
    static LRESULT CALLBACK DeviceEventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    Route route_;
};
