// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/udev_notices.h"

std::string PermissionFix()
{
    return "  Fix: install 70-velbrix-qorun.rules into /etc/udev/rules.d, run\n"
           "  'sudo udevadm control --reload-rules', then unplug the unit and plug it in again.\n";
}

std::string PermissionDeniedNotice(const std::string& devnode)
{
    return "velbrix-qorun: the alarm unit is plugged in at " + devnode +
           " but this user may not open it (permission denied).\n" + PermissionFix();
}

LinkNotices UdevNotices()
{
    return {PermissionDeniedNotice,
            "velbrix-qorun: cannot watch for devices being plugged in (udev monitor unavailable);"
            " the alarm unit is only found when the tool writes to it.\n"};
}
