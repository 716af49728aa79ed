// The production backend on a machine without the unit (and without any
// hidraw device): nothing is found, nothing is posted, nothing leaks.

#include "usb_backend/hidapi_library.h"

#include <gtest/gtest.h>

#include <sstream>

#include "event_recorder.h"
#include "protocol/report_layout.h"

namespace {

const Report Request{0, 0, 0, 0, 0, 0, 5, 1, 0};

class HidapiLibraryTest : public ::testing::TestWithParam<UeventSource> {
protected:

    std::ostringstream diagnostics;
    EventRecorder window;
};

}  // namespace

TEST_P(HidapiLibraryTest, FindsNoUnit)
{
    HidapiLibrary library(HidapiOptions{GetParam(), &diagnostics});
    EXPECT_EQ(library.GetHandle(DeviceVendorId, DeviceProductId), 0u);
    EXPECT_FALSE(library.WriteEx(DeviceVendorId, DeviceProductId, Request));

    EXPECT_TRUE(library.Connect(window.Handle()));
    EXPECT_EQ(library.GetHandle(DeviceVendorId, DeviceProductId), 0u);
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(library.WriteEx(DeviceVendorId, DeviceProductId, Request));

    Report report;
    report.fill(0xA5);
    const Report before = report;
    library.SetReadNotify(0, true);
    EXPECT_FALSE(library.Read(0, report));
    EXPECT_FALSE(library.Read(1, report));
    EXPECT_EQ(report, before);
    EXPECT_TRUE(library.Disconnect());

    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
    EXPECT_TRUE(diagnostics.str().empty());
}

TEST_P(HidapiLibraryTest, ConnectsAndDisconnectsRepeatedlyWithoutStrayEvents)
{
    HidapiLibrary library(HidapiOptions{GetParam(), &diagnostics});
    for (int round = 0; round < 20; ++round) {
        EXPECT_TRUE(library.Connect(window.Handle()));
        QCoreApplication::processEvents();
        EXPECT_TRUE(library.Disconnect());
        QCoreApplication::processEvents();
    }
    // Connect twice in a row, then disconnect twice.
    EXPECT_TRUE(library.Connect(window.Handle()));
    EXPECT_TRUE(library.Connect(window.Handle()));
    EXPECT_TRUE(library.Disconnect());
    EXPECT_TRUE(library.Disconnect());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
}

TEST_P(HidapiLibraryTest, DisconnectWithoutConnectIsHarmless)
{
    HidapiLibrary library(HidapiOptions{GetParam(), &diagnostics});
    EXPECT_TRUE(library.Disconnect());
    EXPECT_TRUE(library.Connect(window.Handle()));
    EXPECT_TRUE(library.Disconnect());
}

TEST_P(HidapiLibraryTest, DestroyedWhileConnected)
{
    {
        HidapiLibrary library(HidapiOptions{GetParam(), &diagnostics});
        ASSERT_TRUE(library.Connect(window.Handle()));
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
}

TEST_P(HidapiLibraryTest, SeveralInstancesLiveSideBySide)
{
    EventRecorder other;
    HidapiLibrary first(HidapiOptions{GetParam(), &diagnostics});
    {
        HidapiLibrary second(HidapiOptions{GetParam(), &diagnostics});
        EXPECT_TRUE(first.Connect(window.Handle()));
        EXPECT_TRUE(second.Connect(other.Handle()));
    }
    EXPECT_FALSE(first.WriteEx(DeviceVendorId, DeviceProductId, Request));
    EXPECT_TRUE(first.Disconnect());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.events.empty());
    EXPECT_TRUE(other.events.empty());
}

INSTANTIATE_TEST_SUITE_P(EachSource, HidapiLibraryTest,
                         ::testing::Values(UeventSource::Automatic, UeventSource::Udev, UeventSource::Kernel),
                         [](const ::testing::TestParamInfo<UeventSource>& info) {
                             switch (info.param) {
                             case UeventSource::Udev:
                                 return "Udev";
                             case UeventSource::Kernel:
                                 return "Kernel";
                             case UeventSource::Automatic:
                                 break;
                             }
                             return "Automatic";
                         });
