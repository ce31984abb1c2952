#pragma once

// The one conversion between protocol bytes and screen text. The sign-on line
// announces UTF-8, so server text is read as UTF-8; bytes that are not valid
// UTF-8 are read as Latin-1 so that nothing turns into replacement marks.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace WireText {

QString fromWire(QByteArrayView bytes);
QByteArray toWire(const QString &text);

// A message from the network as the text a person reads (HtmlText::toPlainText).
QString fromWireHtml(QByteArrayView bytes);
// What the user typed, after the message style prefix (which is markup), as
// the bytes of an HTML message that shows exactly what was typed.
QByteArray toWireHtml(const QString &stylePrefix, const QString &typed);

} // namespace WireText
