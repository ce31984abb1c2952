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

} // namespace WireText
