#include "wiretext.h"

#include "htmltext.h"

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

QByteArray toWire(const QString &text) { return text.toUtf8(); }

QString fromWireHtml(QByteArrayView bytes) { return HtmlText::toPlainText(fromWire(bytes)); }

QByteArray toWireHtml(const QString &stylePrefix, const QString &typed)
{
    return toWire(stylePrefix + HtmlText::escape(typed));
}

} // namespace WireText
