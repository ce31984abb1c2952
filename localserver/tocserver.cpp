#include "tocserver.h"

#include "clientconnection.h"

#include <QTcpServer>
#include <QTcpSocket>

TocServer::TocServer(QObject *parent)
    : QObject(parent)
    , m_listener(new QTcpServer(this))
{
    connect(m_listener, &QTcpServer::newConnection, this, &TocServer::onNewConnection);
}

TocServer::~TocServer()
{
    // Connections are children; their closed() must not reach a handler that
    // is already being torn down.
    for (ClientConnection *connection : findChildren<ClientConnection *>(Qt::FindDirectChildrenOnly))
        disconnect(connection, nullptr, this, nullptr);
}

bool TocServer::listen(const QHostAddress &address, quint16 port) { return m_listener->listen(address, port); }

QHostAddress TocServer::serverAddress() const { return m_listener->serverAddress(); }
quint16 TocServer::serverPort() const { return m_listener->serverPort(); }
QString TocServer::errorString() const { return m_listener->errorString(); }

void TocServer::onNewConnection()
{
    while (QTcpSocket *socket = m_listener->nextPendingConnection()) {
        if (m_connectionCount >= m_maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Server messages are small and answer what a client just said;
        // holding them back for the client's acknowledgement only adds delay.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto *connection = new ClientConnection(socket, this);
        ++m_connectionCount;
        connect(connection, &QObject::destroyed, this, [this] { --m_connectionCount; });
        connect(connection, &ClientConnection::commandReceived, this,
                [this](ClientConnection *from, const QByteArray &line) { m_handler.handleCommand(from, line); });
        connect(connection, &ClientConnection::closed, this,
                [this](ClientConnection *from) { m_handler.connectionClosed(from); });
    }
}
