// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Decoding of the unit's answer to a read-back request, one input report per
// read notification.

#include "protocol/configurator_state.h"

// Reads one report and puts its character in place: service-centre digits
// rebuild ReceivedSmsc (selecting the operator whose number it equals), phone
// and text characters go to the end of their fields. A character 0 stays in
// ReceivedSmsc but is never appended to the phone or text field.
void HandleInputReport(ConfiguratorState& state, HidLibrary& library, ConfiguratorView& view,
                       DeviceHandle pHandle);
