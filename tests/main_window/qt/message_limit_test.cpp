// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Edits in the SMS box at its limit: a selection's units are freed first, a
// break takes two, and what does not fit never reaches the undo history.

#include <QClipboard>

#include "device_link/qt/text_units.h"
#include "tests/main_window/qt/form_driver.h"

namespace {

struct Edit {
    const char* name;
    std::u16string before;
    int from, to;              // the selection, in document characters
    QString keys, pasted;      // "\n" in keys: Enter
    std::u16string after;
    bool accepted;             // something reached the undo history
};

const std::u16string A49(49, u'a'), A48(48, u'a'), A47(47, u'a'), A20(20, u'a'), A27(27, u'a'), X46(46, u'x');
const QString Emoji = QString::fromUtf16(u"\xD83D\xDE00");
const Edit Edits[] = {
    {"TypedOverASelection", A49, 10, 13, "xyzw", "", A49.substr(0, 10) + u"xyz" + A49.substr(0, 36), true},
    {"EnterOverOneCharacter", A49, 48, 49, "\n", "", A49, false},
    {"EnterOverTwoCharacters", A49, 47, 49, "\n", "", A49.substr(0, 47) + u"\r\n", true},
    {"EnterOverABreak", A20 + u"\r\n" + A27, 20, 21, "\n", "", A20 + u"\r\n" + A27, true},
    {"EnterOverALoneBreak", A20 + u"\n" + A27 + u"a", 20, 21, "\n", "", A20 + u"\n" + A27 + u"a", false},
    {"PastedOverASelection", A49, 10, 15, "", "bcdefgh", A49.substr(0, 10) + u"bcdef" + A49.substr(0, 34), true},
    {"PastedSurrogatePairOverTheLimit", A49, 49, 49, "", Emoji, A49, true},
    {"PastedSurrogatePairAtTheLastUnit", A48, 48, 48, "", Emoji, A48, true},
    {"PastedTwoPairsKeepsOneWhole", A47, 47, 47, "", Emoji + Emoji, A47 + u"\xD83D\xDE00", true},
    {"PastedBreakCutFromItsOwnEnd", A47, 47, 47, "", "b\nc", A47 + u"b", true},
    {"PastedInTheMiddleCutFromItsOwnEnd", u"start end", 6, 6, "", QString(60, u'p'), u"start " + std::u16string(40, u'p') + u"end", true},
    // Cutting the break frees two units, so "abc" still fits.
    {"PastedBreakCutFreesTwo", X46, 46, 46, "", "abc\n", X46 + u"abc", true},
    {"PastedBreakCutWhole", A49, 0, 2, "", "bc\n", u"bc" + A49.substr(0, 47), true},
    // Qt reports such a paste as a change of all that follows it.
    {"PastedBreakKeepsTheLoneBreaksAfterIt", u"ab\rc\nd", 0, 1, "", "x\n", u"x\r\nb\rc\nd", true},
};

class MessageLimit : public LoadedForm, public testing::WithParamInterface<Edit> {};

TEST_P(MessageLimit, KeepsWhatFitsAndUndoesWhole)
{
    const Edit& edit = GetParam();
    form.SetMessageText(edit.before), DeliverAll();  // as the read-back fills it
    QTextCursor cursor(Text1->document());
    cursor.setPosition(edit.from), cursor.setPosition(edit.to, QTextCursor::KeepAnchor), Text1->setTextCursor(cursor);
    for (const QChar key : edit.keys)
        key == u'\n' ? QTest::keyClick(Text1, Qt::Key_Return) : QTest::keyClicks(Text1, QString(key));
    if (!edit.pasted.isEmpty())
        QGuiApplication::clipboard()->setText(edit.pasted), Text1->paste();
    EXPECT_EQ(form.MessageText(), edit.after);
    EXPECT_EQ(Text1->document()->availableUndoSteps() > 0, edit.accepted);
    Text1->undo();
    EXPECT_EQ(form.MessageText(), edit.before);
}

INSTANTIATE_TEST_SUITE_P(AtTheLimit, MessageLimit, testing::ValuesIn(Edits),
                         [](const testing::TestParamInfo<Edit>& info) { return info.param.name; });

}  // namespace
