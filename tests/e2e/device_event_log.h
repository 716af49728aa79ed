#pragma once
// Records the device events that reach a window, in order, so a test can
// wait for the backend to report a plug-in or removal before it acts. It
// only watches: every event goes on to the window.

#include <QEvent>
#include <QObject>

#include <utility>
#include <vector>

#include "device_link/device_event.h"

class DeviceEventLog : public QObject {
public:
    explicit DeviceEventLog(QObject& window) { window.installEventFilter(this); }

    // (code, handle) of every device event so far.
    const std::vector<std::pair<int, DeviceHandle>>& Events() const { return events_; }
    int Count(int code) const {
        int n = 0;
        for (const auto& event : events_) n += event.first == code;
        return n;
    }
    void Clear() { events_.clear(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == DeviceEventMessage) {
            const auto* device = static_cast<const DeviceEvent*>(event);
            events_.emplace_back(device->wParam(), device->lParam());
        }
        return false;
    }

private:
    std::vector<std::pair<int, DeviceHandle>> events_;
};
