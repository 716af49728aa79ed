// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The three text boxes' limits, and the SMS text's exact code units.

#include <QClipboard>
#include <functional>

#include "device_link/text_units.h"
#include "protocol/zone_upload.h"
#include "tests/main_window/form_driver.h"

namespace {

using TextFields = LoadedForm;

const QString Emoji = QString::fromUtf16(u"\xD83D\xDE00");

TEST_F(TextFields, APasteKeepsWhatFitsCutFromItsOwnEndNeverHalfACharacterAndUndoesWhole)
{
    struct Case {
        const char* box;
        QString before, pasted, after;
        int at = -1;  // the cursor; -1 at the end
    };
    const Case cases[] = {
        {"Text1", QString(49, u'a'), Emoji, QString(49, u'a')},
        {"Text1", QString(48, u'a'), Emoji, QString(48, u'a')},
        {"Text1", QString(47, u'a'), Emoji + Emoji, QString(47, u'a') + Emoji},
        {"Text1", QString(47, u'a'), QStringLiteral("b\nc"), QString(47, u'a') + u'b'},
        {"Text1", QStringLiteral("start end"), QString(60, u'p'), "start " + QString(40, u'p') + "end", 6},
        // Cutting the break frees two units, so "abc" still fits.
        {"Text1", QString(46, u'x'), QStringLiteral("abc\n"), QString(46, u'x') + "abc"},
        {"t_e_m_1", QString(), QStringLiteral("12345678") + Emoji, QStringLiteral("12345678")},
        {"t_e_m_1", QStringLiteral("1234567"), Emoji, QStringLiteral("1234567") + Emoji},
        {"pin", QStringLiteral("1234"), Emoji, QStringLiteral("1234")},
        {"pin", QStringLiteral("123"), Emoji, QStringLiteral("123")},
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(c.pasted);
        const std::string what = c.box + (" " + c.before.left(9) + "+" + c.pasted.left(9)).toStdString();
        if (QString::fromLatin1(c.box) == QStringLiteral("Text1")) {
            form.SetMessageText(ToUnits(c.before));
            QTextCursor cursor = Text1->textCursor();
            cursor.setPosition(c.at < 0 ? static_cast<int>(c.before.size()) : c.at);
            Text1->setTextCursor(cursor);
            Text1->paste();
            EXPECT_EQ(FromUnits(form.MessageText()), c.after) << what;
            Text1->undo();
            EXPECT_EQ(FromUnits(form.MessageText()), c.before) << what;
        } else {
            auto* box = Control<QLineEdit>(form, c.box);
            box->setText(c.before);
            box->end(false);
            box->paste();
            EXPECT_EQ(box->text(), c.after) << what;
        }
    }
}

TEST_F(TextFields, ProgramSetTextsComeBackUnitForUnit)
{
    for (const std::u16string& text : {std::u16string(u""), std::u16string(u"Texto a enviar\r\n"),
                                       std::u16string(u"a\rb\nc\r\nd"),  // lone CR, lone LF, CR LF
                                       std::u16string(u"\xA0no-break\x2028sep\x20AC\x0001\x0081\xFEFF"),
                                       std::u16string(u"\xD83D\xDE00 surrogate pair")}) {
        form.SetMessageText(text);
        EXPECT_EQ(form.MessageText(), text);
    }
}

TEST_F(TextFields, TypedBreaksAreCrLfAndTypingStopsAt49UnitsRefusingWhatDoesNotFitWhole)
{
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

// A zone whose text holds a lone break among 48 units is read back; an edit
// of other characters keeps that break as it came, and the send writes it so.
TEST_F(TextFields, ALoneBreakFromTheUnitSurvivesAnEditAtTheLimit)
{
    struct Case {
        char16_t lone;
        const char* edit;
        std::function<void(QPlainTextEdit*)> apply;
        std::u16string expected;
    };
    auto stored = [](char16_t lone) { return u"ab" + std::u16string(1, lone) + std::u16string(45, u'c'); };
    auto typeAtEnd = [](QPlainTextEdit* text) {
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "xy");  // only "x" fits
    };
    auto deleteBreakAndUndo = [](QPlainTextEdit* text) {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(3);
        text->setTextCursor(cursor);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "x");
    };
    auto userBreakAtStart = [](QPlainTextEdit* text) {
        text->moveCursor(QTextCursor::Start);
        QTest::keyClick(text, Qt::Key_Return);  // CR LF: two units, one is free
        QTest::keyClick(text, Qt::Key_Delete);  // "a" goes: now it fits
        QTest::keyClick(text, Qt::Key_Return);
    };
    const Case cases[] = {
        {u'\r', "type at end", typeAtEnd, stored(u'\r') + u"x"},
        {u'\n', "type at end", typeAtEnd, stored(u'\n') + u"x"},
        {u'\r', "delete the break, undo", deleteBreakAndUndo, stored(u'\r') + u"x"},
        {u'\n', "break typed at the start", userBreakAtStart, u"\r\n" + stored(u'\n').substr(1)},
    };
    for (const Case& c : cases) {
        PickEntry(ALARMA, 0);
        std::vector<Report> reports;
        for (char16_t unit : stored(c.lone))
            reports.push_back(InputReport(TagText, static_cast<std::uint8_t>(unit)));
        ReadBack(form, library, reports);
        c.apply(Text1);
        EXPECT_EQ(form.MessageText(), c.expected) << c.edit;

        // What goes out is exactly the upload of that text.
        pin->setText(QStringLiteral("1"));
        const std::size_t before = library.written.size();
        QTest::mouseClick(b_e_1, Qt::LeftButton);
        RecordingLibrary reference;
        ConfiguratorState state;
        SendZoneConfiguration(state, reference, 1, 609090909, u"1", form.PhoneText(), c.expected);
        EXPECT_EQ(std::vector<Report>(library.written.begin() + static_cast<long>(before),
                                      library.written.end()),
                  reference.written)
            << c.edit;
    }
}

}  // namespace
