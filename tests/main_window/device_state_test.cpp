// The notice band follows the unit through the real device-event path:
// attach, detach, replug, and a unit this user may not open.

#include "tests/main_window/form_driver.h"
#include "virtual_unit/alarm_unit_model.h"
#include "virtual_unit/in_process_library.h"

namespace {

TEST(DeviceState, FollowsUnplugAndReplugAndASendWithoutTheUnitSendsNothing)
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
    EXPECT_TRUE(unit.Log().empty());
    EXPECT_TRUE(notice->toolTip().startsWith(QStringLiteral("No se ha enviado nada")));

    struct Step {
        void (InProcessLibrary::*act)();
        bool shown;
    };
    const Step steps[] = {{&InProcessLibrary::Plug, false},
                          {&InProcessLibrary::Unplug, true},
                          {&InProcessLibrary::Plug, false}};
    for (const Step& step : steps) {
        (library.*step.act)();
        DeliverAll();
        EXPECT_EQ(notice->isVisibleTo(&form), step.shown);
        if (step.shown) {
            EXPECT_EQ(notice->text(), QStringLiteral("Alarma no conectada"));
        }
    }
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
