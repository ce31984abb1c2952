#include "serverframes.h"

#include "session/flap.h"

namespace ServerFrames {

QByteArray serverFrame(const QByteArray &message)
{
    // The client does not check the server's numbering; counting on keeps it realistic.
    static quint16 sequence = 100;
    return serverFrame(message, sequence++);
}

QByteArray serverFrame(const QByteArray &message, quint16 sequence)
{
    return Flap::buildFrame(Flap::Data, sequence, message);
}

QByteArray serverSignOnFrame() { return Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4)); }

QByteArray serverFrameHeader(quint8 type, quint16 length)
{
    return Flap::buildFrame(type, 7, QByteArray(length, 'x')).first(Flap::HeaderSize);
}

} // namespace ServerFrames
