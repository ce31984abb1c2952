#pragma once

// Frames as a server sends them, for tests, benchmarks and fuzz targets that
// play the server's side of a connection.

#include <QByteArray>
#include <QtGlobal>

namespace ServerFrames {

// A server data frame carrying one TOC2 message, numbered after the one before.
QByteArray serverFrame(const QByteArray &message);
// The same with its sequence number given, where a stream must come out the
// same on every run.
QByteArray serverFrame(const QByteArray &message, quint16 sequence);
// The server's FLAP sign-on frame.
QByteArray serverSignOnFrame();
// Only the header of a frame of type that promises length bytes of payload.
QByteArray serverFrameHeader(quint8 type, quint16 length);

} // namespace ServerFrames
