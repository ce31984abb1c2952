#include "flap.h"

#include <utility>

namespace Flap {

QByteArray EncodeWord(quint16 value)
{
    QByteArray word(2, '\0');
    word[0] = char(value >> 8);
    word[1] = char(value & 0xFF);
    return word;
}

int DecodeWord(QByteArrayView bytes)
{
    const int high = bytes.size() > 0 ? quint8(bytes[0]) : 0;
    const int low = bytes.size() > 1 ? quint8(bytes[1]) : 0;
    return high * 256 + low;
}

QByteArray buildFrame(quint8 type, quint16 sequence, QByteArrayView payload)
{
    if (payload.size() > MaxPayloadSize)
        return {};
    QByteArray frame;
    frame.reserve(HeaderSize + payload.size());
    frame.append(StartMarker);
    frame.append(char(type));
    frame.append(EncodeWord(sequence));
    frame.append(EncodeWord(quint16(payload.size())));
    frame.append(payload);
    return frame;
}

void FrameSplitter::append(QByteArrayView bytes)
{
    if (m_readPos > 0) {
        // Only the unfinished frame is left; moving it once per arrival keeps
        // the total work proportional to the bytes received.
        m_buffer.remove(0, m_readPos);
        m_readPos = 0;
    }
    m_buffer.append(bytes);
}

std::optional<Header> FrameSplitter::peekHeader() const
{
    if (m_buffer.size() - m_readPos < HeaderSize)
        return std::nullopt;
    const QByteArrayView header = QByteArrayView(m_buffer).sliced(m_readPos, HeaderSize);
    return Header{header[0], quint8(header[1]), quint16(DecodeWord(header.sliced(2, 2))),
                  quint16(DecodeWord(header.sliced(4, 2)))};
}

void FrameSplitter::appendShared(const QByteArray &bytes)
{
    if (m_readPos == m_buffer.size()) {
        m_buffer = bytes;
        m_readPos = 0;
        return;
    }
    append(bytes);
}

std::optional<QByteArray> FrameSplitter::next()
{
    const qsizetype available = m_buffer.size() - m_readPos;
    // With fewer than six bytes the length field is incomplete, and the missing
    // bytes counted as zero always give a length beyond what is there.
    if (available < HeaderSize)
        return std::nullopt;
    const qsizetype length = DecodeWord(QByteArrayView(m_buffer).sliced(m_readPos + 4, 2)) + HeaderSize;
    if (available < length)
        return std::nullopt;
    if (m_readPos == 0 && length == m_buffer.size()) {
        // The buffer is exactly one frame: hand it over without a copy.
        QByteArray frame = std::exchange(m_buffer, QByteArray());
        return frame;
    }
    QByteArray frame = m_buffer.mid(m_readPos, length);
    m_readPos += length;
    if (m_readPos == m_buffer.size()) {
        m_buffer.clear();
        m_readPos = 0;
    }
    return frame;
}

void FrameSplitter::clear()
{
    m_buffer.clear();
    m_readPos = 0;
}

} // namespace Flap
