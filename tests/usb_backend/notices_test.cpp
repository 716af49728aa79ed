#include "usb_backend/notices.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(Notices, PermissionNoticeNamesTheNodeAndTheFix)
{
    const std::string text = PermissionDeniedNotice("/dev/hidraw3");
    EXPECT_NE(text.find("/dev/hidraw3"), std::string::npos);
    EXPECT_NE(text.find("70-velbrix-qorun.rules"), std::string::npos);
    EXPECT_NE(text.find("udevadm control --reload-rules"), std::string::npos);
    EXPECT_NE(text.find("plug"), std::string::npos);
}

TEST(Notices, OnceNoticeSpeaksOnlyOnce)
{
    std::ostringstream out;
    OnceNotice notice(&out);
    notice.Say("first\n");
    notice.Say("second\n");
    EXPECT_EQ(out.str(), "first\n");

    OnceNotice silent(nullptr);
    silent.Say("nowhere\n");  // no stream, no crash
}
