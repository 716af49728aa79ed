#pragma once
// A stand-in window that records the device events posted to it.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>

#include <functional>
#include <vector>

#include "device_link/device_event.h"
#include "usb_backend/unit_presence.h"

class EventRecorder : public QObject {
public:
    std::vector<PendingEvent> events;

    WindowHandle Handle() { return WindowHandleOf(this); }

    // Delivers what is posted now, without waiting for more.
    void Flush() { QCoreApplication::sendPostedEvents(this, DeviceEventMessage); }

    // Runs the event loop until `done` holds; the bound only keeps a broken
    // build from hanging, the caller asserts on `done` itself.
    bool WaitFor(const std::function<bool()>& done)
    {
        QDeadlineTimer bound(5000);
        while (!done() && !bound.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    bool event(QEvent* event) override
    {
        if (event->type() != DeviceEventMessage)
            return QObject::event(event);
        auto* device = static_cast<DeviceEvent*>(event);
        events.push_back({device->wParam(), device->lParam()});
        return true;
    }
};
