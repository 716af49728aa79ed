// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit's HID interface opened through hidapi's Windows backend. Any user
// may open it; a refusal means another program holds it for itself.

#include "usb_backend/unit_port.h"

class HeldDeviceOpener : public UnitOpener {
public:
    OpenResult Open(const std::string& path) override;
};
