#pragma once

// Frames a scripted server sends, for window tests on a fake connection.

#include <QByteArray>
#include <QList>
#include <QString>


namespace ServerFrames {

// A server data frame carrying one TOC2 message.
QByteArray serverFrame(const QByteArray &message);
// The server's FLAP sign-on frame.
QByteArray serverSignOnFrame();

} // namespace ServerFrames
