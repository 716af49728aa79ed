// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/qt/qt_window_hook.h"

#include "device_link/qt/device_event_qt.h"

QtWindowHook::~QtWindowHook()
{
    // A window that outlives the hook must not keep a filter pointing at freed memory.
    Remove();
}

void QtWindowHook::Install(WindowHandle window, Route route)
{
    Remove();
    route_ = std::move(route);
    window_ = WindowObject(window);
    if (window_)
        window_->installEventFilter(this);
}

void QtWindowHook::Remove()
{
    if (window_)
        window_->removeEventFilter(this);
    window_ = nullptr;
    route_ = nullptr;
}

bool QtWindowHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == DeviceEventMessage && route_) {
        const auto* device = static_cast<DeviceEvent*>(event);
        route_(device->wParam(), device->lParam());
    }
    return false;  // every event goes on to the window itself
}
