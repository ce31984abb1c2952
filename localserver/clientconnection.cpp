#include "clientconnection.h"

#include "session/toccommands.h"
#include "session/tocprotocol.h"
#include "updatenotice.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
const QByteArray Preamble = QByteArrayLiteral("FLAPON\n\n");
// Reading at most one frame's worth at a time keeps the buffer of an unfinished
// frame, plus the chunk being cut, within two frames however fast bytes come.
constexpr qint64 ReadChunk = Flap::HeaderSize + Flap::MaxPayloadSize;
// A data frame is a command line and its NUL.
constexpr int MaxDataPayload = TocCommand::MaxCommandLength + 1;
// FLAP version 1, TLV tag 1, name length: the fixed part of the client's frame.
constexpr int SignOnFixedSize = 8;
constexpr int MaxNameLength = 64;
} // namespace

ClientConnection::ClientConnection(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_signOnTimer(new QTimer(this))
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        finish();
        deleteLater();
    });
    m_signOnTimer->setSingleShot(true);
    connect(m_signOnTimer, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Preamble || m_phase == Phase::SignOnFrame || m_phase == Phase::UpdateRequest)
            close();
    });
    m_signOnTimer->start(SignOnTimeoutMs);
    // Bytes may have arrived before the signal was connected.
    QMetaObject::invokeMethod(this, &ClientConnection::onReadyRead, Qt::QueuedConnection);
}

void ClientConnection::onReadyRead()
{
    while (m_phase != Phase::Closed && m_socket->bytesAvailable() > 0) {
        // Only what is there: a read of a whole chunk would allocate it in full.
        QByteArray bytes = m_socket->read(std::min<qint64>(m_socket->bytesAvailable(), ReadChunk));
        if (m_phase == Phase::Preamble && m_preamble.isEmpty() && UpdateNotice::startsRequest(bytes))
            m_phase = Phase::UpdateRequest;
        if (m_phase == Phase::UpdateRequest) {
            takeUpdateRequest(bytes);
            continue;
        }
        if (m_phase == Phase::Preamble)
            takePreamble(bytes);
        m_frames.append(bytes);
        while (m_phase != Phase::Closed) {
            if (const auto header = m_frames.peekHeader(); header && !headerAcceptable(*header)) {
                close();
                return;
            }
            const std::optional<QByteArray> frame = m_frames.next();
            if (!frame)
                break;
            handleFrame(*frame);
        }
    }
}

void ClientConnection::takePreamble(QByteArray &bytes)
{
    const qsizetype wanted = Preamble.size() - m_preamble.size();
    m_preamble += bytes.left(wanted);
    bytes.remove(0, wanted);
    if (!Preamble.startsWith(m_preamble)) {
        close();
        return;
    }
    if (m_preamble.size() < Preamble.size())
        return;
    m_phase = Phase::SignOnFrame;
    // The server speaks first after the preamble: FLAP version 1.
    sendFrame(Flap::SignOn, TocProtocol::FlapVersion.toByteArray());
}

void ClientConnection::takeUpdateRequest(const QByteArray &bytes)
{
    m_updateRequest += bytes;
    if (const std::optional<QByteArray> answer = UpdateNotice::respond(m_updateRequest, QIV_VERSION)) {
        m_socket->write(*answer);
        close();
    }
}

bool ClientConnection::headerAcceptable(const Flap::Header &header) const
{
    // Refusing by the header means a lying length is caught before its
    // payload is waited for, and garbage never resynchronises by chance.
    if (header.marker != Flap::StartMarker)
        return false;
    switch (header.type) {
    case Flap::SignOn:
        return m_phase == Phase::SignOnFrame && header.length <= SignOnFixedSize + MaxNameLength;
    case Flap::Data:
        return m_phase == Phase::Commands && header.length <= MaxDataPayload;
    case Flap::SignOff:
    case Flap::KeepAlive:
        return true;
    default:
        return false;
    }
}

void ClientConnection::handleFrame(const QByteArray &frame)
{
    const QByteArrayView payload = Flap::framePayload(frame);
    switch (Flap::frameType(frame)) {
    case Flap::SignOn:
        handleSignOnFrame(payload);
        break;
    case Flap::Data: {
        QByteArray line = payload.toByteArray();
        if (line.endsWith('\0'))
            line.chop(1);
        emit commandReceived(this, line);
        break;
    }
    case Flap::KeepAlive:
        sendFrame(Flap::KeepAlive, {});
        break;
    default: // sign-off
        close();
        break;
    }
}

void ClientConnection::handleSignOnFrame(QByteArrayView payload)
{
    const bool wellFormed = payload.size() >= SignOnFixedSize && payload.first(4) == TocProtocol::FlapVersion
        && payload.sliced(4, 2) == TocProtocol::ScreenNameTag
        && Flap::DecodeWord(payload.sliced(6, 2)) == payload.size() - SignOnFixedSize;
    if (!wellFormed) {
        close();
        return;
    }
    m_signOnName = payload.sliced(SignOnFixedSize).toByteArray();
    m_phase = Phase::Commands;
    m_signOnTimer->stop();
}

void ClientConnection::sendMessage(const QByteArray &message) { sendFrame(Flap::Data, message); }

void ClientConnection::sendFrame(quint8 type, const QByteArray &payload)
{
    if (m_phase == Phase::Closed || m_stalled)
        return;
    if (m_socket->bytesToWrite() > MaxUnsentBytes) {
        // Closing from inside a send would pull state out from under whoever
        // is sending; this connection ends once they are done.
        m_stalled = true;
        QMetaObject::invokeMethod(this, &ClientConnection::close, Qt::QueuedConnection);
        return;
    }
    m_socket->write(Flap::buildFrame(type, m_sequence++, payload));
}

void ClientConnection::close()
{
    if (m_phase == Phase::Closed)
        return;
    finish();
    m_socket->disconnectFromHost();
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        deleteLater();
        return;
    }
    // A peer that never reads would keep the queued bytes, and us, forever.
    QTimer::singleShot(5000, m_socket, &QTcpSocket::abort);
}

void ClientConnection::finish()
{
    if (m_phase == Phase::Closed)
        return;
    m_phase = Phase::Closed;
    m_signOnTimer->stop();
    emit closed(this);
}
