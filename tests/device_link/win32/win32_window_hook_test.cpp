// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Win32 hook on a plain window: device events reach the route first and
// every message still reaches the window; after Remove nothing is routed.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "device_link/device_event.h"
#include "device_link/win32/win32_window_hook.h"

namespace {

std::vector<std::pair<UINT, WPARAM>> windowSaw;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DeviceEventMessage || message == WM_USER)
        windowSaw.emplace_back(message, wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

struct PlainWindow {
    PlainWindow()
    {
        WNDCLASSW cls{};
        cls.lpfnWndProc = PlainProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"QorunHookTest";
        RegisterClassW(&cls);
        hwnd = CreateWindowW(L"QorunHookTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             cls.hInstance, nullptr);
        windowSaw.clear();
    }
    ~PlainWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

struct Routed {
    int code;
    DeviceHandle handle;
    bool operator==(const Routed&) const = default;
};

TEST(Win32WindowHook, RoutesDeviceEventsAndPassesEveryMessageOn)
{
    PlainWindow window;
    ASSERT_NE(window.hwnd, nullptr);
    std::vector<Routed> routed;
    Win32WindowHook hook;
    hook.Install(window.hwnd, [&](int code, DeviceHandle handle) { routed.push_back({code, handle}); });

    for (int code = 1; code <= 5; ++code)
        SendMessageW(window.hwnd, DeviceEventMessage, code, 40 + code);
    SendMessageW(window.hwnd, WM_USER, 9, 0);
    // Codes 1-4 and the unknown 5 alike: the dispatch decides, not the hook.
    EXPECT_EQ(routed, (std::vector<Routed>{{1, 41}, {2, 42}, {3, 43}, {4, 44}, {5, 45}}));
    EXPECT_EQ(windowSaw, (std::vector<std::pair<UINT, WPARAM>>{
                             {DeviceEventMessage, 1}, {DeviceEventMessage, 2}, {DeviceEventMessage, 3},
                             {DeviceEventMessage, 4}, {DeviceEventMessage, 5}, {WM_USER, 9}}));

    hook.Remove();
    EXPECT_EQ(GetWindowLongPtrW(window.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainProc));
    SendMessageW(window.hwnd, DeviceEventMessage, 1, 7);
    EXPECT_EQ(routed.size(), 5u);
    EXPECT_EQ(windowSaw.back(), (std::pair<UINT, WPARAM>{DeviceEventMessage, 1}));
}

TEST(Win32EventTarget, PostsInOrderAndDropsWhatIsPending)
{
    PlainWindow window;
    EventTarget target;
    target.Set(window.hwnd);
    target.Post(EventPlugged, 3);
    target.Post(EventChanged);
    MSG message;
    std::vector<Routed> got;
    while (PeekMessageW(&message, window.hwnd, DeviceEventMessage, DeviceEventMessage, PM_REMOVE))
        got.push_back({static_cast<int>(message.wParam), static_cast<DeviceHandle>(message.lParam)});
    EXPECT_EQ(got, (std::vector<Routed>{{EventPlugged, 3}, {EventChanged, 0}}));

    target.Post(EventRead, 3);
    target.DropPending();
    EXPECT_FALSE(PeekMessageW(&message, window.hwnd, DeviceEventMessage, DeviceEventMessage, PM_REMOVE));
}

}  // namespace
