// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "usb_backend/linux/hid_id.h"

#include <gtest/gtest.h>


TEST(ParseHidId, ReadsVendorAndProductWhateverTheBusAndRejectsAnythingElse)
{
    const std::pair<const char*, std::optional<HidIdentity>> cases[] = {
        // USB, and the other bus types a virtual (uhid) device may report.
        {"0003:00001781:000007D0", HidIdentity{0x1781, 0x07D0}},
        {"0000:00001781:000007d0", HidIdentity{0x1781, 0x07D0}},
        {"0003:00001781", std::nullopt},
        {"0003:00001781:000007D0:1", std::nullopt},
        {"0003::000007D0", std::nullopt},
        {"0003:0x1781:000007D0", std::nullopt},
        {"0003:00001781:000007D0 ", std::nullopt},
        {"0003:00011781:000007D0", std::nullopt},  // wider than 16 bits
    };
    for (const auto& [text, identity] : cases)
        EXPECT_EQ(ParseHidId(text), identity) << '"' << text << '"';
}

TEST(HidSerialNumber, IsTheUniquePropertyOfTheUnitOnlyAndAlwaysUtf8)
{
    const HidIdentity unit{0x1781, 0x07D0};
    const struct {
        const char* hidId;
        std::string uniq;
        std::string serial;
    } cases[] = {
        {"0003:00001781:000007D0", "0042", "0042"},
        {"0003:00001781:000007D0", "", ""},
        {"0003:00001781:000007D0", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"0003:00001781:000007D0", "A\xff" "B", "A\xef\xbf\xbd" "B"},  // a byte of no UTF-8
        {"0003:00001781:000007D1", "0042", ""},  // another device on the node
        {"0003:00001782:000007D0", "0042", ""},
        {"", "0042", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HidSerialNumber(c.hidId, c.uniq, unit), c.serial) << c.hidId << " " << c.uniq;
}
