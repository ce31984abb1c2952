#include "serverframes.h"

#include "flap.h"


namespace ServerFrames {

QByteArray serverFrame(const QByteArray &message)
{
    static quint16 sequence = 100;
    return Flap::buildFrame(Flap::Data, sequence++, message);
}

QByteArray serverSignOnFrame()
{
    return Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4));
}

} // namespace ServerFrames
