// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The unit's hidraw node opened through hidapi; a refusal is told apart by
// the node's own permissions.

#include <string>

#include "usb_backend/attached_units.h"
#include "usb_backend/unit_port.h"

class HidrawOpener : public UnitOpener {
public:
    OpenResult Open(const std::string& devnode) override;
};

// Whether this user may read and write the node, from its permissions alone.
// An open would do as much, but the first open of a node makes the kernel
// settle the unit (usbhid waits 50 ms), and closing it again means the real
// open waits once more.
AttachedUnit::Access NodeAccess(const std::string& devnode);
