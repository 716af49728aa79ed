// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Zone and operator selection, by the user and by the read-back, and send.

#include "device_link/text_units.h"
#include "tests/main_window/form_driver.h"

namespace {

using ZoneSelection = LoadedForm;
using OperatorSelection = LoadedForm;
using Send = LoadedForm;

TEST_F(ZoneSelection, EmptiesTheFieldsRetitlesAndAsksForTheZoneOnEveryPickThenFillsUpToTheLimits)
{
    PickEntry(ALARMA, 0);
    for (const int zone : {3, 2, 2}) {  // a re-pick reloads the zone too
        ReadBack(form, library, {InputReport(TagSmsc, '6')});
        t_e_m_1->setText(QStringLiteral("123"));
        PickEntry(ALARMA, zone - 1);
        const QString n = QString::number(zone);
        EXPECT_EQ(form.PhoneText(), u"") << zone;
        EXPECT_EQ(form.MessageText(), u"") << zone;
        EXPECT_EQ(form.State().ReceivedSmsc, u"") << zone;
        EXPECT_EQ(form.State().SelectedZone, ToUnits(n)) << zone;
        EXPECT_EQ(Control<QGroupBox>(form, "t_a_1")->title(), QStringLiteral("Zona Alarma ") + n);
        EXPECT_EQ(b_e_1->text(), QStringLiteral("Env. Config. Zona ") + n);
        EXPECT_EQ(library.written.back(), (Report{0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(zone), 0, 0}));
    }
    EXPECT_EQ(library.written.size(), 5u);  // start-up's request, then one per pick

    // Read-back appends stop at the field limits.
    form.SetPhoneText(u"600111222");
    form.SetMessageText(std::u16string(49, u'm'));
    ReadBack(form, library, {InputReport(TagPhone, '3'), InputReport(TagText, 'n')});
    EXPECT_EQ(form.PhoneText(), u"600111222");
    EXPECT_EQ(form.MessageText(), std::u16string(49, u'm'));
}

TEST_F(OperatorSelection, ByThePickOrByTheReadBackSetsTheServiceCentreAndSendsNothing)
{
    PickEntry(ALARMA, 0);  // read-back is decoded from the first pick on
    PickEntry(Combo1, 2);  // sends nothing either; Send pins its service centre
    // The unit streams AMENA's number: the ninth digit selects it, as a pick,
    // over typed operator text too.
    TypeIntoSelector(Combo1, QStringLiteral("otra"));
    for (const char digit : std::string("656000311"))
        ReadBack(form, library, {InputReport(TagSmsc, static_cast<std::uint8_t>(digit))});
    EXPECT_EQ(Combo1->currentIndex(), 1);
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("AMENA"));
    EXPECT_EQ(form.State().SelectedSmsc, u"656000311");
    EXPECT_EQ(library.written.size(), 2u);
}

TEST_F(Send, WritesTheTypedFieldsOfTheSelectedZoneAndTheSameAgainOnASecondPress)
{
    PickEntry(ALARMA, 1);
    PickEntry(Combo1, 3);
    pin->selectAll();
    QTest::keyClicks(pin, "1234");
    t_e_m_1->setFocus();
    QTest::keyClicks(t_e_m_1, "12");
    Text1->setFocus();
    QTest::keyClicks(Text1, "H");
    QTest::keyClick(Text1, Qt::Key_Return);
    QTest::keyClicks(Text1, "i");
    const std::size_t before = library.written.size();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    // The typed break goes out as CR LF.
    const std::vector<Report> sent = WrittenSince(library.written, before);
    EXPECT_EQ(sent, UploadOf(2, 622996111, u"1234", u"12", u"H\r\ni"));
    EXPECT_EQ(form.State().SelectedSmsc, u"622996111");
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(WrittenSince(library.written, before + sent.size()), sent);
}

}  // namespace
