#pragma once

// TocServer: the listening socket of the local TOC2 network. Accepts clients,
// gives each a ClientConnection and passes their command lines and endings to
// the one CommandHandler. Nothing a client does stops it.

#include "commandhandler.h"
#include "session/tocprotocol.h"

#include <QHostAddress>
#include <QObject>

class QTcpServer;
class ClientConnection;

class TocServer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TocServer)
public:
    static constexpr quint16 DefaultPort = TocProtocol::DefaultPort;
    // Connections beyond the limit are hung up at once.
    static constexpr int DefaultMaxConnections = 512;

    explicit TocServer(QObject *parent = nullptr);
    ~TocServer() override;

    bool listen(const QHostAddress &address, quint16 port);
    void setMaxConnections(int limit) { m_maxConnections = limit; }
    QHostAddress serverAddress() const;
    quint16 serverPort() const;
    QString errorString() const;
    int connectionCount() const { return m_connectionCount; }
    const CommandHandler &handler() const { return m_handler; }

private:
    void onNewConnection();

    QTcpServer *m_listener;
    CommandHandler m_handler;
    int m_connectionCount = 0;
    int m_maxConnections = DefaultMaxConnections;
};
