#include "usb_backend/hid_identity.h"

#include <gtest/gtest.h>

#include "protocol/report_layout.h"

TEST(ParseHidId, ReadsVendorAndProductWhateverTheBus)
{
    // USB, and the virtual bus a uhid device may report.
    EXPECT_EQ(ParseHidId("0003:00001781:000007D0"), (HidIdentity{0x1781, 0x07D0}));
    EXPECT_EQ(ParseHidId("0006:00001781:000007D0"), (HidIdentity{0x1781, 0x07D0}));
    EXPECT_EQ(ParseHidId("0000:00001781:000007d0"), (HidIdentity{0x1781, 0x07D0}));
    EXPECT_EQ(ParseHidId("0005:0000046D:0000B33D"), (HidIdentity{0x046D, 0xB33D}));
}

TEST(ParseHidId, RejectsMalformedText)
{
    for (const char* text : {"", "0003", "0003:00001781", "0003:00001781:000007D0:1", "0003::000007D0",
                             "0003:00001781:", "0003:0x1781:000007D0", "0003:-0001781:000007D0",
                             "0003:00001781:000007DG", "0003:00001781:000007D0 ", "zz:00001781:000007D0",
                             "0003:000117810:000007D0"}) {
        EXPECT_FALSE(ParseHidId(text).has_value()) << text;
    }
}

TEST(ParseHidId, RejectsIdsWiderThanSixteenBits)
{
    EXPECT_FALSE(ParseHidId("0003:00011781:000007D0").has_value());
    EXPECT_FALSE(ParseHidId("0003:00001781:000107D0").has_value());
}

TEST(SameIdentity, ComparesTheSeamsWideIds)
{
    const HidIdentity unit{0x1781, 0x07D0};
    EXPECT_TRUE(SameIdentity(unit, DeviceVendorId, DeviceProductId));
    EXPECT_FALSE(SameIdentity(unit, DeviceVendorId, DeviceProductId + 1));
    EXPECT_FALSE(SameIdentity(unit, DeviceVendorId + 0x10000, DeviceProductId));
    EXPECT_FALSE(SameIdentity(unit, -1, DeviceProductId));
}
