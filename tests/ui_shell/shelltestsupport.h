#pragma once

// Helpers for the shell's window tests: reading what the session wrote,
// building server frames, and saving pictures of windows.

#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

namespace ShellTest {

// The text of every data frame in bytes written by the client, without the
// raw "FLAPON" preamble and without each frame's terminating NUL.
QList<QByteArray> dataLines(const QByteArray &written);

// A server data frame carrying one TOC2 message.
QByteArray serverFrame(const QByteArray &message);
// The server's FLAP sign-on frame.
QByteArray serverSignOnFrame();

// Saves widget->grab() as <name>.png in the build's screenshots folder.
void saveScreenshot(QWidget *widget, const QString &name);

} // namespace ShellTest
