#pragma once

// FLAP framing shared by the client and the local server: every TOC2 message
// travels in a frame "*", type, sequence (2 bytes), length (2 bytes), payload.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace Flap {

inline constexpr char StartMarker = '*';
inline constexpr int HeaderSize = 6;
// The length field is 16 bits wide; a longer payload cannot be framed honestly.
inline constexpr int MaxPayloadSize = 65535;

enum FrameType : quint8 {
    SignOn = 1,
    Data = 2,
    ErrorFrame = 3,
    SignOff = 4,
    KeepAlive = 5,
};

// The 16-bit value high byte first.
QByteArray EncodeWord(quint16 value);
// First byte * 256 + second byte; a missing byte counts as 0.
int DecodeWord(QByteArrayView bytes);

// A whole frame around payload, or an empty array when the payload does not fit
// the length field. Data frames must already carry their terminating NUL.
QByteArray buildFrame(quint8 type, quint16 sequence, QByteArrayView payload);

inline quint8 frameType(QByteArrayView frame) { return frame.size() > 1 ? quint8(frame[1]) : 0; }
inline QByteArrayView framePayload(QByteArrayView frame)
{
    return frame.size() > HeaderSize ? frame.sliced(HeaderSize) : QByteArrayView();
}

// Cuts a byte stream into whole frames. Bytes are appended as they arrive and
// frames are taken one at a time; a read offset keeps the cost linear in the
// bytes received. Between arrivals it holds less than one frame.
// The six header bytes of a frame, decoded.
struct Header
{
    char marker = 0;
    quint8 type = 0;
    quint16 sequence = 0;
    quint16 length = 0;
};

class FrameSplitter
{
public:
    void append(QByteArrayView bytes);
    // The header of the frame being assembled, once its six bytes are in, so a
    // receiver can refuse a frame by its header before the payload arrives.
    std::optional<Header> peekHeader() const;
    // The same, but an arrival that starts on a frame boundary is shared
    // rather than copied: the usual case of a socket read holding whole frames.
    void appendShared(const QByteArray &bytes);
    // The next whole frame (header and payload), or nothing while it is incomplete.
    std::optional<QByteArray> next();
    void clear();
    qsizetype bufferedBytes() const { return m_buffer.size() - m_readPos; }

private:
    QByteArray m_buffer;
    qsizetype m_readPos = 0;
};

} // namespace Flap
