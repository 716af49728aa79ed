// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/qt/message_text_field.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "main_window/code_units.h"
#include "main_window/qt/message_text.h"
#include "device_link/qt/text_units.h"

namespace {

QString TypedUnits(QChar displayed)
{
    return WireUnitsOf(displayed) == 2 ? QStringLiteral("\r\n") : QString(displayed);
}

// Wire units a key press would add to the document, 0 when it adds nothing
// this field can judge beforehand (shortcuts, navigation, Tab).
std::size_t UnitsTypedBy(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::InsertParagraphSeparator) ||
        key.matches(QKeySequence::InsertLineSeparator))
        return 2;
    if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return 0;
    const QString text = key.text();
    if (text.isEmpty() || !(text.front().isPrint() || text.front().isSurrogate()))
        return 0;
    return static_cast<std::size_t>(text.size());
}

}  // namespace

MessageTextField::MessageTextField(QPlainTextEdit& edit, std::size_t maxUnits)
    : QObject(&edit), edit_(edit), maxUnits_(maxUnits)
{
    QTextDocument* document = edit_.document();
    // Qt announces a new undo command before the change it makes; undo and
    // redo change the document without one.
    connect(document, &QTextDocument::undoCommandAdded, this, [this] { newCommand_ = true; });
    connect(document, &QTextDocument::contentsChange, this, &MessageTextField::NoteChange);
    connect(&edit_, &QPlainTextEdit::textChanged, this, &MessageTextField::KeepWithinLimit);
    edit_.installEventFilter(this);
    MapProgramText(document->toRawText());
}

std::u16string MessageTextField::Text() const
{
    QString wire;
    for (const QString& units : wire_)
        wire += units;
    return ToUnits(wire);
}

void MessageTextField::SetText(const std::u16string& text)
{
    const QString cut = FromUnits(CutToUnits(text, maxUnits_));
    settingText_ = true;
    edit_.setPlainText(cut);  // also clears the undo history
    settingText_ = false;
    MapProgramText(cut);
}

void MessageTextField::MapProgramText(const QString& wire)
{
    // Walks the document beside the text it was made from: where the document
    // shows a paragraph break for something else, that break stands for a
    // CR LF pair or for the one unit it replaced.
    document_ = edit_.document()->toRawText();
    wire_.clear();
    wire_.reserve(static_cast<std::size_t>(document_.size()));
    qsizetype at = 0;
    for (const QChar shown : document_) {
        qsizetype length = 1;
        if (shown == QChar::ParagraphSeparator && at < wire.size() && wire.at(at) != shown &&
            wire.at(at) == u'\r' && at + 1 < wire.size() && wire.at(at + 1) == u'\n')
            length = 2;
        wire_.push_back(at < wire.size() ? wire.mid(at, length) : TypedUnits(shown));
        at += length;
    }
    if (at < wire.size() && !wire_.empty())
        wire_.back() += wire.mid(at);  // nothing the document dropped is lost
    atUndoStep_.clear();
    atUndoStep_[edit_.document()->availableUndoSteps()] = wire_;
    newCommand_ = false;
}

void MessageTextField::NoteChange(int position, int removed, int /*added*/)
{
    if (settingText_)
        return;
    const QString raw = edit_.document()->toRawText();
    const int step = edit_.document()->availableUndoSteps();
    const bool edit = newCommand_;
    newCommand_ = false;
    if (!edit) {
        const auto known = atUndoStep_.find(step);
        if (known != atUndoStep_.end() && known->second.size() == static_cast<std::size_t>(raw.size())) {
            wire_ = known->second;  // undo or redo: back to that step exactly
            document_ = raw;
            addedStart_ = addedEnd_ = 0;
            return;
        }
    }
    // A paste holding a line break at the very start is reported as a change
    // of the whole document. The text after the cursor is still the old text:
    // its characters keep their units, and a cut leaves them alone.
    const qsizetype tail = raw.size() - edit_.textCursor().position();
    if (edit && tail >= 0 && position + removed > document_.size() - tail)
        removed = std::max<int>(0, static_cast<int>(document_.size() - tail) - position);
    Splice(position, removed, raw);
    if (edit)  // a new edit ends the redo history
        atUndoStep_.erase(atUndoStep_.lower_bound(step), atUndoStep_.end());
    atUndoStep_[step] = wire_;
}

void MessageTextField::Splice(int position, int removed, const QString& raw)
{
    // The characters before `position` and after the removed ones are the
    // old ones and keep their units; only what the change added is new.
    const auto oldLength = static_cast<qsizetype>(wire_.size());
    const qsizetype newLength = raw.size();
    const qsizetype before = std::clamp<qsizetype>(position, 0, std::min(oldLength, newLength));
    const qsizetype gone = std::clamp<qsizetype>(removed, 0, oldLength - before);
    const qsizetype after = std::min(oldLength - before - gone, newLength - before);
    const QStringView oldMiddle = QStringView(document_).mid(before, oldLength - before - after);
    const QStringView newMiddle = QStringView(raw).mid(before, newLength - before - after);

    std::vector<QString> spliced;
    spliced.reserve(static_cast<std::size_t>(newLength));
    auto keep = [&](qsizetype oldAt, qsizetype newAt) {
        const bool same = document_.at(oldAt) == raw.at(newAt);
        spliced.push_back(same ? wire_[static_cast<std::size_t>(oldAt)] : TypedUnits(raw.at(newAt)));
    };
    for (qsizetype i = 0; i < before; ++i)
        keep(i, i);
    if (oldMiddle == newMiddle) {  // a change of format only
        for (qsizetype i = 0; i < newMiddle.size(); ++i)
            keep(before + i, before + i);
    } else {
        for (const QChar c : newMiddle)
            spliced.push_back(TypedUnits(c));
    }
    for (qsizetype i = 0; i < after; ++i)
        keep(oldLength - after + i, newLength - after + i);

    wire_ = std::move(spliced);
    document_ = raw;
    addedStart_ = before;
    addedEnd_ = newLength - after;
}

std::size_t MessageTextField::Units(qsizetype from, qsizetype to) const
{
    std::size_t units = 0;
    for (qsizetype i = std::max<qsizetype>(from, 0);
         i < std::min<qsizetype>(to, static_cast<qsizetype>(wire_.size())); ++i)
        units += static_cast<std::size_t>(wire_[static_cast<std::size_t>(i)].size());
    return units;
}

void MessageTextField::KeepWithinLimit()
{
    if (settingText_ || cutting_)
        return;
    const std::size_t units = Units(0, static_cast<qsizetype>(wire_.size()));
    if (units <= maxUnits_)
        return;
    std::size_t excess = units - maxUnits_;

    // Cut what was just added from its end, as a line edit with a maximum
    // length does; a character goes whole, a surrogate pair together.
    qsizetype from = addedEnd_;
    while (excess > 0 && from > addedStart_) {
        qsizetype start = from - 1;
        if (start > addedStart_ && document_.at(start).isLowSurrogate() &&
            document_.at(start - 1).isHighSurrogate())
            --start;
        excess -= std::min(excess, Units(start, from));
        from = start;
    }
    if (from == addedEnd_)
        return;
    cutting_ = true;
    QTextCursor cursor(edit_.document());
    cursor.joinPreviousEditBlock();  // one undo takes back the whole paste
    cursor.setPosition(static_cast<int>(from));
    cursor.setPosition(static_cast<int>(addedEnd_), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    cutting_ = false;
}

bool MessageTextField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &edit_ || event->type() != QEvent::KeyPress || edit_.isReadOnly())
        return false;
    const std::size_t typed = UnitsTypedBy(*static_cast<QKeyEvent*>(event));
    if (typed == 0)
        return false;
    const QTextCursor cursor = edit_.textCursor();
    const std::size_t kept = Units(0, static_cast<qsizetype>(wire_.size())) -
                             Units(cursor.selectionStart(), cursor.selectionEnd());
    return kept + typed > maxUnits_;  // true: the key press is refused
}
