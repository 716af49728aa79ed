// Where the window does the sound thing instead of failing: a send without
// selected entries, limits from the start, read-back that would overflow a
// field, and an upload that could not go out whole.

#include <QClipboard>
#include <QSignalBlocker>

#include "tests/main_window/form_driver.h"

namespace {

using SendWithTypedSelector = LoadedForm;
using LimitsFromTheStart = LoadedForm;
using ReadBackWithinLimits = LoadedForm;
using IncompleteUpload = LoadedForm;

TEST_F(SendWithTypedSelector, SendsNothingAndSaysWhichListNeedsAPick)
{
    struct Case {
        bool typeZone, typeOperator;
        QString notice;
    };
    const Case cases[] = {
        {true, false, QStringLiteral("Elija una zona de la lista")},
        {false, true, QStringLiteral("Elija una compañía de la lista")},
        {true, true, QStringLiteral("Elija zona y compañía")},
    };
    for (const Case& c : cases) {
        PickEntry(ALARMA, 0);
        PickEntry(Combo1, 0);
        if (c.typeZone)
            TypeIntoSelector(ALARMA, QStringLiteral("Zona 2"));
        if (c.typeOperator)
            TypeIntoSelector(Combo1, QStringLiteral("YOIGO"));
        const std::size_t before = library.written.size();
        QTest::mouseClick(b_e_1, Qt::LeftButton);
        EXPECT_EQ(library.written.size(), before);
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(notice->text(), c.notice);
        EXPECT_TRUE(notice->toolTip().startsWith(QStringLiteral("No se ha enviado nada")));
    }
    // Picking from the lists again lets the send through and replaces the notice.
    PickEntry(ALARMA, 0);
    PickEntry(Combo1, 0);
    pin->clear();
    const std::size_t before = library.written.size();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_GT(library.written.size(), before);
    EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
}

TEST_F(LimitsFromTheStart, HoldForPastingTypingAndProgramTexts)
{
    // The PIN has not been edited yet: a long paste still stops at 4.
    pin->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
    pin->paste();
    EXPECT_EQ(pin->text(), QStringLiteral("1234"));
    QTest::keyClicks(pin, "5");
    EXPECT_EQ(pin->text(), QStringLiteral("1234"));

    t_e_m_1->selectAll();
    QTest::keyClicks(t_e_m_1, "6001112223334");
    EXPECT_EQ(form.PhoneText(), u"600111222");
    form.SetPhoneText(u"0123456789AB");
    EXPECT_EQ(form.PhoneText(), u"012345678");

    form.SetMessageText(std::u16string(48, u'x') + u"\r\n");
    EXPECT_EQ(form.MessageText(), std::u16string(48, u'x') + u"\r");
    form.SetMessageText(std::u16string(60, u'y'));
    EXPECT_EQ(form.MessageText(), std::u16string(49, u'y'));

    // So even zone 4's text ends inside its area.
    PickEntry(ALARMA, 3);
    form.SetMessageText(std::u16string(80, u'z'));
    const std::size_t before = library.written.size();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(WritesOf(library.written, before).back(), (Write{254, 0}));
    EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
}

TEST_F(ReadBackWithinLimits, AppendedCharactersStopAtTheFieldLimits)
{
    PickEntry(ALARMA, 0);
    form.SetPhoneText(u"600111222");
    form.SetMessageText(std::u16string(49, u'm'));
    ReadBack(form, library, {InputReport(TagPhone, '3'), InputReport(TagText, 'n'),
                             InputReport(TagPhone, 0), InputReport(TagText, 0)});
    EXPECT_EQ(form.PhoneText(), u"600111222");
    EXPECT_EQ(form.MessageText(), std::u16string(49, u'm'));

    // A character 0 is not appended below the limit either.
    form.SetPhoneText(u"60");
    ReadBack(form, library, {InputReport(TagPhone, 0), InputReport(TagPhone, '6')});
    EXPECT_EQ(form.PhoneText(), u"606");
}

TEST_F(IncompleteUpload, TellsTheUserTheConfigurationWasNotFullySent)
{
    // Unreachable through the window's own paths; a text slipped past the
    // limit stands in for any field that would need an address above 255.
    PickEntry(ALARMA, 3);
    pin->clear();
    {
        const QSignalBlocker unlimited(Text1);
        Text1->setPlainText(QString(51, QLatin1Char('z')));
    }
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), QStringLiteral("Envío incompleto"));
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("no se envió completa")));
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("256")));

    form.SetMessageText(u"ok");
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(notice->text(), QStringLiteral("Configuración enviada"));
}

}  // namespace
