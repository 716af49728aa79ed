// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/web/page_window.h"

#include "device_link/device_event.h"

void PageWindow::Post(std::function<void()> job)
{
    queue_.Post([alive = std::weak_ptr<bool>(alive_), job = std::move(job)] {
        const auto held = alive.lock();
        if (held && *held)
            job();
    });
}

void PageWindow::PostDeviceEvent(int code, DeviceHandle handle)
{
    Post([this, era = eventEra_, code, handle] {
        if (era == eventEra_ && route_)
            route_(code, handle);
    });
}

void PageWindowHook::Install(WindowHandle window, Route route)
{
    Remove();
    window_ = PageWindow::Of(window);
    if (window_)
        window_->Hook(std::move(route));
}

void PageWindowHook::Remove()
{
    if (window_)
        window_->Hook(nullptr);
    window_ = nullptr;
}

void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle)
{
    if (window != nullptr)
        PageWindow::Of(window)->PostDeviceEvent(code, handle);
}

struct EventTarget::Window {
    PageWindow* window = nullptr;
};

EventTarget::EventTarget() : window_(std::make_unique<Window>()) {}
EventTarget::~EventTarget() = default;
void EventTarget::Set(WindowHandle window) { window_->window = PageWindow::Of(window); }
EventTarget::operator bool() const { return window_->window != nullptr; }

void EventTarget::Post(int code, DeviceHandle handle) const
{
    if (window_->window)
        window_->window->PostDeviceEvent(code, handle);
}

void EventTarget::DropPending() const
{
    if (window_->window)
        window_->window->DropDeviceEvents();
}
