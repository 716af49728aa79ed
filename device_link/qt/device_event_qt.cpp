// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/qt/device_event_qt.h"

#include <QCoreApplication>
#include <QPointer>

void PostDeviceEvent(WindowHandle window, int code, DeviceHandle handle)
{
    if (window == nullptr)
        return;
    QCoreApplication::postEvent(WindowObject(window), new DeviceEvent(code, handle));
}

struct EventTarget::Window {
    QPointer<QObject> object;
};

EventTarget::EventTarget() : window_(std::make_unique<Window>()) {}
EventTarget::~EventTarget() = default;

void EventTarget::Set(WindowHandle window) { window_->object = WindowObject(window); }
EventTarget::operator bool() const { return !window_->object.isNull(); }

void EventTarget::Post(int code, DeviceHandle handle) const
{
    if (window_->object)
        PostDeviceEvent(WindowHandleOf(window_->object), code, handle);
}

void EventTarget::DropPending() const
{
    if (window_->object)
        QCoreApplication::removePostedEvents(window_->object, DeviceEventMessage);
}
