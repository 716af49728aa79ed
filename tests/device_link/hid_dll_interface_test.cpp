// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "device_link/hid_dll_interface.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "device_link/device_notifications.h"
#include "device_link/qt/qt_window_hook.h"
#include "tests/support/device_event_recorder.h"
#include "tests/support/recording_library.h"

namespace {

using Log = std::vector<std::string>;

// Notifications and the window's own handling log together, to show the order.
class TestWindow : public DeviceEventRecorder, public DeviceNotifications {
public:
    Log log;
    void OnPlugged(DeviceHandle h) override { log.push_back("plugged " + std::to_string(h)); }
    void OnUnplugged(DeviceHandle h) override { log.push_back("unplugged " + std::to_string(h)); }
    void OnChanged() override { log.push_back("changed"); }
    void OnRead(DeviceHandle h) override { log.push_back("read " + std::to_string(h)); }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == DeviceEventMessage || e->type() == QEvent::User)
            log.push_back("window " + (e->type() == QEvent::User ? "user" : std::to_string(static_cast<DeviceEvent*>(e)->wParam())));
        return DeviceEventRecorder::event(e);
    }
};

class HookedLibrary : public RecordingLibrary {
public:
    WindowHandle connectedTo = nullptr;
    bool Connect(WindowHandle window) override { connectedTo = window; return true; }
};

void Send(QObject* window, int code, DeviceHandle handle = 0)
{
    DeviceEvent e(code, handle);
    QCoreApplication::sendEvent(window, &e);
}

struct DeviceEventHook : ::testing::Test {
    HookedLibrary library;
    TestWindow window;
    QtWindowHook hook;
    HIDDLLInterface link{library, hook};
};

TEST_F(DeviceEventHook, DispatchesTheFourCodesBeforeTheWindowsOwnHandlingAndNothingElse)
{
    Send(&window, EventChanged);  // not attached yet
    EXPECT_EQ(window.log, Log{"window 3"});
    link.AttachDeviceLink(WindowHandleOf(&window), window);
    const std::pair<int, Log> cases[] = {
        {EventPlugged, {"plugged 11", "window 1"}}, {EventUnplugged, {"unplugged 11", "window 2"}},
        {EventChanged, {"changed", "window 3"}},    {EventRead, {"read 11", "window 4"}},
        {5, {"window 5"}},                          {0, {"window 0"}},
    };
    for (const auto& [code, expected] : cases) {
        window.log.clear();
        Send(&window, code, 11);
        EXPECT_EQ(window.log, expected) << "code " << code;
    }
    window.log.clear();
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&window, &user);
    PostDeviceEvent(library.connectedTo, EventRead, 3);  // posted: by the loop, in order
    EXPECT_EQ(window.log, Log{"window user"});
    QCoreApplication::processEvents();
    EXPECT_EQ(window.log, (Log{"window user", "read 3", "window 4"}));
}

TEST(DeviceEventHookLifetime, EitherSideMayGoFirst)
{
    RecordingLibrary library;
    {
        QtWindowHook hook;
        HIDDLLInterface link(library, hook);
        {
            TestWindow window;
            link.AttachDeviceLink(WindowHandleOf(&window), window);
        }
        link.DetachDeviceLink();  // the window is gone: no dangling unhook
    }
    EXPECT_EQ(library.Count("Disconnect"), 1);

    TestWindow window;
    {
        QtWindowHook hook;
        HIDDLLInterface link(library, hook);
        link.AttachDeviceLink(WindowHandleOf(&window), window);
    }
    Send(&window, EventRead, 1);  // the link is gone: no dangling filter
    EXPECT_EQ(window.log, Log{"window 4"});
}

}  // namespace
