#include "transcript.h"

#include "history.h"
#include "transcriptlinks.h"
#include "weblinks.h"

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace Transcript {

namespace {
const QColor NoticeColour(0x60, 0x60, 0x60);
const QColor LinkColour(0x00, 0x66, 0xCC);
// Set on a view whose lines start with their time.
const char *const TimesShown = "qivTranscriptTimesShown";

QTextCharFormat noticeFormat()
{
    QTextCharFormat notice;
    notice.setFontWeight(QFont::Normal);
    notice.setFontItalic(true);
    notice.setForeground(NoticeColour);
    return notice;
}

QTextCursor endCursor(QTextEdit *view)
{
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

void leaveCaretAtEnd(QTextEdit *view, const QTextCursor &cursor) { view->setTextCursor(cursor); }

QTextCharFormat bodyFormat()
{
    QTextCharFormat regular;
    regular.setFontWeight(QFont::Normal);
    regular.setForeground(QColor(0x00, 0x00, 0x00));
    return regular;
}

// The body's text as it is, its addresses as links to exactly what they show.
void insertBody(QTextCursor &cursor, const QString &body, bool linked)
{
    const QTextCharFormat regular = bodyFormat();
    qsizetype written = 0;
    if (linked) {
        for (const WebLinks::Span &span : WebLinks::find(body)) {
            cursor.insertText(body.sliced(written, span.start - written), regular);
            const QString address = body.sliced(span.start, span.length);
            QTextCharFormat link = regular;
            link.setAnchor(true);
            link.setAnchorHref(address);
            link.setFontUnderline(true);
            link.setForeground(LinkColour);
            cursor.insertText(address, link);
            written = span.start + span.length;
        }
    }
    cursor.insertText(body.sliced(written), regular);
}

// The entry's runs after whatever the line starts with.
void insertEntry(QTextCursor &cursor, const QString &start, Speaker speaker, const QString &name, const QString &body,
                 const QString &separator, bool linked)
{
    QTextCharFormat header;
    header.setFontWeight(QFont::Bold);
    header.setForeground(speaker == Speaker::Self ? QColor(0xFF, 0x00, 0x00) : QColor(0x00, 0x00, 0xFF));
    cursor.insertText(start + name + separator, header);
    insertBody(cursor, body, linked);
}

// Starts a new line with the time it was said at, where times are shown:
// the time of day for today's lines, with the date for older ones. Returns
// what the line's own first run must start with.
QString startLine(QTextEdit *view, QTextCursor &cursor, const QDateTime &said)
{
    const QString lineBreak = QStringLiteral("\r\n");
    if (!showsTimes(view))
        return lineBreak;
    const QDateTime time = said.isValid() ? said.toLocalTime() : QDateTime::currentDateTime();
    const QString shown = time.date() == QDate::currentDate() ? QLocale().toString(time.time(), QLocale::ShortFormat)
                                                              : QLocale().toString(time, QLocale::ShortFormat);
    cursor.insertText(lineBreak + shown + QLatin1Char(' '), noticeFormat());
    return QString();
}

// What appendText writes with: the formatting at the end, unless it is a link's.
QTextCharFormat formatAtEnd(const QTextCursor &end)
{
    return end.charFormat().isAnchor() ? bodyFormat() : end.charFormat();
}
} // namespace

void showTimes(QTextEdit *view, bool shown) { view->setProperty(TimesShown, shown); }

bool showsTimes(const QTextEdit *view) { return view->property(TimesShown).toBool(); }

void appendEntry(QTextEdit *view, Speaker speaker, const QString &name, const QString &body, const QString &separator,
                 const QDateTime &said)
{
    QTextCursor cursor = endCursor(view);
    const QString start = startLine(view, cursor, said);
    insertEntry(cursor, start, speaker, name, body, separator, TranscriptLinks::isAttached(view));
    leaveCaretAtEnd(view, cursor);
    History::recordEntry(view, speaker, name, body, separator);
}

void appendKeptEntry(QTextEdit *view, const QDateTime &time, Speaker speaker, const QString &name, const QString &body,
                     const QString &separator)
{
    QTextCursor cursor = endCursor(view);
    cursor.insertText(QStringLiteral("\r\n") + QLocale().toString(time, QLocale::ShortFormat) + QLatin1Char(' '),
                      noticeFormat());
    insertEntry(cursor, QString(), speaker, name, body, separator, TranscriptLinks::isAttached(view));
    leaveCaretAtEnd(view, cursor);
}

void appendNotice(QTextEdit *view, const QString &text)
{
    QTextCursor cursor = endCursor(view);
    cursor.insertText(QStringLiteral("\r\n") + text, noticeFormat());
    leaveCaretAtEnd(view, cursor);
}

QTextCursor appendMark(QTextEdit *view, const QString &text)
{
    QTextCursor mark = endCursor(view);
    const int start = mark.position();
    mark.insertText(text, noticeFormat());
    leaveCaretAtEnd(view, mark);
    // Entries appended later land after the mark, never inside it.
    mark.setKeepPositionOnInsert(true);
    mark.setPosition(start);
    mark.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
    return mark;
}

void changeMark(QTextCursor &mark, const QString &text)
{
    const int start = mark.selectionStart();
    mark.insertText(text, noticeFormat());
    mark.setPosition(start);
    mark.setPosition(start + int(text.size()), QTextCursor::KeepAnchor);
}

void appendText(QTextEdit *view, const QString &text)
{
    QTextCursor cursor = endCursor(view);
    cursor.insertText(text, formatAtEnd(cursor));
    leaveCaretAtEnd(view, cursor);
}

void appendLine(QTextEdit *view, const QString &text)
{
    QTextCursor cursor = endCursor(view);
    const QTextCharFormat format = formatAtEnd(cursor);
    const QString start = startLine(view, cursor, QDateTime());
    cursor.insertText(start + text, format);
    leaveCaretAtEnd(view, cursor);
}

void setText(QTextEdit *view, const QString &text)
{
    view->setPlainText(text);
    view->moveCursor(QTextCursor::End);
}

} // namespace Transcript
