#include "bareclient.h"

#include "session/flap.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/toccommands.h"

namespace {
// The nth colon-separated field of a server message, and everything after the
// colon that ends field n - 1 when rest is set.
QByteArrayView field(QByteArrayView message, int n, bool rest = false)
{
    qsizetype start = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype colon = message.indexOf(':', start);
        if (colon < 0)
            return {};
        start = colon + 1;
    }
    const qsizetype end = rest ? -1 : message.indexOf(':', start);
    return end < 0 ? message.sliced(start) : message.sliced(start, end - start);
}
} // namespace

BareClient::BareClient(const QByteArray &screenName, const QByteArray &password, const QHostAddress &source)
    : BenchClient(ScreenName::NormalizeName(screenName))
    , m_source(source)
    , m_roastedPassword(ScreenName::RoastPassword(password))
{
    QObject::connect(&m_socket, &QTcpSocket::connected, [this] { m_socket.write("FLAPON\n\n"); });
    QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { readFrames(); });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, [this] { failure = m_socket.errorString().toUtf8(); });
}

void BareClient::login(quint16 port)
{
    m_port = port;
    if (!m_socket.bind(m_source)) {
        failure = m_socket.errorString().toUtf8();
        return;
    }
    m_socket.connectToHost(QHostAddress::LocalHost, port);
}

void BareClient::sendIm(const QByteArray &to, const QByteArray &message)
{
    send(Flap::Data, TocCommand::sendIm(to, message, false));
}

void BareClient::logOff() { m_socket.abort(); }

void BareClient::send(quint8 type, const QByteArray &payload)
{
    m_socket.write(Flap::buildFrame(type, m_sequence++, type == Flap::Data ? payload + '\0' : payload));
}

void BareClient::readFrames()
{
    m_buffer.append(m_socket.readAll());
    while (m_buffer.size() - m_read >= Flap::HeaderSize) {
        const QByteArrayView header = QByteArrayView(m_buffer).sliced(m_read, Flap::HeaderSize);
        const qsizetype length = Flap::DecodeWord(header.sliced(4));
        if (m_buffer.size() - m_read < Flap::HeaderSize + length)
            break;
        handle(quint8(header[1]), QByteArrayView(m_buffer).sliced(m_read + Flap::HeaderSize, length));
        m_read += Flap::HeaderSize + length;
    }
    m_buffer.remove(0, m_read);
    m_read = 0;
}

void BareClient::handle(quint8 type, QByteArrayView payload)
{
    switch (type) {
    case Flap::SignOn:
        send(Flap::SignOn, TocCommand::signOnPayload(name));
        send(Flap::Data, TocCommand::login(QuorTOCSock::DefaultAuthServer, m_port, name, m_roastedPassword));
        break;
    case Flap::Data:
        handleData(payload.endsWith('\0') ? payload.chopped(1) : payload);
        break;
    case Flap::KeepAlive:
        send(Flap::KeepAlive, {});
        break;
    default:
        break;
    }
}

void BareClient::handleData(QByteArrayView payload)
{
    if (payload.startsWith("UPDATE_BUDDY2:")) {
        if (onBuddy)
            onBuddy(field(payload, 1).toByteArray(), field(payload, 2) == "T");
    } else if (payload.startsWith("IM_IN_ENC2:")) {
        // IM_IN_ENC2:user:auto:?:?:class:?:?:language:message
        if (onIm)
            onIm(field(payload, 1).toByteArray(), field(payload, 9, true).toByteArray());
    } else if (payload.startsWith("CONFIG2:")) {
        m_config.append(payload.sliced(8));
        if (!loggedIn && m_config.contains("done:\n")) {
            loggedIn = true;
            send(Flap::Data, TocCommand::initDone());
        }
    } else if (payload.startsWith("ERROR:")) {
        failure = payload.toByteArray();
    }
}
