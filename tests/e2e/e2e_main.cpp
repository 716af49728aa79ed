// The end-to-end test program, run inside the guest kernel: the real tool
// (USB backend and window, offscreen) against the virtual unit on /dev/uhid.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

#include "tool_session.h"

int main(int argc, char** argv) {
    InstallQuietOffscreenNotes();
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    const int status = RUN_ALL_TESTS();
    std::printf("%d passed, %d failed\n", tests.successful_test_count(), tests.failed_test_count());
    return status;
}
