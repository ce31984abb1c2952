#pragma once

// A client that does only what the wire asks of it, on a plain QTcpSocket:
// the floor of the network figures, and the "other client" of the interop
// tests, which sees a message's bytes as they arrived. It writes the same
// bytes as Qiv's session (the same command builders, the same frames) and
// reads only the end of the configuration, presence and instant messages.

#include "benchclient.h"

#include <QByteArrayView>
#include <QHostAddress>
#include <QTcpSocket>

class BareClient final : public BenchClient
{
public:
    BareClient(const QByteArray &screenName, const QByteArray &password, const QHostAddress &source);

    void login(quint16 port) override;
    void sendIm(const QByteArray &to, const QByteArray &message) override;
    void logOff() override;

private:
    void readFrames();
    void handle(quint8 type, QByteArrayView payload);
    void handleData(QByteArrayView payload);
    void send(quint8 type, const QByteArray &payload);

    QTcpSocket m_socket;
    QHostAddress m_source;
    QByteArray m_roastedPassword;
    quint16 m_port = 0;
    quint16 m_sequence = 0;
    QByteArray m_buffer;
    qsizetype m_read = 0;
    QByteArray m_config;
};
