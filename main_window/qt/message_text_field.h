// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The SMS text box as the protocol sees it: a wire text of at most a given
// number of UTF-16 code units.
//
// Qt's text edit turns CR LF, a lone CR and a lone LF alike into one
// paragraph break, so the field keeps, for every character of the document,
// the exact code units it stands for on the wire. A break the program set
// keeps the form it came in (a lone CR from the unit stays a lone CR); a
// break the user makes is CR LF. Undo and redo bring back the mapping the
// document had at that step.

#include <QObject>
#include <QString>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

class QPlainTextEdit;

class MessageTextField : public QObject {
public:
    MessageTextField(QPlainTextEdit& edit, std::size_t maxUnits);

    std::u16string Text() const;
    // Sets the text, cut to the limit; raises the edit's change like typing.
    void SetText(const std::u16string& text);
    // Applies to what is typed, pasted or set from now on.
    void SetMaxUnits(std::size_t maxUnits) { maxUnits_ = maxUnits; }

protected:
    // Refuses a typed character (or line break) that does not fit, before
    // it reaches the document and its undo history.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NoteChange(int position, int removed, int added);
    void MapProgramText(const QString& wire);
    void Splice(int position, int removed, const QString& raw);
    void KeepWithinLimit();
    std::size_t Units(qsizetype from, qsizetype to) const;

    QPlainTextEdit& edit_;
    std::size_t maxUnits_;
    std::vector<QString> wire_;  // per document character, its wire code units
    QString document_;           // the document's raw text that wire_ maps
    // wire_ as it was at each undo step of the current history.
    std::map<int, std::vector<QString>> atUndoStep_;
    bool settingText_ = false;
    bool cutting_ = false;
    bool newCommand_ = false;  // the next change is a new edit, not undo/redo
    qsizetype addedStart_ = 0;  // the characters the last edit added
    qsizetype addedEnd_ = 0;
};
