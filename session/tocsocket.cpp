#include "tocsocket.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
QString describe(QAbstractSocket::SocketError error, const QString &fallback)
{
    switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
        return QStringLiteral("The server closed the connection");
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("The server refused the connection");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("The server's address could not be found");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("The connection to the server timed out");
    case QAbstractSocket::NetworkError:
        return QStringLiteral("The network connection was lost");
    default:
        return fallback.isEmpty() ? QStringLiteral("The connection failed") : fallback;
    }
}
} // namespace

TcpTocSocket::TcpTocSocket(QObject *parent)
    : TocSocket(parent)
    , m_socket(new QTcpSocket(this))
{
    connect(m_socket, &QTcpSocket::connected, this, &TocSocket::connected);
    connect(m_socket, &QTcpSocket::readyRead, this, &TocSocket::dataArrived);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        emit failed(describe(error, m_socket->errorString()));
    });
}

void TcpTocSocket::connectToServer(const QString &host, qint32 port)
{
    if (port < 0 || port > 65535) {
        // Reported later, like every other connection failure.
        QTimer::singleShot(0, this, [this] { emit failed(QStringLiteral("The server port is not valid")); });
        return;
    }
    m_socket->connectToHost(host, quint16(port));
}

bool TcpTocSocket::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void TcpTocSocket::write(const QByteArray &bytes)
{
    m_socket->write(bytes);
}

QByteArray TcpTocSocket::readAll()
{
    return m_socket->readAll();
}

void TcpTocSocket::close()
{
    m_socket->abort();
}
