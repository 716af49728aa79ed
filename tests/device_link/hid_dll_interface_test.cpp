#include "device_link/hid_dll_interface.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "device_link/device_notifications.h"
#include "tests/support/device_event_recorder.h"
#include "tests/support/recording_library.h"

namespace {

// A window whose notifications and own event handling write to one log, so
// the order between them shows.
class TestWindow : public DeviceEventRecorder, public DeviceNotifications {
public:
    std::vector<std::string> log;

    void OnPlugged(DeviceHandle h) override { log.push_back("plugged " + std::to_string(h)); }
    void OnUnplugged(DeviceHandle h) override { log.push_back("unplugged " + std::to_string(h)); }
    void OnChanged() override { log.push_back("changed"); }
    void OnRead(DeviceHandle h) override { log.push_back("read " + std::to_string(h)); }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == DeviceEventMessage)
            log.push_back("window " + std::to_string(static_cast<DeviceEvent*>(e)->wParam()));
        else if (e->type() == QEvent::User)
            log.push_back("window user");
        return DeviceEventRecorder::event(e);
    }
};

// Lets a test act from inside Connect/Disconnect to see what is hooked then.
class HookedLibrary : public RecordingLibrary {
public:
    std::function<void()> duringConnect, duringDisconnect;
    WindowHandle connectedTo = nullptr;
    bool connectResult = true, disconnectResult = true;

    bool Connect(WindowHandle window) override
    {
        connectedTo = window;
        if (duringConnect)
            duringConnect();
        return connectResult;
    }
    bool Disconnect() override
    {
        if (duringDisconnect)
            duringDisconnect();
        return disconnectResult;
    }
};

void Send(QObject* window, int code, DeviceHandle handle = 0)
{
    DeviceEvent e(code, handle);
    QCoreApplication::sendEvent(window, &e);
}

using Log = std::vector<std::string>;

class DeviceEventHook : public ::testing::Test {
protected:
    HookedLibrary library;
    TestWindow window;
    HIDDLLInterface link{library};
};

TEST_F(DeviceEventHook, DispatchesEachCodeBeforeTheWindowsOwnHandlingAndOnlyTheFourCodes)
{
    link.AttachDeviceLink(&window);
    const std::pair<int, Log> cases[] = {
        {EventPlugged, {"plugged 11", "window 1"}},
        {EventUnplugged, {"unplugged 11", "window 2"}},
        {EventChanged, {"changed", "window 3"}},
        {EventRead, {"read 11", "window 4"}},
        {5, {"window 5"}},
        {0, {"window 0"}},
    };
    for (const auto& [code, expected] : cases) {
        window.log.clear();
        Send(&window, code, 11);
        EXPECT_EQ(window.log, expected) << "code " << code;
    }
    window.log.clear();
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&window, &user);
    EXPECT_EQ(window.log, Log{"window user"});
}

TEST_F(DeviceEventHook, PostedEventsAreDispatchedByTheEventLoopInOrder)
{
    link.AttachDeviceLink(&window);
    PostDeviceEvent(library.connectedTo, EventChanged);
    PostDeviceEvent(library.connectedTo, EventRead, 3);
    EXPECT_TRUE(window.log.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(window.log, (Log{"changed", "window 3", "read 3", "window 4"}));
}

TEST_F(DeviceEventHook, AttachConnectsTheWindowBeforeHookingItAndReturnsConnectsResult)
{
    library.connectResult = false;
    library.duringConnect = [&] { Send(&window, EventChanged); };
    EXPECT_FALSE(link.AttachDeviceLink(&window));
    EXPECT_EQ(library.connectedTo, WindowHandleOf(&window));
    EXPECT_EQ(window.log, Log{"window 3"});
}

TEST_F(DeviceEventHook, DetachDisconnectsBeforeUnhookingAndReturnsDisconnectsResult)
{
    link.AttachDeviceLink(&window);
    library.disconnectResult = false;
    library.duringDisconnect = [&] { Send(&window, EventChanged); };
    EXPECT_FALSE(link.DetachDeviceLink());
    EXPECT_EQ(window.log, (Log{"changed", "window 3"}));

    window.log.clear();
    Send(&window, EventRead, 4);
    EXPECT_EQ(window.log, Log{"window 4"});
}

TEST_F(DeviceEventHook, NothingIsDispatchedBeforeAttach)
{
    Send(&window, EventChanged);
    EXPECT_EQ(window.log, Log{"window 3"});
}

TEST(DeviceEventHookLifetime, EitherSideMayGoFirst)
{
    RecordingLibrary library;
    {
        HIDDLLInterface link(library);
        {
            TestWindow window;
            link.AttachDeviceLink(&window);
        }
        link.DetachDeviceLink();  // the window is gone: no dangling unhook
    }
    EXPECT_EQ(library.Count("Disconnect"), 1);

    TestWindow window;
    {
        HIDDLLInterface link(library);
        link.AttachDeviceLink(&window);
    }
    Send(&window, EventRead, 1);  // the link is gone: no dangling filter
    EXPECT_EQ(window.log, Log{"window 4"});
}

}  // namespace
