// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

    // While off, each read notification still takes its report but drops it.
    // The answer to a request sent before the link existed keeps arriving for
    // a while after notifications are enabled; decoding it would mix it into
    // the placeholders or into the next zone's fields.
    void SetDecoding(bool on) { decoding_ = on; }
    bool Decoding() const { return decoding_; }

private:
    HidLibrary& library_;
    ConfiguratorState& state_;
    ConfiguratorView& view_;
    bool decoding_ = true;
};
