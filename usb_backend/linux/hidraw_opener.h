// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit's hidraw node opened through hidapi; a refusal is told apart by
// the node's own permissions.

#include "usb_backend/unit_port.h"

class HidrawOpener : public UnitOpener {
public:
    OpenResult Open(const std::string& devnode) override;
};
