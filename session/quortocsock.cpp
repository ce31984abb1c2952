#include "quortocsock.h"

#include "screenname.h"
#include "toccommands.h"
#include "tocsocket.h"
#include "wiretext.h"

const QByteArray QuorTOCSock::DefaultAuthServer = QByteArrayLiteral("login.oscar.aol.com");

namespace {
QByteArray trimSpaces(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}
} // namespace

QuorTOCSock::QuorTOCSock(QObject *parent)
    : QuorTOCSock(new TcpTocSocket, parent)
{
}

QuorTOCSock::QuorTOCSock(TocSocket *socket, QObject *parent)
    : QObject(parent)
    , Sock(socket)
{
    Sock->setParent(this);
    connect(Sock, &TocSocket::connected, this, &QuorTOCSock::onConnect);
    connect(Sock, &TocSocket::dataArrived, this, &QuorTOCSock::onDataArrival);
    connect(Sock, &TocSocket::failed, this, &QuorTOCSock::onSocketError);
}

QuorTOCSock::~QuorTOCSock() = default;

bool QuorTOCSock::isConnected() const
{
    return Sock->isConnected();
}

void QuorTOCSock::Login(const QByteArray &UserName, const QByteArray &Password,
                        const QByteArray &TOCServer, qint32 Port, const QByteArray &AuthServer)
{
    ChatTable.clear();
    const QByteArray authServer = trimSpaces(AuthServer).isEmpty() ? DefaultAuthServer : AuthServer;
    strScreenName = ScreenName::NormalizeName(UserName);
    strRoastedPassword = ScreenName::RoastPassword(Password);
    strTOCServer = trimSpaces(TOCServer);
    lngServerPort = Port;
    strAuthServer = trimSpaces(authServer);
    Sock->close();
    // Bytes left from an earlier connection must never prefix the new one.
    resetConnectionBuffers();
    Sock->connectToServer(QString::fromUtf8(strTOCServer), lngServerPort);
}

void QuorTOCSock::LogOff()
{
    ChatTable.clear();
    Sock->close();
    resetConnectionBuffers();
    emit LoggedOut(strScreenName);
    strScreenName.clear();
    strRoastedPassword.clear();
    strAuthServer.clear();
    strTOCServer.clear();
    lngServerPort = DefaultPort;
    LastChatID = 0;
}

void QuorTOCSock::SendPacket(qint16 intChannel, const QByteArray &strData)
{
    if (!Sock->isConnected())
        return;
    QByteArray payload = strData;
    if (intChannel == Flap::Data)
        payload.append('\0');
    // A payload the length field cannot describe is dropped whole rather than
    // sent with a length that lies; it uses no sequence number.
    if (payload.size() > Flap::MaxPayloadSize)
        return;
    if (lngSeqNum > 65535)
        lngSeqNum = 0;
    const QByteArray frame = Flap::buildFrame(quint8(intChannel), quint16(lngSeqNum), payload);
    ++lngSeqNum;
    Sock->write(frame);
}

void QuorTOCSock::sendCommand(const QByteArray &line)
{
    if (!TocCommand::fits(line))
        return;
    SendPacket(Flap::Data, line);
}

void QuorTOCSock::onConnect()
{
    // The preamble goes out raw: no FLAP header, no sequence number.
    Sock->write(QByteArrayLiteral("FLAPON\n\n"));
}

void QuorTOCSock::onDataArrival()
{
    // A handler may open a modal box whose event loop delivers more arrivals;
    // those are read by the loop below once the handler returns, never nested.
    if (m_receiving)
        return;
    m_receiving = true;
    while (Sock->isConnected()) {
        const QByteArray data = Sock->readAll();
        if (data.isEmpty())
            break;
        strRecvBuffer.appendShared(data);
        // Login or LogOff inside a handler empties the buffer and ends the loop.
        while (std::optional<QByteArray> frame = strRecvBuffer.next())
            ProcessPacket(*frame);
    }
    m_receiving = false;
}

void QuorTOCSock::onSocketError(const QString &description)
{
    emit WinsockError(WireText::toWire(description));
    Sock->close();
    resetConnectionBuffers();
}

void QuorTOCSock::resetConnectionBuffers()
{
    strRecvBuffer.clear();
    strConfigBuffer.clear();
}

std::optional<qint32> QuorTOCSock::chatIdFor(const QByteArray &strChatName, qint32 lngChatID) const
{
    if (lngChatID != 0)
        return lngChatID;
    return ChatTable.idOf(strChatName);
}

void QuorTOCSock::JoinChat(const QByteArray &strRoomName, qint16 intExchange)
{
    sendCommand(TocCommand::joinChat(strRoomName, intExchange));
}

void QuorTOCSock::LeaveChat(const QByteArray &strChatName, qint32 lngChatID)
{
    if (const auto id = chatIdFor(strChatName, lngChatID))
        sendCommand(TocCommand::leaveChat(*id));
}

void QuorTOCSock::SendChat(const QByteArray &strChatName, const QByteArray &strMessage, qint32 lngChatID)
{
    if (const auto id = chatIdFor(strChatName, lngChatID))
        sendCommand(TocCommand::sendChat(*id, strMessage));
}

void QuorTOCSock::GetProfile(const QByteArray &strUserName)
{
    sendCommand(TocCommand::getInfo(strUserName));
}

void QuorTOCSock::SendIM(const QByteArray &strUserName, const QByteArray &strMessage, bool AutoResponse)
{
    sendCommand(TocCommand::sendIm(strUserName, strMessage, AutoResponse));
}

void QuorTOCSock::ChangePassword(const QByteArray &strOldPassword, const QByteArray &strNewPassword)
{
    sendCommand(TocCommand::changePassword(strOldPassword, strNewPassword));
}

void QuorTOCSock::FormatUserName(const QByteArray &strFormatted)
{
    sendCommand(TocCommand::formatNickname(strFormatted));
}

void QuorTOCSock::SetAwayMessage(const QByteArray &strAwayMessage)
{
    sendCommand(TocCommand::setAway(strAwayMessage));
}

void QuorTOCSock::SetProfile(const QByteArray &strProfile)
{
    sendCommand(TocCommand::setInfo(strProfile));
}

void QuorTOCSock::GetStatus(const QByteArray &strUserName)
{
    sendCommand(TocCommand::getStatus(strUserName));
}

void QuorTOCSock::SetIdleTime(qint32 lngMinutes)
{
    if (const auto line = TocCommand::setIdle(lngMinutes))
        sendCommand(*line);
}

void QuorTOCSock::AcceptChatInvite(qint32 lngChatID)
{
    sendCommand(TocCommand::chatAccept(lngChatID));
}

void QuorTOCSock::InviteUsers(const QByteArray &strChatName, const QByteArray &strInviteMessage,
                              const QByteArray &strUsers, qint32 lngChatID)
{
    if (const auto id = chatIdFor(strChatName, lngChatID))
        sendCommand(TocCommand::chatInvite(*id, strInviteMessage, strUsers));
}

void QuorTOCSock::WarnUser(const QByteArray &strUserName, bool blnAnonymous)
{
    sendCommand(TocCommand::evil(strUserName, blnAnonymous));
}

void QuorTOCSock::AddBuddy(const QByteArray &strGroup, const QByteArray &strBuddy)
{
    sendCommand(TocCommand::newBuddies(strGroup, strBuddy));
}

void QuorTOCSock::RemoveBuddy(const QByteArray &strGroup, const QByteArray &strBuddy)
{
    sendCommand(TocCommand::removeBuddy(strGroup, strBuddy));
}

void QuorTOCSock::AddGroup(const QByteArray &strGroup)
{
    sendCommand(TocCommand::newGroup(strGroup));
}

void QuorTOCSock::RemoveGroup(const QByteArray &strGroup)
{
    sendCommand(TocCommand::deleteGroup(strGroup));
}

void QuorTOCSock::BlockUser(const QByteArray &strUserName)
{
    sendCommand(TocCommand::addDeny(strUserName));
}

void QuorTOCSock::UnblockUser(const QByteArray &strUserName)
{
    sendCommand(TocCommand::removeDeny(strUserName));
}

void QuorTOCSock::AddPrivateUser(const QByteArray &strUserName)
{
    sendCommand(TocCommand::addPermit(strUserName));
}

void QuorTOCSock::RemovePrivateUser(const QByteArray &strUserName)
{
    sendCommand(TocCommand::removePermit(strUserName));
}

void QuorTOCSock::SetPrivacy(qint16 intMode)
{
    sendCommand(TocCommand::setPdMode(intMode));
}

void QuorTOCSock::SetCapability(const QByteArray &strCapUUID)
{
    sendCommand(TocCommand::setCaps(strCapUUID));
}

void QuorTOCSock::SendTypingStatus(const QByteArray &strUserName, qint16 intTypingStatus)
{
    sendCommand(TocCommand::clientEvent(strUserName, intTypingStatus));
}

QByteArray QuorTOCSock::RemoveHtml(const QByteArray &strMessage)
{
    // Each pass removes from the first "<" through the nearest ">" after it;
    // what precedes that "<" never holds another one, so a single scan does.
    QByteArray text;
    text.reserve(strMessage.size());
    qsizetype pos = 0;
    while (true) {
        const qsizetype open = strMessage.indexOf('<', pos);
        const qsizetype close = open < 0 ? -1 : strMessage.indexOf('>', open + 1);
        if (close < 0) {
            text.append(QByteArrayView(strMessage).sliced(pos));
            return text;
        }
        text.append(QByteArrayView(strMessage).sliced(pos, open - pos));
        pos = close + 1;
    }
}

QByteArray QuorTOCSock::GetChatName(qint32 lngChatID) const
{
    return ChatTable.nameOf(lngChatID).value_or(QByteArrayLiteral("[No Chat Name Found for ID]"));
}
