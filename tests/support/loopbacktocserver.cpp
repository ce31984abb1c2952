#include "loopbacktocserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
const QByteArray preamble = QByteArrayLiteral("FLAPON\n\n");

QByteArray commandOf(const QByteArray &frame)
{
    QByteArray line = Flap::framePayload(frame).toByteArray();
    if (line.endsWith('\0'))
        line.chop(1);
    return line;
}
} // namespace

LoopbackTocServer::LoopbackTocServer(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &LoopbackTocServer::onNewConnection);
    m_server->listen(QHostAddress::LocalHost, 0);
}

LoopbackTocServer::~LoopbackTocServer() = default;

quint16 LoopbackTocServer::port() const { return m_server->serverPort(); }

bool LoopbackTocServer::waitForClient(int timeoutMs)
{
    return QTest::qWaitFor([this] { return m_client != nullptr; }, timeoutMs);
}

bool LoopbackTocServer::waitForCommand(QByteArrayView prefix, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            const QList<QByteArray> commands = receivedCommands();
            return std::any_of(commands.begin(), commands.end(),
                               [&](const QByteArray &line) { return line.startsWith(prefix); });
        },
        timeoutMs);
}

bool LoopbackTocServer::waitForDisconnect(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !m_client || m_client->state() == QAbstractSocket::UnconnectedState; },
                           timeoutMs);
}

void LoopbackTocServer::sendFrame(quint8 type, QByteArrayView payload)
{
    if (!m_client)
        return;
    m_client->write(Flap::buildFrame(type, m_sequence++, payload));
    m_client->flush();
}

void LoopbackTocServer::closeClient()
{
    if (m_client) {
        m_client->flush();
        m_client->disconnectFromHost();
    }
}

QList<QByteArray> LoopbackTocServer::receivedCommands() const
{
    QList<QByteArray> commands;
    for (const QByteArray &frame : m_frames) {
        if (Flap::frameType(frame) == Flap::Data)
            commands.append(commandOf(frame));
    }
    return commands;
}

void LoopbackTocServer::onNewConnection()
{
    QTcpSocket *socket = m_server->nextPendingConnection();
    if (m_client) {
        // One client per fixture; later ones are turned away.
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_client = socket;
    connect(m_client, &QTcpSocket::readyRead, this, &LoopbackTocServer::onReadyRead);
}

void LoopbackTocServer::onReadyRead()
{
    QByteArray bytes = m_client->readAll();
    if (!m_sawPreamble) {
        const qsizetype take = std::min(preamble.size() - m_preamble.size(), bytes.size());
        m_preamble.append(bytes.first(take));
        bytes.remove(0, take);
        if (m_preamble.size() < preamble.size())
            return;
        if (m_preamble != preamble) {
            m_client->abort();
            return;
        }
        m_sawPreamble = true;
        sendFrame(Flap::SignOn, QByteArray("\0\0\0\1", 4));
    }
    m_splitter.append(bytes);
    while (const std::optional<QByteArray> frame = m_splitter.next())
        handleFrame(*frame);
}

void LoopbackTocServer::handleFrame(const QByteArray &frame)
{
    m_frames.append(frame);
    emit frameReceived(frame);
    if (Flap::frameType(frame) != Flap::Data)
        return;
    const QByteArray line = commandOf(frame);
    if (!line.startsWith("toc2_login "))
        return;
    // "toc2_login host port name password ..."
    const QList<QByteArray> words = line.split(' ');
    const QByteArray name = words.size() > 3 ? words[3] : QByteArray();
    sendData("SIGN_ON:TOC2.0");
    sendData("NICK:" + (nick.isEmpty() ? name : nick));
    sendData("CONFIG2:" + config);
}
