// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Records the device events that reach a window, as the window itself or
// watching another one (the events then go on to it).

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QtTest/QTest>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "device_link/qt/device_event_qt.h"

using RecordedEvent = std::pair<int, DeviceHandle>;  // (code, handle)
using RecordedEvents = std::vector<RecordedEvent>;

class DeviceEventRecorder : public QObject {
public:
    DeviceEventRecorder() = default;
    explicit DeviceEventRecorder(QObject& watched) { watched.installEventFilter(this); }

    WindowHandle Handle() { return WindowHandleOf(this); }
    const RecordedEvents& Events() const { return events_; }
    int Count(int code) const
    { return static_cast<int>(std::ranges::count(events_, code, &RecordedEvent::first)); }
    void Clear() { events_.clear(); }

    void Flush() { QCoreApplication::sendPostedEvents(this, DeviceEventMessage); }
    // Runs the event loop until `done` holds; the bound only keeps a broken
    // build from hanging, the caller asserts on the result.
    static bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000) { return QTest::qWaitFor(done, milliseconds); }

protected:
    bool event(QEvent* event) override { return Record(event) || QObject::event(event); }
    bool eventFilter(QObject*, QEvent* event) override { Record(event); return false; }  // it goes on

private:
    bool Record(QEvent* event)
    {
        const auto* device = event->type() == DeviceEventMessage ? static_cast<const DeviceEvent*>(event) : nullptr;
        if (device) events_.emplace_back(device->wParam(), device->lParam());
        return device != nullptr;
    }

    RecordedEvents events_;
};
