#include "tocsocket.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
// HOST:PORT as a person would type it; an IPv6 address goes in brackets.
QString addressText(const QString &host, int port)
{
    const QString shownHost = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shownHost + QLatin1Char(':') + QString::number(port);
}
} // namespace

QString TcpTocSocket::describeFailure(QAbstractSocket::SocketError error, bool wasConnected, const QString &host,
                                      int port, const QString &fallback)
{
    if (wasConnected) {
        switch (error) {
        case QAbstractSocket::RemoteHostClosedError:
            return QStringLiteral("The server closed the connection");
        case QAbstractSocket::NetworkError:
            return QStringLiteral("The network connection was lost");
        default:
            return fallback.isEmpty() ? QStringLiteral("The connection failed") : fallback;
        }
    }
    const QString address = addressText(host, port);
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("Nothing listens on %1.").arg(address);
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("The server name %1 could not be found.").arg(host);
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("No answer from %1.").arg(address);
    default:
        // Unreachable networks and hosts, and connections cut before they were
        // made: the server was never reached.
        return QStringLiteral("Could not reach %1.").arg(address);
    }
}

TcpTocSocket::TcpTocSocket(QObject *parent)
    : TocSocket(parent)
    , m_socket(new QTcpSocket(this))
    , m_connectTimer(new QTimer(this))
{
    m_connectTimer->setSingleShot(true);
    m_connectTimer->setInterval(DefaultConnectTimeoutMs);
    connect(m_connectTimer, &QTimer::timeout, this, &TcpTocSocket::giveUpConnecting);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimer->stop();
        m_wasConnected = true;
        emit connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TocSocket::dataArrived);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        m_connectTimer->stop();
        emit failed(describeFailure(error, m_wasConnected, m_host, m_port, m_socket->errorString()));
    });
}

void TcpTocSocket::setConnectTimeout(int milliseconds) { m_connectTimer->setInterval(milliseconds); }

void TcpTocSocket::connectToServer(const QString &host, qint32 port)
{
    m_host = host;
    m_port = port;
    m_wasConnected = false;
    if (port < 0 || port > 65535) {
        // Reported later, like every other connection failure.
        QTimer::singleShot(0, this, [this] { emit failed(QStringLiteral("The server port is not valid")); });
        return;
    }
    m_connectTimer->start();
    m_socket->connectToHost(host, quint16(port));
}

void TcpTocSocket::giveUpConnecting()
{
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        return;
    m_socket->abort();
    emit failed(describeFailure(QAbstractSocket::SocketTimeoutError, false, m_host, m_port));
}

bool TcpTocSocket::isConnected() const { return m_socket->state() == QAbstractSocket::ConnectedState; }

void TcpTocSocket::write(const QByteArray &bytes) { m_socket->write(bytes); }

QByteArray TcpTocSocket::readAll() { return m_socket->readAll(); }

void TcpTocSocket::close()
{
    m_connectTimer->stop();
    m_socket->abort();
}
