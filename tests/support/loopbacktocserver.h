#pragma once

// A scripted TOC2 server on 127.0.0.1 for tests that need a real socket.
// It takes one client, expects "FLAPON\n\n", sends the FLAP sign-on frame,
// answers toc2_login with SIGN_ON, NICK and CONFIG2, and from then on sends
// whatever the test asks for and records every frame the client sends.

#include "session/flap.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;

class LoopbackTocServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoopbackTocServer)
public:
    static constexpr int DefaultTimeoutMs = 5000;

    // Listens on a free port of 127.0.0.1 at once.
    explicit LoopbackTocServer(QObject *parent = nullptr);
    ~LoopbackTocServer() override;

    quint16 port() const;

    // The configuration text sent after the login line ("CONFIG2:" is added).
    QByteArray config = "m:1\ng:Buddies\nb:friend\ndone:\n";
    // The display name sent in NICK; empty sends the name of the login line.
    QByteArray nick;

    bool waitForClient(int timeoutMs = DefaultTimeoutMs);
    // Until the client has sent a command line starting with prefix.
    bool waitForCommand(QByteArrayView prefix, int timeoutMs = DefaultTimeoutMs);
    bool waitForDisconnect(int timeoutMs = DefaultTimeoutMs);

    void sendFrame(quint8 type, QByteArrayView payload);
    void sendData(QByteArrayView message) { sendFrame(Flap::Data, message); }
    // Ends the connection the way a server does: a clean close.
    void closeClient();

    bool sawPreamble() const { return m_sawPreamble; }
    // Every whole frame the client sent, header included, in order.
    const QList<QByteArray> &receivedFrames() const { return m_frames; }
    // The command lines of the client's data frames, without their NUL.
    QList<QByteArray> receivedCommands() const;

signals:
    void frameReceived(const QByteArray &frame);

private:
    void onNewConnection();
    void onReadyRead();
    void handleFrame(const QByteArray &frame);

    QTcpServer *m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_preamble;
    bool m_sawPreamble = false;
    Flap::FrameSplitter m_splitter;
    QList<QByteArray> m_frames;
    quint16 m_sequence = 0;
};
