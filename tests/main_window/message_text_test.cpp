// The SMS text box: exact round trip of program-set texts, CR LF for the
// user's line breaks, and the 49-unit limit counting CR LF as two.

#include <QClipboard>

#include "main_window/message_text.h"
#include "main_window/text_units.h"
#include "tests/main_window/form_driver.h"

namespace {

using MessageText = LoadedForm;

TEST_F(MessageText, ProgramSetTextsComeBackUnitForUnit)
{
    const std::u16string texts[] = {
        u"",
        u"Texto a enviar\r\n",
        u"a\rb\nc\r\nd",           // lone CR, lone LF, CR LF
        u"\xA0no-break\x2028sep",  // characters the document would rewrite
        u"\x20AC\x0001\x0081\xFEFF",
        u"\xD83D\xDE00 surrogate pair",
    };
    for (const std::u16string& text : texts) {
        form.SetMessageText(text);
        EXPECT_EQ(form.MessageText(), text);
    }
}

TEST_F(MessageText, AReadBackCrThenLfMakesOneLineBreak)
{
    PickEntry(ALARMA, 0);
    ReadBack(form, library, {InputReport(TagText, 'a'), InputReport(TagText, '\r'),
                             InputReport(TagText, '\n'), InputReport(TagText, 'b')});
    EXPECT_EQ(form.MessageText(), u"a\r\nb");
    EXPECT_EQ(Text1->toPlainText(), QStringLiteral("a\nb"));
}

TEST_F(MessageText, LineBreaksTheUserMakesAreCrLf)
{
    form.SetMessageText(u"");
    QTest::keyClicks(Text1, "a");
    QTest::keyClick(Text1, Qt::Key_Return);
    QTest::keyClicks(Text1, "b");
    QTest::keyClick(Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(Text1, "c");
    EXPECT_EQ(form.MessageText(), u"a\r\nb\r\nc");
}

TEST_F(MessageText, TypingStopsAt49UnitsWithCrLfCountingTwo)
{
    form.SetMessageText(u"");
    QTest::keyClicks(Text1, QString(48, QLatin1Char('x')));
    QTest::keyClick(Text1, Qt::Key_Return);  // needs two units, one is left
    EXPECT_EQ(form.MessageText(), std::u16string(48, u'x'));
    QTest::keyClicks(Text1, "yz");
    EXPECT_EQ(form.MessageText(), std::u16string(48, u'x') + u"y");
}

TEST_F(MessageText, APasteIsCutFromItsEndToWhatFitsAndUndoneWhole)
{
    struct Case {
        const char* what;
        QString before;
        int at;
        QString paste;
        std::u16string after;
    };
    const Case cases[] = {
        {"cut inside the paste", QStringLiteral("start end"), 6, QString(60, QLatin1Char('p')),
         u"start " + std::u16string(40, u'p') + u"end"},
        // Cutting the break frees two units, so "abc" still fits.
        {"a removed break counts two", QString(46, QLatin1Char('x')), 46, QStringLiteral("abc\n"),
         std::u16string(46, u'x') + u"abc"},
    };
    for (const Case& c : cases) {
        form.SetMessageText(u"");
        QTest::keyClicks(Text1, c.before);
        QTextCursor cursor = Text1->textCursor();
        cursor.setPosition(c.at);
        Text1->setTextCursor(cursor);
        QGuiApplication::clipboard()->setText(c.paste);
        Text1->paste();
        EXPECT_EQ(form.MessageText(), c.after) << c.what;
        Text1->undo();
        EXPECT_EQ(form.MessageText(), ToUnits(c.before)) << c.what;
    }
}

TEST(MessageTextRules, CutNeverSplitsASurrogatePair)
{
    const QString text = QStringLiteral("ab") + QString::fromUtf16(u"\xD83D\xDE00");
    EXPECT_EQ(CutToUnits(text, 3), QStringLiteral("ab"));
    EXPECT_EQ(CutToUnits(text, 4), text);
}

}  // namespace
