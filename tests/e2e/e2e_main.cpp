// The end-to-end test program, run inside the guest kernel: the real tool
// (USB backend and window, offscreen) against the virtual unit on /dev/uhid.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

#include "hang_watchdog.h"

namespace {

// The offscreen platform says on every popup that it cannot raise windows
// or grab the keyboard; that says nothing about the tool.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    const char* kind = type == QtDebugMsg ? "debug" : type == QtInfoMsg ? "info" : "warning";
    std::fprintf(stderr, "qt %s: %s\n", kind, qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietOffscreenNotes);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    tests.listeners().Append(new HangWatchdog(std::chrono::minutes(3)));
    const int status = RUN_ALL_TESTS();
    std::printf("%d passed, %d failed\n", tests.successful_test_count(), tests.failed_test_count());
    return status;
}
