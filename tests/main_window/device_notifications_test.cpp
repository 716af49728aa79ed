// The window's notification bodies, on a plain window behind the real device
// link: a change (re-)enables read notifications, a read decodes one report,
// and reports are taken but dropped while decoding is off.

#include "main_window/configurator_notifications.h"

#include "device_link/hid_dll_interface.h"
#include "tests/main_window/form_driver.h"

namespace {

class TextView : public ConfiguratorView {
public:
    std::u16string phone, message;
    void SelectOperator(int) override {}
    std::u16string PhoneText() const override { return phone; }
    void SetPhoneText(const std::u16string& t) override { phone = t; }
    std::u16string MessageText() const override { return message; }
    void SetMessageText(const std::u16string& t) override { message = t; }
};

class ConfiguratorWindow : public QObject, public ConfiguratorNotifications {
public:
    using ConfiguratorNotifications::ConfiguratorNotifications;
};

class Notifications : public ::testing::Test {
protected:
    void SetUp() override { link.AttachDeviceLink(&window); }

    RecordingLibrary library;
    ConfiguratorState state;
    TextView view;
    ConfiguratorWindow window{library, state, view};
    HIDDLLInterface link{library};
};

TEST_F(Notifications, EveryChangeAsksForTheHandleAndEnablesReadNotifyForItEvenWhenAbsent)
{
    Deliver(window, EventPlugged, 7);
    Deliver(window, EventRead, 7);
    EXPECT_EQ(library.getHandleCalls, 0);  // nothing before the first change

    Deliver(window, EventChanged);
    library.presentHandle = 0;  // unplugged: the absent handle is passed as it comes
    Deliver(window, EventUnplugged, 7);
    Deliver(window, EventChanged);
    library.presentHandle = 9;  // back, with a new handle
    Deliver(window, EventChanged);

    EXPECT_EQ(library.getHandleCalls, 3);
    EXPECT_EQ(library.readNotifyCalls,
              (std::vector<std::pair<DeviceHandle, bool>>{{7, true}, {0, true}, {9, true}}));
}

TEST_F(Notifications, PlugAndUnplugChangeNothing)
{
    library.pendingInput = {InputReport(TagPhone, '6')};
    const ConfiguratorState before = state;
    Deliver(window, EventPlugged, 7);
    Deliver(window, EventUnplugged, 7);
    EXPECT_EQ(state.ReportIn, before.ReportIn);
    EXPECT_EQ(library.pendingInput.size(), 1u);
    EXPECT_TRUE(library.readNotifyCalls.empty());
    EXPECT_TRUE(library.written.empty());
}

TEST_F(Notifications, EachReadTakesOneReportWithTheEventsHandleAndDecodesItOnlyWhileDecoding)
{
    library.pendingInput = {InputReport(TagPhone, '6'), InputReport(TagPhone, '0'),
                            InputReport(TagPhone, '1')};
    Deliver(window, EventRead, 7);
    EXPECT_EQ(view.phone, u"6");
    Deliver(window, EventRead, 8);  // not the unit's handle: reads nothing
    EXPECT_EQ(library.pendingInput.size(), 2u);

    window.SetDecoding(false);
    Deliver(window, EventRead, 7);  // taken, so it cannot surface later, and dropped
    EXPECT_EQ(library.pendingInput.size(), 1u);
    EXPECT_EQ(view.phone, u"6");

    window.SetDecoding(true);
    Deliver(window, EventRead, 7);
    EXPECT_EQ(view.phone, u"61");
}

}  // namespace
