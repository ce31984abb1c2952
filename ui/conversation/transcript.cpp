#include "transcript.h"

#include "history.h"

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace Transcript {

namespace {
const QColor NoticeColour(0x60, 0x60, 0x60);

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

void leaveCaretAtEnd(QTextEdit *view, const QTextCursor &cursor)
{
    view->setTextCursor(cursor);
}

// The entry's runs after whatever the line starts with.
void insertEntry(QTextCursor &cursor, const QString &start, Speaker speaker, const QString &name, const QString &body,
                 const QString &separator)
{
    QTextCharFormat header;
    header.setFontWeight(QFont::Bold);
    header.setForeground(speaker == Speaker::Self ? QColor(0xFF, 0x00, 0x00) : QColor(0x00, 0x00, 0xFF));
    cursor.insertText(start + name + separator, header);

    QTextCharFormat regular;
    regular.setFontWeight(QFont::Normal);
    regular.setForeground(QColor(0x00, 0x00, 0x00));
    cursor.insertText(body, regular);
}
} // namespace

void appendEntry(QTextEdit *view, Speaker speaker, const QString &name, const QString &body,
                 const QString &separator)
{
    QTextCursor cursor = endCursor(view);
    insertEntry(cursor, QStringLiteral("\r\n"), speaker, name, body, separator);
    leaveCaretAtEnd(view, cursor);
    History::recordEntry(view, speaker, name, body, separator);
}

void appendKeptEntry(QTextEdit *view, const QDateTime &time, Speaker speaker, const QString &name,
                     const QString &body, const QString &separator)
{
    QTextCursor cursor = endCursor(view);
    cursor.insertText(QStringLiteral("\r\n") + QLocale().toString(time, QLocale::ShortFormat) + QLatin1Char(' '),
                      noticeFormat());
    insertEntry(cursor, QString(), speaker, name, body, separator);
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
    cursor.insertText(text);
    leaveCaretAtEnd(view, cursor);
}

void setText(QTextEdit *view, const QString &text)
{
    view->setPlainText(text);
    view->moveCursor(QTextCursor::End);
}

} // namespace Transcript
