// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The link's notices on Linux, where access comes from a udev rule.

#include <string>

#include "usb_backend/notices.h"

// How to let the logged-in user open the unit, as indented lines.
std::string PermissionFix();
// The unit is present but its node may not be opened.
std::string PermissionDeniedNotice(const std::string& devnode);

LinkNotices UdevNotices();
