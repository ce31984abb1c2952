#pragma once

// The one transcript writer for conversations and chat rooms. Every entry goes
// at the very end, whatever the user has selected, as plain text runs: remote
// text is never read as markup. Links are made afterwards, from the plain text
// alone: the web and mail addresses written out in a body (WebLinks), each
// linked to exactly the address it shows, in views that open them
// (TranscriptLinks).

#include <QDateTime>
#include <QString>
#include <QTextCursor>

class QTextEdit;

namespace Transcript {

enum class Speaker {
    Self, // the user: red FF0000
    Other, // everybody else: blue 0000FF
};

inline const QString NameSeparator = QStringLiteral(": ");
inline const QString AutoReplySeparator = QStringLiteral(":(Auto) ");

// Whether the lines written into view from now on start with their local time.
void showTimes(QTextEdit *view, bool shown);
bool showsTimes(const QTextEdit *view);

// CR LF, the time (see showTimes), name and separator in bold in the
// speaker's colour, then the body in regular black with its addresses as
// underlined links. The entry also goes to the history the view follows, if
// any. said: when it was said, if not just now (a kept line shown again).
void appendEntry(QTextEdit *view, Speaker speaker, const QString &name, const QString &body,
                 const QString &separator = NameSeparator, const QDateTime &said = QDateTime());

// An entry read back from the kept history: CR LF, the time it was said in
// dark grey, then the entry as above. It is not kept again.
void appendKeptEntry(QTextEdit *view, const QDateTime &time, Speaker speaker, const QString &name, const QString &body,
                     const QString &separator = NameSeparator);

// A line from the program itself, not from a speaker: CR LF and the text in
// italic dark grey, so it never passes for something a person wrote.
void appendNotice(QTextEdit *view, const QString &text);

// A note at the end of the last entry, in the notices' grey italic, that
// can be changed in place later (a message waiting to go, then sent or not).
// The cursor returned selects it and follows later changes to the view.
QTextCursor appendMark(QTextEdit *view, const QString &text);
void changeMark(QTextCursor &mark, const QString &text);

// A run in whatever formatting is in effect at the end of the transcript
// (never a link's).
void appendText(QTextEdit *view, const QString &text);
// CR LF, the time (see showTimes), then text as appendText writes it.
void appendLine(QTextEdit *view, const QString &text);

// Replaces the whole transcript with plain text.
void setText(QTextEdit *view, const QString &text);

} // namespace Transcript
