#pragma once
// The bodies of the device notifications as the configurator needs them:
// a device change (re-)enables read notifications for the alarm unit, and
// each read notification decodes one report into the window.

#include "device_link/device_notifications.h"
#include "protocol/configurator_state.h"

class ConfiguratorNotifications : public DeviceNotifications {
public:
    ConfiguratorNotifications(HidLibrary& library, ConfiguratorState& state,
                              ConfiguratorView& view)
        : library_(library), state_(state), view_(view) {}

    void OnPlugged(DeviceHandle pHandle) override;
    void OnUnplugged(DeviceHandle pHandle) override;
    void OnChanged() override;
    void OnRead(DeviceHandle pHandle) override;

private:
    HidLibrary& library_;
    ConfiguratorState& state_;
    ConfiguratorView& view_;
};
