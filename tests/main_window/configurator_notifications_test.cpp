#include "main_window/configurator_notifications.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <utility>
#include <vector>

#include "device_link/device_event.h"
#include "device_link/hid_dll_interface.h"
#include "protocol/report_layout.h"
#include "tests/support/recording_library.h"

namespace {

class NotifyLibrary : public RecordingLibrary {
public:
    std::vector<std::pair<DeviceHandle, bool>> notifyCalls;
    void SetReadNotify(DeviceHandle handle, bool enabled) override
    {
        RecordingLibrary::SetReadNotify(handle, enabled);
        notifyCalls.emplace_back(handle, enabled);
    }
};

class TextView : public ConfiguratorView {
public:
    std::u16string phone, message;
    std::vector<int> selections;
    void SelectOperator(int index) override { selections.push_back(index); }
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& t) override { phone = t; }
    std::u16string MessageText() const override { return message; }
    void SetMessageText(const std::u16string& t) override { message = t; }
};

// A window as the configurator has it: its notifications run the protocol.
class ConfiguratorWindow : public QObject, public ConfiguratorNotifications {
public:
    ConfiguratorWindow(HidLibrary& library, ConfiguratorState& state, ConfiguratorView& view)
        : ConfiguratorNotifications(library, state, view) {}
};

void Post(QObject* window, int code, DeviceHandle handle = 0)
{
    PostDeviceEvent(WindowHandleOf(window), code, handle);
    QCoreApplication::processEvents();
}

Report PhoneReport(char c)
{
    Report r{};
    r[TagByte] = TagPhone;
    r[PhoneCharByte] = static_cast<std::uint8_t>(c);
    return r;
}

class Notifications : public ::testing::Test {
protected:
    NotifyLibrary library;
    ConfiguratorState state;
    TextView view;
    ConfiguratorWindow window{library, state, view};
    HIDDLLInterface link{library};
};

}  // namespace

TEST_F(Notifications, ReadNotifyWaitsForTheFirstChangeAndFollowsEachOne)
{
    link.AttachDeviceLink(&window);
    Post(&window, EventPlugged, 7);
    Post(&window, EventRead, 7);
    EXPECT_TRUE(library.notifyCalls.empty());
    EXPECT_EQ(library.getHandleCalls, 0);

    Post(&window, EventChanged);
    library.presentHandle = 0;  // unplugged: the absent handle is passed as it comes
    Post(&window, EventUnplugged, 7);
    Post(&window, EventChanged);
    library.presentHandle = 9;  // back, with a new handle
    Post(&window, EventChanged);

    EXPECT_EQ(library.getHandleCalls, 3);
    EXPECT_EQ(library.notifyCalls,
              (std::vector<std::pair<DeviceHandle, bool>>{{7, true}, {0, true}, {9, true}}));
}

TEST_F(Notifications, PlugAndUnplugChangeNothing)
{
    link.AttachDeviceLink(&window);
    const ConfiguratorState before = state;
    Post(&window, EventPlugged, 7);
    Post(&window, EventUnplugged, 7);
    EXPECT_EQ(state.ReportIn, before.ReportIn);
    EXPECT_TRUE(view.phone.empty());
    EXPECT_TRUE(library.notifyCalls.empty());
    EXPECT_TRUE(library.written.empty());
}

TEST_F(Notifications, EachReadDecodesOneReportWithTheEventsHandle)
{
    link.AttachDeviceLink(&window);
    library.pendingInput = {PhoneReport('6'), PhoneReport('0')};
    Post(&window, EventRead, 7);
    EXPECT_EQ(view.phone, u"6");
    Post(&window, EventRead, 8);  // a handle that is not the unit's reads nothing
    EXPECT_EQ(view.phone, u"6");
    Post(&window, EventRead, 7);
    EXPECT_EQ(view.phone, u"60");
}

TEST_F(Notifications, WhileDecodingIsOffReportsAreTakenAndDropped)
{
    link.AttachDeviceLink(&window);
    window.SetDecoding(false);
    library.pendingInput = {PhoneReport('6'), PhoneReport('0')};
    const Report before = state.ReportIn;
    Post(&window, EventRead, 7);
    EXPECT_EQ(library.pendingInput.size(), 1u);
    EXPECT_TRUE(view.phone.empty());
    EXPECT_EQ(state.ReportIn, before);

    window.SetDecoding(true);
    Post(&window, EventRead, 7);
    EXPECT_EQ(view.phone, u"0");
}
