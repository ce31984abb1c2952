#pragma once

// HtmlText: the markup that TOC2 messages carry, read as text. Messages on
// this network are HTML; Qiv never shows markup, so everything remote passes
// through here before a window shows it.

#include <QByteArray>
#include <QByteArrayView>

namespace HtmlText {

// Markup tags removed: each "<" paired with the nearest ">" after it; a "<"
// without one stays as it is.
QByteArray removeTags(QByteArrayView html);

} // namespace HtmlText
