// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window against the in-process virtual unit behind the real device link.

#include "tests/main_window/form_driver.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"
#include "virtual_unit/sample_data.h"

namespace {

class WithVirtualUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit.StoreServiceCentre("607003110");
        unit.StoreZone(1, "611111111", "Uno");
        unit.StoreZone(2, "611222333", "Ventana\r\nabierta");
        form.Load();
        ShowAndActivate(form);
        DeliverAll();  // Connect's change event enables read notifications
    }

    void PickZone(int zone)
    {
        PickEntry(ALARMA, zone - 1);
        DeliverAll();
    }

    AlarmUnitModel unit;
    InProcessLibrary library{unit};
    MainForm form{library};
    QComboBox* ALARMA = Control<QComboBox>(form, "ALARMA");
    QComboBox* Combo1 = Control<QComboBox>(form, "Combo1");
};

TEST_F(WithVirtualUnit, APickFillsTheZoneExactlyAReplugReadsBackAgainAndCloseEndsIt)
{
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");
    EXPECT_EQ(form.MessageText(), u"Texto a enviar");

    PickZone(2);
    EXPECT_EQ(form.PhoneText(), u"611222333");
    EXPECT_EQ(form.MessageText(), u"Ventana\r\nabierta");
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("VODAFONE"));
    EXPECT_EQ(form.State().SelectedSmsc, u"607003110");

    // A replug gets read back again; answers in flight at unplug are lost.
    PickEntry(ALARMA, 1);  // answers queued, their events not yet delivered
    library.Unplug();
    DeliverAll();
    auto* notice = Control<QLabel>(form, "aviso");
    EXPECT_EQ(notice->text(), QStringLiteral("Alarma no conectada"));
    EXPECT_EQ(form.PhoneText(), u"");
    PickZone(1);  // nobody answers
    EXPECT_EQ(form.PhoneText(), u"");

    library.Plug();
    DeliverAll();
    PickZone(1);
    EXPECT_EQ(form.PhoneText(), u"611111111");
    EXPECT_EQ(form.MessageText(), u"Uno");

    // Nothing arrives after close and nothing is replayed.
    PickEntry(ALARMA, 1);  // answers posted but not yet delivered
    form.close();
    library.Unplug();
    library.Plug();
    DeliverAll();
    EXPECT_EQ(form.PhoneText(), u"");
    EXPECT_EQ(form.MessageText(), u"");
}

TEST(DemoUnit, EveryZoneHasItsOwnValuesToBringBack)
{
    AlarmUnitModel unit;
    LoadDemoUnit(unit);
    InProcessLibrary library(unit);
    MainForm form(library);
    form.Load();
    DeliverAll();
    std::vector<std::u16string> texts;
    for (int zone = 0; zone < 4; ++zone) {
        PickEntry(Control<QComboBox>(form, "ALARMA"), zone);
        DeliverAll();
        EXPECT_EQ(form.PhoneText().size(), 9u) << zone;
        EXPECT_FALSE(form.MessageText().empty()) << zone;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), form.MessageText()), 0) << zone;
        texts.push_back(form.MessageText());
    }
    EXPECT_EQ(Control<QComboBox>(form, "Combo1")->currentText(), QStringLiteral("YOIGO"));
}

TEST(DeviceState, WithoutTheUnitASendSendsNothingAndSaysSoUntilItIsPlugged)
{
    AlarmUnitModel unit;
    InProcessLibrary library(unit, /*plugged=*/false);
    MainForm form(library);
    form.Load();
    DeliverAll();
    auto* notice = Control<QLabel>(form, "aviso");
    EXPECT_EQ(notice->text(), QStringLiteral("Alarma no conectada"));

    Control<QLineEdit>(form, "pin")->clear();
    QTest::mouseClick(Control<QPushButton>(form, "b_e_1"), Qt::LeftButton);

    library.Plug();
    DeliverAll();
    // The refused send wrote nothing, so a request still carries no write.
    PickEntry(Control<QComboBox>(form, "ALARMA"), 1);
    EXPECT_EQ(unit.Log(), std::vector<WireReport>{(WireReport{0, 0, 0, 0, 0, 2, 0, 0})});
}

// A library whose unit is attached but refused to open.
class DeniedLibrary : public RecordingLibrary {
public:
    UnitAccess access{UnitAccess::State::Denied, "/dev/hidraw5"};
    UnitAccess Access(std::int32_t, std::int32_t) override { return access; }
};

TEST(DeviceState, AUnitThatCannotBeOpenedNamesItsNodeAndTheFixUntilItOpens)
{
    DeniedLibrary library;
    MainForm form(library);
    form.Load();
    Deliver(form, EventPlugged, library.presentHandle);
    Deliver(form, EventChanged);
    auto* notice = Control<QLabel>(form, "aviso");
    EXPECT_EQ(notice->text(), QStringLiteral("Alarma sin permiso de acceso"));
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("/dev/hidraw5")));
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("70-velbrix-qorun.rules")));

    library.access = {UnitAccess::State::Usable, "/dev/hidraw6"};
    Deliver(form, EventUnplugged, library.presentHandle);
    Deliver(form, EventPlugged, library.presentHandle);
    EXPECT_FALSE(notice->isVisibleTo(&form));
}


}  // namespace
