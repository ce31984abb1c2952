#pragma once

// HtmlText: messages on a TOC2 network are HTML. What a user types goes out
// as HTML text, so that every client shows exactly those characters; what
// arrives is read back as the text a person would see, never as markup. And
// everything HTML-bearing is kept readable by Open OSCAR Server, whose
// argument reader ends an argument at a double quote followed by a space.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace HtmlText {

// Markup tags removed: each "<" paired with the nearest ">" after it; a "<"
// without one stays as it is.
QByteArray removeTags(QByteArrayView html);

// Typed text as HTML text: & < > " as character entities, a line break as
// <br>, and a space that HTML would fold into the one before it, or that the
// server would trim from either end, as &nbsp;.
QString escape(const QString &typed);

// Remote HTML as the text a person reads: tags removed, <br> as a line
// break, character entities decoded once (so "&amp;lt;" reads "&lt;"), and a
// link's address kept after its text when the two differ: "text (address)".
QString toPlainText(const QString &html);

// The same HTML, meaning the same, with no double quote followed by white
// space or by its end: inside a tag the white space after it becomes a tab
// (any white space separates attributes), in text the quote becomes &quot;.
QByteArray guardQuotes(QByteArrayView html);

} // namespace HtmlText
