#pragma once
// A stand-in for the main window: it takes the device link's notifications
// as the real window does, shows the read-back in plain strings, and records
// every device event that reaches its own handling.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <string>
#include <utility>
#include <vector>

#include "device_link/configurator_notifications.h"
#include "device_link/device_event.h"
#include "protocol/report_layout.h"
#include "protocol/zone_upload.h"

// Constructed before the notifications, which keep a reference to it.
struct WindowFields {
    ConfiguratorState state;
};

class TestWindow : public QObject,
                   public WindowFields,
                   public ConfiguratorView,
                   public ConfiguratorNotifications {
public:
    explicit TestWindow(HidLibrary& library)
        : ConfiguratorNotifications(library, state, *this), library_(library)
    {
    }

    std::vector<int> selectedOperators;
    std::u16string phone;
    std::u16string text;
    std::vector<std::pair<int, DeviceHandle>> deviceEvents;

    void SelectOperator(int index) override { selectedOperators.push_back(index); }
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& value) override { phone = value; }
    std::u16string MessageText() const override { return text; }
    void SetMessageText(const std::u16string& value) override { text = value; }

    // What the zone selection does: empty the fields, then ask for the zone.
    void PickZone(int zone)
    {
        phone.clear();
        text.clear();
        selectedOperators.clear();
        state.ReceivedSmsc.clear();
        state.SelectedZone = DecimalText(zone);
        RequestZoneReadBack(state, library_);
    }

    void Upload(int zone, std::int32_t smsc, const std::u16string& phoneValue,
                const std::u16string& textValue)
    {
        SendZoneConfiguration(state, library_, zone, smsc, u"1234", phoneValue, textValue);
    }

    std::vector<int> EventCodes() const
    {
        std::vector<int> codes;
        for (const auto& [code, handle] : deviceEvents)
            codes.push_back(code);
        return codes;
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != DeviceEventMessage)
            return QObject::event(e);
        const auto* device = static_cast<DeviceEvent*>(e);
        deviceEvents.emplace_back(device->wParam(), device->lParam());
        return true;
    }

private:
    HidLibrary& library_;
};

// Delivers every device event queued so far, as the window's event loop would.
inline void DeliverPostedEvents(const TestWindow& window)
{
    std::size_t seen;
    do {
        seen = window.deviceEvents.size();
        QCoreApplication::sendPostedEvents();
    } while (window.deviceEvents.size() != seen);
}
