#pragma once

// ClientConnection: one client's TCP connection up to the command line. Checks
// the "FLAPON" preamble, exchanges the FLAP sign-on frames, cuts frames, answers
// keep-alives and hands every command line on; it knows nothing of users. A
// connection that starts with an HTTP request gets the update notice instead.
// Anything a TOC client would never send ends the connection, never the server.

#include "session/flap.h"

#include <QByteArray>
#include <QObject>

class QTcpSocket;
class QTimer;

class ClientConnection : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientConnection)
public:
    // More than this many unsent bytes means the client stopped reading.
    static constexpr qint64 MaxUnsentBytes = 1 << 20;
    // A client gets this long to finish the FLAP sign-on exchange.
    static constexpr int SignOnTimeoutMs = 30000;

    // Adopts the socket; deletes itself once the connection has ended.
    explicit ClientConnection(QTcpSocket *socket, QObject *parent = nullptr);

    // The normalized name the client sent in its FLAP sign-on frame.
    const QByteArray &signOnName() const { return m_signOnName; }
    // Set by the command handler once the client has signed on.
    const QByteArray &userKey() const { return m_userKey; }
    void setUserKey(const QByteArray &key) { m_userKey = key; }
    bool isOpen() const { return m_phase != Phase::Closed; }

    // Sends one server message as a data frame.
    void sendMessage(const QByteArray &message);
    // Sends what is queued, then hangs up; closed() is emitted at once.
    void close();

signals:
    void commandReceived(ClientConnection *connection, const QByteArray &line);
    // Emitted exactly once, when the connection ends for whatever reason.
    void closed(ClientConnection *connection);

private:
    enum class Phase { Preamble, SignOnFrame, Commands, UpdateRequest, Closed };

    void onReadyRead();
    void takePreamble(QByteArray &bytes);
    void takeUpdateRequest(const QByteArray &bytes);
    bool headerAcceptable(const Flap::Header &header) const;
    void handleFrame(const QByteArray &frame);
    void handleSignOnFrame(QByteArrayView payload);
    void sendFrame(quint8 type, const QByteArray &payload);
    void finish();

    QTcpSocket *m_socket;
    QTimer *m_signOnTimer;
    Phase m_phase = Phase::Preamble;
    QByteArray m_preamble;
    QByteArray m_updateRequest;
    Flap::FrameSplitter m_frames;
    quint16 m_sequence = 0;
    QByteArray m_signOnName;
    QByteArray m_userKey;
    bool m_stalled = false;
};
