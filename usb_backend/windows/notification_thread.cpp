// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/windows/notification_thread.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <future>

#include "usb_backend/windows/notification_watch.h"

NotificationThread::NotificationThread(HidIdentity unit) : unit_(unit) {}

NotificationThread::~NotificationThread()
{
    Stop();
}

std::vector<DeviceNode> NotificationThread::Enumerate()
{
    return NotificationWatch(unit_).Enumerate();
}

bool NotificationThread::Start(DeviceWatchListener& listener)
{
    Stop();
    std::promise<bool> started;
    std::future<bool> watching = started.get_future();
    thread_ = std::thread([this, &listener, &started] { Run(listener, started); });
    return watching.get();
}

void NotificationThread::Run(DeviceWatchListener& listener, std::promise<bool>& started)
{
    // The thread's message queue exists before anyone may post it WM_QUIT.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    threadId_ = GetCurrentThreadId();
    NotificationWatch watch(unit_);
    const bool watching = watch.Start(listener);
    window_ = watch.NotificationWindow();
    started.set_value(watching);
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    watch.Stop();
}

void NotificationThread::Stop()
{
    if (!thread_.joinable())
        return;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    window_ = nullptr;
}
