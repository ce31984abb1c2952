#pragma once

// The one transcript writer for conversations and chat rooms. Every entry goes
// at the very end, whatever the user has selected, as plain text runs: remote
// text is never read as markup.

#include <QString>
#include <QTextCursor>

class QDateTime;
class QTextEdit;

namespace Transcript {

enum class Speaker {
    Self,  // the user: red FF0000
    Other, // everybody else: blue 0000FF
};

inline const QString NameSeparator = QStringLiteral(": ");
inline const QString AutoReplySeparator = QStringLiteral(":(Auto) ");

// CR LF, name and separator in bold in the speaker's colour, then the body in
// regular black. The entry also goes to the history the view follows, if any.
void appendEntry(QTextEdit *view, Speaker speaker, const QString &name, const QString &body,
                 const QString &separator = NameSeparator);

// An entry read back from the kept history: CR LF, the time it was said in
// dark grey, then the entry as above. It is not kept again.
void appendKeptEntry(QTextEdit *view, const QDateTime &time, Speaker speaker, const QString &name,
                     const QString &body, const QString &separator = NameSeparator);

// A line from the program itself, not from a speaker: CR LF and the text in
// italic dark grey, so it never passes for something a person wrote.
void appendNotice(QTextEdit *view, const QString &text);

// A note at the end of the last entry, in the notices' grey italic, that
// can be changed in place later (a message waiting to go, then sent or not).
// The cursor returned selects it and follows later changes to the view.
QTextCursor appendMark(QTextEdit *view, const QString &text);
void changeMark(QTextCursor &mark, const QString &text);

// A run in whatever formatting is in effect at the end of the transcript.
void appendText(QTextEdit *view, const QString &text);

// Replaces the whole transcript with plain text.
void setText(QTextEdit *view, const QString &text);

} // namespace Transcript
