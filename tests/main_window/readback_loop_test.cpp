// The whole loop with the virtual unit behind the real device link: a zone
// pick asks the unit, its answers come back as device events and fill the
// window; what was sent comes back on the next pick. Also the demo's data.

#include "virtual_unit/sample_data.h"
#include "tests/main_window/form_driver.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"

namespace {

void DeliverAll()
{
    // Events posted while delivering go out on the next round.
    for (int round = 0; round < 3; ++round)
        QCoreApplication::sendPostedEvents();
}

class WithVirtualUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit.StoreServiceCentre("607003110");
        unit.StoreZone(2, "611222333", "Ventana\r\nabierta");
        form.Load();
        ShowAndActivate(form);
        DeliverAll();  // Connect's change event enables read notifications
    }

    AlarmUnitModel unit;
    InProcessLibrary library{unit};
    MainForm form{library};
    QComboBox* ALARMA = Control<QComboBox>(form, "ALARMA");
    QComboBox* Combo1 = Control<QComboBox>(form, "Combo1");
};

TEST_F(WithVirtualUnit, TheStartUpRequestWentOutBeforeAnyoneListened)
{
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");
    EXPECT_EQ(form.MessageText(), u"Texto a enviar");
    ASSERT_FALSE(unit.Log().empty());
    EXPECT_EQ(unit.Log().front()[5], 1);  // command 1: zone 1
}

TEST_F(WithVirtualUnit, PickingAZoneFillsItFromTheUnit)
{
    PickEntry(ALARMA, 1);
    DeliverAll();
    EXPECT_EQ(form.PhoneText(), u"611222333");
    EXPECT_EQ(form.MessageText(), u"Ventana\r\nabierta");
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("VODAFONE"));
    EXPECT_EQ(form.State().SelectedSmsc, u"607003110");
}

TEST_F(WithVirtualUnit, WhatWasSentComesBackOnTheNextPick)
{
    PickEntry(ALARMA, 2);
    DeliverAll();
    PickEntry(Combo1, 3);
    Control<QLineEdit>(form, "pin")->clear();
    form.SetPhoneText(u"699000111");
    auto* text = Control<QPlainTextEdit>(form, "Text1");
    QTest::keyClicks(text, "Humo");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "cocina");
    QTest::mouseClick(Control<QPushButton>(form, "b_e_1"), Qt::LeftButton);

    PickEntry(ALARMA, 0);
    DeliverAll();
    PickEntry(ALARMA, 2);
    DeliverAll();
    EXPECT_EQ(form.PhoneText(), u"699000111");
    EXPECT_EQ(form.MessageText(), u"Humo\r\ncocina");
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("YOIGO"));
}

TEST(DemoUnit, EveryZoneHasSomethingToBringBack)
{
    AlarmUnitModel unit;
    LoadDemoUnit(unit);
    InProcessLibrary library(unit);
    MainForm form(library);
    form.Load();
    DeliverAll();
    auto* zones = Control<QComboBox>(form, "ALARMA");
    std::u16string previous;
    for (int zone = 0; zone < 4; ++zone) {
        PickEntry(zones, zone);
        DeliverAll();
        EXPECT_EQ(form.PhoneText().size(), 9u) << zone;
        EXPECT_FALSE(form.MessageText().empty()) << zone;
        EXPECT_NE(form.MessageText(), previous);
        previous = form.MessageText();
    }
    EXPECT_EQ(Control<QComboBox>(form, "Combo1")->currentText(), QStringLiteral("YOIGO"));
}

}  // namespace
