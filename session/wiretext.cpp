#include "wiretext.h"

#include <QStringDecoder>

namespace WireText {

QString fromWire(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return QString::fromLatin1(bytes.data(), bytes.size());
    return text;
}

QByteArray toWire(const QString &text)
{
    return text.toUtf8();
}

} // namespace WireText
