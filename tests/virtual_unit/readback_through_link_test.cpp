// Upload and read-back through the protocol, the in-process library, the
// event hook and the decoder, as the window runs them.

#include <string>
#include <vector>

#include "tests/virtual_unit/link_fixture.h"

TEST_F(VirtualUnitLink, ReadBackFillsTheViewAndSelectsTheUploadedOperator)
{
    AttachAndSettle();
    const std::u16string text = u"Alarma en el almacén, señal\r\nZona 2";
    window.Upload(2, 656000311, u"656000311", text);

    window.PickZone(2);
    DeliverPostedEvents(window);

    EXPECT_EQ(window.phone, u"656000311");
    EXPECT_EQ(window.text, text);
    EXPECT_EQ(window.state.ReceivedSmsc, u"656000311");
    ASSERT_FALSE(window.selectedOperators.empty());
    EXPECT_EQ(window.selectedOperators, std::vector<int>(window.selectedOperators.size(), 1))
        << "AMENA is entry 1";
}

TEST_F(VirtualUnitLink, EachZoneComesBackWithTheServiceCentreOfTheLatestUpload)
{
    AttachAndSettle();
    const std::u16string longest(49, u'z');
    window.Upload(1, 609090909, u"611111111", u"Uno");
    window.Upload(4, 622996111, u"644444444", longest);

    window.PickZone(1);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"611111111");
    EXPECT_EQ(window.text, u"Uno");
    ASSERT_FALSE(window.selectedOperators.empty());
    EXPECT_EQ(window.selectedOperators.back(), 3) << "YOIGO, uploaded last";

    window.PickZone(4);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"644444444");
    EXPECT_EQ(window.text, longest);
}

TEST_F(VirtualUnitLink, AnswersBeforeReadNotificationIsEnabledNeverReachTheView)
{
    unit.StoreServiceCentre("656000311");
    unit.StoreZone(1, "600111222", "Hola");

    window.PickZone(1);  // the start-up request goes out before the link exists
    link.AttachDeviceLink(&window);
    window.PickZone(1);  // connected, but its EventChanged is still queued
    DeliverPostedEvents(window);

    EXPECT_EQ(window.EventCodes(), std::vector<int>{EventChanged});
    EXPECT_EQ(window.phone, u"");
    EXPECT_EQ(window.text, u"");
    EXPECT_TRUE(window.selectedOperators.empty());
    Report untouched{};
    untouched.fill(0xEE);
    Report report = untouched;
    EXPECT_FALSE(library.Read(library.GetHandle(DeviceVendorId, DeviceProductId), report));
    EXPECT_EQ(report, untouched);

    window.PickZone(1);
    DeliverPostedEvents(window);
    EXPECT_EQ(window.phone, u"600111222");
    EXPECT_EQ(window.text, u"Hola");
}
