// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/udev_notices.h"

#include <gtest/gtest.h>

TEST(UdevNotices, ARefusedNodeIsNamedWithTheRuleThatFixesItAndAMissingMonitorNamesUdev)
{
    const LinkNotices notices = UdevNotices();
    ASSERT_NE(notices.denied, nullptr);
    const std::string denied = notices.denied("/dev/hidraw7");
    for (const char* part : {"/dev/hidraw7", "permission denied", "70-velbrix-qorun.rules",
                             "udevadm control --reload-rules", "plug it in again"})
        EXPECT_NE(denied.find(part), std::string::npos) << part;
    EXPECT_NE(notices.hotplugUnavailable.find("udev monitor unavailable"), std::string::npos);
}
