#pragma once

// Reading back what the client wrote: its frames and its command lines.

#include <QByteArray>
#include <QList>

// The frames in bytes written by the client, after the raw "FLAPON" preamble.
QList<QByteArray> writtenFrames(QByteArray written);

// The text of every data frame, without the preamble and without each frame's
// terminating NUL (a data frame that lacks it fails the test).
QList<QByteArray> commandLines(const QByteArray &written);
