#include "wirelog.h"

#include "flap.h"

#include <QList>

Q_LOGGING_CATEGORY(lcWire, "qiv.session.wire", QtCriticalMsg)

namespace WireLog {

namespace {
const QByteArray Hidden = QByteArrayLiteral("********");

// The sign-on line's fifth word is the (merely obscured) password; a password
// change carries two in quotes, which may hold spaces, so all of it goes.
QByteArray masked(QByteArray payload)
{
    if (payload.startsWith("toc2_login ") || payload.startsWith("toc_signon ")) {
        QList<QByteArray> words = payload.split(' ');
        if (words.size() > 4)
            words[4] = Hidden;
        return words.join(' ');
    }
    if (payload.startsWith("toc_change_passwd "))
        return "toc_change_passwd " + Hidden;
    return payload;
}
} // namespace

QByteArray printable(QByteArrayView bytes)
{
    QByteArray text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127 && c != '\\') {
            text += c;
        } else {
            text += "\\x";
            text += "0123456789abcdef"[u >> 4];
            text += "0123456789abcdef"[u & 15];
        }
    }
    return text;
}

QByteArray describeFrame(QByteArrayView frame)
{
    QByteArray payload = Flap::framePayload(frame).toByteArray();
    if (Flap::frameType(frame) == Flap::Data)
        payload = masked(std::move(payload));
    const int sequence = frame.size() >= 4 ? Flap::DecodeWord(frame.sliced(2, 2)) : 0;
    return "type " + QByteArray::number(Flap::frameType(frame)) + " seq " + QByteArray::number(sequence) + ": "
        + printable(payload);
}

} // namespace WireLog
