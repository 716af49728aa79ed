#include "device_link/hid_dll_interface.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device_link/device_event.h"
#include "device_link/device_notifications.h"
#include "tests/support/recording_library.h"

namespace {

// A small window: notifications and its own event handling write to one log,
// so the order between them shows.
class TestWindow : public QObject, public DeviceNotifications {
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
        return QObject::event(e);
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

class DeviceEventHook : public ::testing::Test {
protected:
    HookedLibrary library;
    TestWindow window;
    HIDDLLInterface link{library};
};

}  // namespace

TEST_F(DeviceEventHook, DispatchesEachCodeBeforeTheWindowsOwnHandling)
{
    link.AttachDeviceLink(&window);
    Send(&window, EventPlugged, 11);
    Send(&window, EventUnplugged, 12);
    Send(&window, EventChanged);
    Send(&window, EventRead, 13);
    EXPECT_EQ(window.log, (std::vector<std::string>{"plugged 11", "window 1", "unplugged 12",
                                                    "window 2", "changed", "window 3",
                                                    "read 13", "window 4"}));
}

TEST_F(DeviceEventHook, UnknownCodesAndOtherEventsReachOnlyTheWindow)
{
    link.AttachDeviceLink(&window);
    Send(&window, 5, 1);
    Send(&window, 0, 1);
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&window, &user);
    EXPECT_EQ(window.log, (std::vector<std::string>{"window 5", "window 0", "window user"}));
}

TEST_F(DeviceEventHook, PostedEventsAreDispatchedOnTheWindowsThreadInOrder)
{
    link.AttachDeviceLink(&window);
    PostDeviceEvent(library.connectedTo, EventChanged);
    PostDeviceEvent(library.connectedTo, EventRead, 3);
    EXPECT_TRUE(window.log.empty());  // nothing runs until the loop delivers it
    QCoreApplication::processEvents();
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"changed", "window 3", "read 3", "window 4"}));
}

TEST_F(DeviceEventHook, AttachConnectsTheWindowBeforeHookingIt)
{
    library.connectResult = false;
    library.duringConnect = [&] { Send(&window, EventChanged); };
    EXPECT_FALSE(link.AttachDeviceLink(&window));
    EXPECT_EQ(library.connectedTo, WindowHandleOf(&window));
    EXPECT_EQ(window.log, std::vector<std::string>{"window 3"});
}

TEST_F(DeviceEventHook, DetachDisconnectsBeforeRestoringTheWindowsOwnHandling)
{
    link.AttachDeviceLink(&window);
    library.disconnectResult = false;
    library.duringDisconnect = [&] { Send(&window, EventChanged); };
    EXPECT_FALSE(link.DetachDeviceLink());
    EXPECT_EQ(window.log, (std::vector<std::string>{"changed", "window 3"}));

    window.log.clear();
    Send(&window, EventRead, 4);
    EXPECT_EQ(window.log, std::vector<std::string>{"window 4"});
}

TEST_F(DeviceEventHook, ReportsConnectAndDisconnectResults)
{
    EXPECT_TRUE(link.AttachDeviceLink(&window));
    EXPECT_TRUE(link.DetachDeviceLink());
}

TEST_F(DeviceEventHook, NothingIsDispatchedBeforeAttach)
{
    Send(&window, EventChanged);
    EXPECT_EQ(window.log, std::vector<std::string>{"window 3"});
}

TEST(DeviceEventHookLifetime, SurvivesTheWindowGoingFirst)
{
    RecordingLibrary library;
    HIDDLLInterface link(library);
    {
        TestWindow window;
        link.AttachDeviceLink(&window);
    }
    link.DetachDeviceLink();
    EXPECT_EQ(library.disconnectCalls, 1);
}

TEST(DeviceEventHookLifetime, AWindowThatOutlivesTheLinkKeepsWorking)
{
    RecordingLibrary library;
    TestWindow window;
    {
        HIDDLLInterface link(library);
        link.AttachDeviceLink(&window);
    }
    Send(&window, EventRead, 1);
    EXPECT_EQ(window.log, std::vector<std::string>{"window 4"});
}
