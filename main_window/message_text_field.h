#pragma once
// The SMS text box as the protocol sees it: a wire text of at most a given
// number of UTF-16 code units, a line break counting as CR LF.
//
// Qt's text edit turns CR LF, a lone CR and a lone LF alike into one
// paragraph break, so the exact text last set by the program is remembered
// together with the document it produced: as long as the user has not
// changed the document, that exact text is what the field holds. That is
// what lets the read-back append a CR and then an LF and get one break.

#include <QObject>
#include <QString>
#include <cstddef>
#include <string>

class QPlainTextEdit;
class QTextCursor;

class MessageTextField : public QObject {
public:
    MessageTextField(QPlainTextEdit& edit, std::size_t maxUnits);

    std::u16string Text() const;
    // Sets the text, cut to the limit; raises the edit's change like typing.
    void SetText(const std::u16string& text);

private:
    void NoteChange(int position, int removed, int added);
    void KeepWithinLimit();
    // Removes characters before `end`, down to `floor` at most, until
    // `excess` wire units are gone; lowers `excess` by what it removed.
    void RemoveTail(QTextCursor& cursor, int floor, int end, std::size_t& excess);
    QString WireText() const;

    QPlainTextEdit& edit_;
    std::size_t maxUnits_;
    QString programText_;       // last text the program set, exactly
    QString programDocument_;   // the document's raw text right after it
    bool adjusting_ = false;
    int changeStart_ = 0;       // the characters the last edit added
    int changeEnd_ = 0;
};
