#include "wirelines.h"

#include "session/flap.h"

#include <gtest/gtest.h>

QList<QByteArray> writtenFrames(QByteArray written)
{
    // Cut by reading the headers directly rather than with the client's own
    // splitter, so the client's framing is checked against something else.
    if (written.startsWith("FLAPON\n\n"))
        written.remove(0, 8);
    QList<QByteArray> frames;
    qsizetype pos = 0;
    while (pos + Flap::HeaderSize <= written.size()) {
        const qsizetype length = quint8(written[pos + 4]) * 256 + quint8(written[pos + 5]);
        frames.append(written.mid(pos, Flap::HeaderSize + length));
        pos += Flap::HeaderSize + length;
    }
    EXPECT_EQ(pos, written.size()) << "written bytes end inside a frame";
    return frames;
}

QList<QByteArray> commandLines(const QByteArray &written)
{
    QList<QByteArray> lines;
    for (const QByteArray &frame : writtenFrames(written)) {
        if (Flap::frameType(frame) != Flap::Data)
            continue;
        EXPECT_TRUE(frame.endsWith('\0')) << "data frame without its NUL";
        lines.append(frame.mid(Flap::HeaderSize, frame.size() - Flap::HeaderSize - 1));
    }
    return lines;
}
