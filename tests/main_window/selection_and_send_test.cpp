// Zone and operator selection, by the user and by the read-back, and send.

#include "tests/main_window/form_driver.h"

namespace {

using ZoneSelection = LoadedForm;
using OperatorSelection = LoadedForm;
using Send = LoadedForm;

TEST_F(ZoneSelection, Zone3EmptiesTheFieldsRetitlesAndAsksForZone3)
{
    ReadBack(form, library, {InputReport(TagSmsc, '6')});
    PickEntry(ALARMA, 2);

    EXPECT_EQ(form.PhoneText(), u"");
    EXPECT_EQ(form.MessageText(), u"");
    EXPECT_EQ(form.State().ReceivedSmsc, u"");
    EXPECT_EQ(form.State().SelectedZone, u"3");
    EXPECT_EQ(t_a_1->title(), QStringLiteral("Zona Alarma 3"));
    EXPECT_EQ(b_e_1->text(), QStringLiteral("Env. Config. Zona 3"));
    ASSERT_EQ(library.written.size(), 2u);  // start-up's request, then this one
    EXPECT_EQ(library.written[1], (Report{0, 0, 0, 0, 0, 0, 3, 0, 0}));
}

TEST_F(ZoneSelection, RepickingTheSelectedZoneReloadsIt)
{
    PickEntry(ALARMA, 1);
    t_e_m_1->selectAll();
    QTest::keyClicks(t_e_m_1, "123");
    PickEntry(ALARMA, 1);

    EXPECT_EQ(form.PhoneText(), u"");
    ASSERT_EQ(library.written.size(), 3u);  // one request per pick
    EXPECT_EQ(library.written[2][CommandByte], 2);
}

TEST_F(ZoneSelection, TypingIntoTheSelectorSelectsNothingAndSendsNothing)
{
    TypeIntoSelector(ALARMA, QStringLiteral("Zona 2"));
    QTest::keyClick(ALARMA->lineEdit(), Qt::Key_Return);
    t_e_m_1->setFocus();  // focus leaves the selector
    QCoreApplication::processEvents();

    EXPECT_EQ(library.written.size(), 1u);
    EXPECT_EQ(ALARMA->currentIndex(), -1);
    EXPECT_EQ(ALARMA->currentText(), QStringLiteral("Zona 2"));
    EXPECT_EQ(t_a_1->title(), QStringLiteral("Zona Alarma 1"));
    EXPECT_EQ(form.State().SelectedZone, u"1");
    EXPECT_EQ(form.PhoneText(), u"Tlf env.");

    // A pick from the list after typing is a selection again.
    PickEntry(ALARMA, 1);
    EXPECT_EQ(ALARMA->currentIndex(), 1);
    EXPECT_EQ(library.written.size(), 2u);
}

TEST_F(OperatorSelection, ByThePickOrByTheReadBackSetsTheServiceCentreAndSendsNothing)
{
    PickEntry(ALARMA, 0);  // read-back is decoded from the first pick on
    PickEntry(Combo1, 2);
    EXPECT_EQ(form.State().SelectedSmsc, u"607003110");
    EXPECT_EQ(library.written.size(), 2u);

    // The unit streams AMENA's number: the ninth digit selects it, as a pick.
    std::vector<Report> digits;
    for (char digit : std::string("656000311"))
        digits.push_back(InputReport(TagSmsc, static_cast<std::uint8_t>(digit)));
    ReadBack(form, library, std::vector<Report>(digits.begin(), digits.end() - 1));
    EXPECT_EQ(Combo1->currentIndex(), 2);
    ReadBack(form, library, {digits.back()});
    EXPECT_EQ(Combo1->currentIndex(), 1);
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("AMENA"));
    EXPECT_EQ(form.State().SelectedSmsc, u"656000311");
    EXPECT_EQ(library.written.size(), 2u);

    // Over typed operator text too: the read-back's selection makes a send possible.
    TypeIntoSelector(Combo1, QStringLiteral("otra"));
    ReadBack(form, library, {InputReport(7, 0)});
    EXPECT_EQ(Combo1->currentText(), QStringLiteral("AMENA"));
    pin->clear();
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_GT(library.written.size(), 2u);
}

TEST_F(Send, YoigoGoesToAddress5OnwardAfterThePin)
{
    PickEntry(Combo1, 3);
    pin->setText(QStringLiteral("123"));
    QTest::mouseClick(b_e_1, Qt::LeftButton);

    const std::vector<Write> writes = WritesOf(library.written);
    // "123" (6 writes), then the service centre, then phone and text.
    ASSERT_GE(writes.size(), 6u + 18u);
    const std::vector<Write> smsc(writes.begin() + 6, writes.begin() + 24);
    const std::vector<Write> expected{
        {5, '6'},  {6, 0},  {6, '2'},  {6, 0},  {7, '2'},  {8, 0},  {8, '9'},  {8, 0},
        {9, '9'},  {10, 0}, {10, '6'}, {10, 0}, {11, '1'}, {12, 0}, {12, '1'}, {12, 0},
        {13, '1'}, {14, 0}};
    EXPECT_EQ(smsc, expected);
    EXPECT_EQ(form.State().SelectedSmsc, u"622996111");
}

TEST_F(Send, WritesTheTypedFieldsOfTheSelectedZone)
{
    PickEntry(ALARMA, 1);
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

    const std::vector<Write> writes = WritesOf(library.written, before);
    ASSERT_EQ(writes.size(), 8u + 18u + 4u + 8u);
    const std::vector<Write> pinWrites(writes.begin(), writes.begin() + 8);
    EXPECT_EQ(pinWrites, (std::vector<Write>{{0, '1'}, {0, 0}, {1, '2'}, {2, 0}, {2, '3'},
                                             {2, 0}, {3, '4'}, {4, 0}}));
    const std::vector<Write> tail(writes.end() - 12, writes.end());
    // The line break typed with Enter goes as CR LF.
    EXPECT_EQ(tail, (std::vector<Write>{{75, '1'}, {76, 0}, {76, '2'}, {76, 0}, {85, 'H'},
                                        {86, 0}, {86, '\r'}, {86, 0}, {87, '\n'}, {88, 0},
                                        {88, 'i'}, {88, 0}}));
    // Pressing again sends the same again.
    QTest::mouseClick(b_e_1, Qt::LeftButton);
    EXPECT_EQ(WritesOf(library.written, before + writes.size()), writes);
}

}  // namespace
