#include "main_window/message_text_field.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "main_window/message_text.h"
#include "main_window/text_units.h"

MessageTextField::MessageTextField(QPlainTextEdit& edit, std::size_t maxUnits)
    : QObject(&edit), edit_(edit), maxUnits_(maxUnits)
{
    connect(edit_.document(), &QTextDocument::contentsChange, this,
            &MessageTextField::NoteChange);
    connect(&edit_, &QPlainTextEdit::textChanged, this, &MessageTextField::KeepWithinLimit);
}

std::u16string MessageTextField::Text() const
{
    return ToUnits(WireText());
}

QString MessageTextField::WireText() const
{
    const QString raw = edit_.document()->toRawText();
    if (raw == programDocument_)
        return programText_;
    return WireTextOfDisplay(raw);
}

void MessageTextField::SetText(const std::u16string& text)
{
    const QString cut = CutToUnits(FromUnits(text), maxUnits_);
    adjusting_ = true;
    programText_ = cut;
    programDocument_.clear();
    edit_.setPlainText(cut);
    programDocument_ = edit_.document()->toRawText();
    adjusting_ = false;
}

void MessageTextField::NoteChange(int position, int /*removed*/, int added)
{
    changeStart_ = position;
    changeEnd_ = position + added;
}

void MessageTextField::KeepWithinLimit()
{
    if (adjusting_)
        return;
    const auto units = static_cast<std::size_t>(WireText().size());
    if (units <= maxUnits_)
        return;
    std::size_t excess = units - maxUnits_;

    QTextDocument* document = edit_.document();
    adjusting_ = true;
    QTextCursor cursor(document);
    cursor.joinPreviousEditBlock();  // one undo takes back the whole paste
    // Cut what was just typed or pasted from its end, as a line edit with a
    // maximum length does.
    const int length = static_cast<int>(document->toRawText().size());
    const int start = std::clamp(changeStart_, 0, length);
    RemoveTail(cursor, start, std::clamp(changeEnd_, start, length), excess);
    // A text with lone CRs or LFs from the program counts each of them as
    // CR LF once the user edits it; whatever still exceeds goes from the end.
    if (excess > 0)
        RemoveTail(cursor, 0, static_cast<int>(document->toRawText().size()), excess);
    cursor.endEditBlock();
    adjusting_ = false;
}

void MessageTextField::RemoveTail(QTextCursor& cursor, int floor, int end, std::size_t& excess)
{
    const QString raw = edit_.document()->toRawText();
    int from = end;
    while (excess > 0 && from > floor) {
        --from;
        excess -= std::min(excess, WireUnitsOf(raw.at(from)));
        if (from > floor && raw.at(from).isLowSurrogate() && raw.at(from - 1).isHighSurrogate())
            --from;
    }
    if (from == end)
        return;
    cursor.setPosition(from);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
