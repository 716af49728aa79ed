// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a window handle is on the page: the window's device events and jobs go
// through the page's queue, and one gone by the time they run gets nothing.

#include <functional>
#include <memory>

#include "device_link/web/page_queue.h"
#include "device_link/window_hook.h"

class PageWindow {
public:
    explicit PageWindow(PageQueue& queue) : queue_(queue) {}
    ~PageWindow() { *alive_ = false; }
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

    WindowHandle Handle() { return this; }
    static PageWindow* Of(WindowHandle window) { return static_cast<PageWindow*>(window); }

    // Runs `job` after what is queued, if this window is still there.
    void Post(std::function<void()> job);
    // A device event, to the hook's route; dropped by DropDeviceEvents.
    void PostDeviceEvent(int code, DeviceHandle handle);
    void DropDeviceEvents() { ++eventEra_; }
    void Hook(WindowHook::Route route) { route_ = std::move(route); }

private:
    PageQueue& queue_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    WindowHook::Route route_;
    unsigned eventEra_ = 0;
};

// The hook: the window's device events go to the route, which is all a page
// window does with them.
class PageWindowHook : public WindowHook {
public:
    ~PageWindowHook() override { Remove(); }
    void Install(WindowHandle window, Route route) override;
    void Remove() override;

private:
    PageWindow* window_ = nullptr;
};
