#pragma once

// Shared pieces of the session tests: server frames written out byte by byte,
// a log of every signal in the order raised, and a fixture that owns a session
// on a FakeSocket.

#include "fakesocket.h"
#include "wirelines.h"
#include "printers.h"
#include "session/quortocsock.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

// A frame as a server writes it (server data frames carry no NUL).
QByteArray frame(quint8 type, QByteArrayView payload, quint16 sequence = 0);
inline QByteArray data(QByteArrayView payload) { return frame(2, payload); }

// One line per signal, "Name arg|arg|...", in the order the session raised
// them; bools read T/F and lists {a,b}. IncomingPacket is logged without its
// bytes (they are checked separately through packets).
class EventLog : public QObject
{
public:
    explicit EventLog(QuorTOCSock *toc);
    QStringList lines;
    QList<QByteArray> packets;
    // The lines other than IncomingPacket.
    QStringList events() const;
    void clear();

private:
    void add(const QString &line) { lines.append(line); }
};

class SessionTest : public ::testing::Test
{
protected:
    SessionTest();

    // Login, connect, sign-on frame, SIGN_ON and a one-line CONFIG2; leaves the
    // written bytes and the log empty.
    void signOn(const QByteArray &userName = "Some Body");
    // The command lines written since the last take.
    QList<QByteArray> takeLines() { return commandLines(sock->takeWritten()); }
    void deliver(const QByteArray &bytes) { sock->deliver(bytes); }

    FakeSocket *sock;
    QuorTOCSock toc;
    EventLog log;
};
