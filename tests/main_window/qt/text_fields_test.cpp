// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The three text boxes' limits, and the SMS text's exact code units.

#include <QClipboard>

#include "device_link/qt/text_units.h"
#include "main_window/qt/qt_controls.h"
#include "tests/main_window/qt/form_driver.h"

namespace {

using TextFields = LoadedForm;

const QString Emoji = QString::fromUtf16(u"\xD83D\xDE00");

// Pastes into the SMS box are rows of MessageLimit.
TEST_F(TextFields, APasteIntoALineKeepsWhatFitsNeverHalfACharacter)
{
    const std::tuple<const char*, QString, QString, QString> cases[] = {
        {"t_e_m_1", QString(), QStringLiteral("12345678") + Emoji, QStringLiteral("12345678")},
        {"t_e_m_1", QStringLiteral("1234567"), Emoji, QStringLiteral("1234567") + Emoji},
    };
    for (const auto& [name, before, pasted, after] : cases) {
        QGuiApplication::clipboard()->setText(pasted);
        auto* box = Control<QLineEdit>(window, name);
        box->setText(before);
        box->end(false);
        box->paste();
        EXPECT_EQ(box->text(), after) << name << " " << before.toStdString();
    }
}

// The PIN as its box takes it, the phone and the SMS text as a read-back sets them.
TEST_F(TextFields, AProgramSetTextKeepsWhatFitsNeverHalfACharacter)
{
    const std::u16string emoji = u"\U0001F600", a47(47, u'a');
    QtLineBox pinBox(*pin);
    const std::tuple<std::string_view, std::u16string, std::u16string> cases[] = {
        {"pin", u"123" + emoji, u"123"}, {"pin", u"12" + emoji, u"12" + emoji},
        {"t_e_m_1", u"12345678" + emoji, u"12345678"}, {"t_e_m_1", u"1234567" + emoji, u"1234567" + emoji},
        {"Text1", a47 + u"a" + emoji, a47 + u"a"}, {"Text1", a47 + emoji, a47 + emoji},
    };
    for (const auto& [box, set, kept] : cases) {
        (box == "pin" ? pinBox.SetText(set) : box == "t_e_m_1" ? form.SetPhoneText(set) : form.SetMessageText(set)),
            DeliverAll();  // the read-back's redraw
        EXPECT_EQ(box == "pin" ? pinBox.Text() : box == "t_e_m_1" ? form.PhoneText() : form.MessageText(), kept)
            << box << " " << set.size();
    }
}

// Qt decides Ctrl+A; AltGr, which comes as Ctrl+Alt on Windows, types the layout's character instead.
TEST_F(TextFields, CtrlASelectsAllAndAltGrATypesItsCharacter)
{
    const auto shown = [](QWidget* box) {  // its text and what of it is selected
        return std::pair(box->inputMethodQuery(Qt::ImSurroundingText).toString(),
                         box->inputMethodQuery(Qt::ImCurrentSelection).toString());
    };
    const std::tuple<Qt::KeyboardModifiers, QString, QString, QString> keys[] = {
        {Qt::ControlModifier, QStringLiteral("a"), QStringLiteral("12"), QStringLiteral("12")},
        {Qt::ControlModifier | Qt::AltModifier, QStringLiteral("ą"), QStringLiteral("12ą"), QString()},
    };
    for (QWidget* box : std::initializer_list<QWidget*>{pin, t_e_m_1, Text1})
        for (const auto& [modifiers, text, after, selected] : keys) {
            pin->clear(), t_e_m_1->clear(), form.SetMessageText(u"");
            QTest::keyClicks(box, "12");
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_A, text, modifiers);
            EXPECT_EQ(shown(box), std::pair(after, selected)) << box->objectName().toStdString() << " " << text.toStdString();
        }
}

TEST_F(TextFields, ProgramSetTextsComeBackUnitForUnitAndTypedOnesStopAt49)
{
    for (const std::u16string& text : {std::u16string(u""), std::u16string(u"Texto a enviar\r\n"),
                                       std::u16string(u"a\rb\nc\r\nd"),  // lone CR, lone LF, CR LF
                                       std::u16string(u"\xA0no-break\x2028sep\x20AC\x0001\x0081\xFEFF"),
                                       std::u16string(u"\xD83D\xDE00 surrogate pair")}) {
        form.SetMessageText(text), DeliverAll();
        EXPECT_EQ(form.MessageText(), text);
    }

    // Typed breaks are CR LF; typing stops at 49 units, refusing what does not fit whole.
    form.SetMessageText(u"");
    QTest::keyClicks(Text1, "a");
    QTest::keyClick(Text1, Qt::Key_Return);
    QTest::keyClick(Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(Text1, QString(43, u'x'));
    EXPECT_EQ(form.MessageText(), u"a\r\n\r\n" + std::u16string(43, u'x'));
    QTest::keyClick(Text1, Qt::Key_Return);  // needs two units, one is left
    QTest::sendKeyEvent(QTest::Press, Text1, Qt::Key_unknown, Emoji, Qt::NoModifier);
    QTest::keyClicks(Text1, "yz");
    EXPECT_EQ(form.MessageText(), u"a\r\n\r\n" + std::u16string(43, u'x') + u"y");
}

// Edits of other characters keep a lone break read back as it came.
TEST_F(TextFields, ALoneBreakFromTheUnitSurvivesEditsAtTheLimit)
{
    for (const char16_t lone : {u'\r', u'\n'}) {
        const std::u16string stored = u"ab" + std::u16string(1, lone) + std::u16string(45, u'c');
        PickEntry(ALARMA, 0);
        for (const char16_t unit : stored)
            ReadBack(window, library, {InputReport(TagText, static_cast<std::uint8_t>(unit))});
        QTextCursor cursor = Text1->textCursor();
        cursor.setPosition(3);
        Text1->setTextCursor(cursor);
        QTest::keyClick(Text1, Qt::Key_Backspace);
        QTest::keyClick(Text1, Qt::Key_Z, Qt::ControlModifier);
        Text1->moveCursor(QTextCursor::End);
        QTest::keyClicks(Text1, "xy");  // only "x" fits
        EXPECT_EQ(form.MessageText(), stored + u"x");
        Text1->moveCursor(QTextCursor::Start);
        QTest::keyClick(Text1, Qt::Key_Delete);
        QTest::keyClick(Text1, Qt::Key_Delete);
        QTest::keyClick(Text1, Qt::Key_Return);  // CR LF: fits in the two units freed
        EXPECT_EQ(form.MessageText(), u"\r\n" + stored.substr(2) + u"x");
    }
}

}  // namespace
