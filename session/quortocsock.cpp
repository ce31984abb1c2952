#include "quortocsock.h"

#include "screenname.h"
#include "toccommands.h"
#include "tocconfig.h"
#include "tocerrors.h"
#include "tocmessages.h"
#include "tocsocket.h"
#include "wiretext.h"

#include <algorithm>

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

QuorTOCSock::SendCheck QuorTOCSock::check(const QByteArray &line) const
{
    if (!TocCommand::fits(line))
        return SendCheck::TooLong;
    return isConnected() ? SendCheck::Sendable : SendCheck::NotSignedOn;
}

QuorTOCSock::SendCheck QuorTOCSock::checkSendIM(const QByteArray &strUserName, const QByteArray &strMessage,
                                                bool AutoResponse) const
{
    return check(TocCommand::sendIm(strUserName, strMessage, AutoResponse));
}

QuorTOCSock::SendCheck QuorTOCSock::checkSendChat(qint32 lngChatID, const QByteArray &strMessage) const
{
    return check(TocCommand::sendChat(lngChatID, strMessage));
}

QuorTOCSock::SendCheck QuorTOCSock::checkSetAwayMessage(const QByteArray &strAwayMessage) const
{
    return check(TocCommand::setAway(strAwayMessage));
}

QuorTOCSock::SendCheck QuorTOCSock::checkSetProfile(const QByteArray &strProfile) const
{
    return check(TocCommand::setInfo(strProfile));
}

QuorTOCSock::SendCheck QuorTOCSock::checkWarnUser(const QByteArray &strUserName, bool blnAnonymous) const
{
    return check(TocCommand::evil(strUserName, blnAnonymous));
}

QuorTOCSock::SendCheck QuorTOCSock::checkBlockUser(const QByteArray &strUserName) const
{
    return check(TocCommand::addDeny(strUserName));
}

QuorTOCSock::SendCheck QuorTOCSock::checkUnblockUser(const QByteArray &strUserName) const
{
    return check(TocCommand::removeDeny(strUserName));
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

void QuorTOCSock::ProcessPacket(const QByteArray &frame)
{
    emit IncomingPacket(frame);
    const quint8 type = Flap::frameType(frame);
    switch (type) {
    case Flap::SignOn:
        SendPacket(Flap::SignOn, TocCommand::signOnPayload(strScreenName));
        sendCommand(TocCommand::login(strAuthServer, lngServerPort, strScreenName, strRoastedPassword));
        break;
    case Flap::Data:
        dispatchData(Flap::framePayload(frame));
        break;
    case Flap::ErrorFrame:
    case Flap::SignOff:
        break;
    case Flap::KeepAlive:
        SendPacket(Flap::KeepAlive, QByteArray());
        break;
    default:
        emit Error(0, TocErrors::unknownChannel(type));
        break;
    }
}

void QuorTOCSock::dispatchData(QByteArrayView payload)
{
    using namespace TocMessages;
    using Handler = void (*)(QuorTOCSock &toc, QByteArrayView payload);
    // Each handler decodes its whole message before raising anything, so a
    // broken message raises nothing and leaves the chat table alone. SIGN_ON
    // and UPDATED2 need nothing beyond IncomingPacket, like an unknown command.
    struct Entry
    {
        QByteArrayView command;
        Handler handler;
    };
    static constexpr Entry handlers[] = {
        {"NICK", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto nick = parseNick(payload))
                 emit toc.ScreennameFormat(nick->displayName);
         }},
        {"CONFIG2", [](QuorTOCSock &toc, QByteArrayView payload) { toc.handleConfig(payload); }},
        {"ERROR", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto error = TocErrors::decode(payload))
                 emit toc.Error(error->code, error->text);
         }},
        {"UPDATE_BUDDY2", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto b = parseUpdateBuddy(payload))
                 emit toc.BuddyUpdate(b->name, b->online, b->warningLevel, b->signOnTime, b->idleMinutes,
                                      b->userClass);
         }},
        {"BUDDY_CAPS2", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto caps = parseBuddyData(payload))
                 emit toc.BuddyCapabilities(caps->name, caps->data);
         }},
        {"BART2", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto bart = parseBuddyData(payload))
                 emit toc.BuddyBart(bart->name, bart->data);
         }},
        {"CHAT_JOIN", [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto join = parseChatJoin(payload);
             if (!join)
                 return;
             toc.ChatTable.join(join->chatId, join->roomName);
             toc.LastChatID = join->chatId;
             emit toc.JoinedChat(join->roomName, toc.LastChatID);
         }},
        {"CHAT_UPDATE_BUDDY", [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto update = parseChatUpdateBuddy(payload);
             if (!update)
                 return;
             if (update->inside) {
                 for (const QByteArray &name : update->names)
                     emit toc.ChatUserUpdate(name, true, update->chatId);
             } else {
                 // A departure reports only the first name listed.
                 emit toc.ChatUserUpdate(update->names.first(), false, update->chatId);
             }
         }},
        {"CHAT_IN_ENC", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto chat = parseChatIn(payload))
                 emit toc.ChatMessage(chat->chatId, chat->sender, chat->message);
         }},
        {"CHAT_LEFT", [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto left = parseChatLeft(payload);
             if (!left)
                 return;
             toc.ChatTable.leave(left->chatId);
             emit toc.LeftChat(left->chatId);
         }},
        {"IM_IN_ENC2", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto im = parseImIn(payload))
                 emit toc.InstantMessage(im->sender, im->message, im->autoResponse, im->userClass);
         }},
        {"INSERTED2", [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto change = parseInserted(payload);
             if (!change)
                 return;
             switch (change->kind) {
             case ListChange::Buddy:
                 emit toc.BuddyAdded(change->group, change->name, change->alias);
                 break;
             case ListChange::Permit:
                 emit toc.PrivateBuddyAdded(change->name);
                 break;
             case ListChange::Deny:
                 emit toc.BuddyBlocked(change->name);
                 break;
             case ListChange::Group:
                 emit toc.GroupAdded(change->group);
                 break;
             }
         }},
        {"CHAT_INVITE", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto invite = parseChatInvite(payload))
                 emit toc.ChatInvite(invite->roomName, invite->chatId, invite->from, invite->message);
         }},
        {"DELETED2", [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto change = parseDeleted(payload);
             if (!change)
                 return;
             switch (change->kind) {
             case ListChange::Buddy:
                 emit toc.BuddyRemoved(change->group, change->name);
                 break;
             case ListChange::Permit:
                 emit toc.PrivateBuddyRemoved(change->name);
                 break;
             case ListChange::Deny:
                 emit toc.BuddyUnblocked(change->name);
                 break;
             case ListChange::Group:
                 emit toc.GroupRemoved(change->group);
                 break;
             }
         }},
        {"GOTO_URL", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto url = parseGotoUrl(payload))
                 emit toc.UserProfile(url->url);
         }},
        {"EVILED", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto eviled = parseEviled(payload))
                 emit toc.Warned(QByteArray::number(eviled->level), eviled->from);
         }},
        // The status is not examined: a failure is reported the same way.
        {"ADMIN_NICK_STATUS", [](QuorTOCSock &toc, QByteArrayView) { emit toc.ScreenNameFormatted(); }},
        {"ADMIN_PASSWD_STATUS", [](QuorTOCSock &toc, QByteArrayView) { emit toc.PasswordChanged(); }},
        {"RVOUS_PROPOSE", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto p = parseRvousPropose(payload))
                 emit toc.RendevousRequest(p->sender, p->uuid, p->cookie, p->rendezvousIp, p->proposerIp,
                                           p->verifiedIp, p->port);
         }},
        {"CLIENT_EVENT2", [](QuorTOCSock &toc, QByteArrayView payload) {
             if (const auto event = parseClientEvent(payload))
                 emit toc.TypingStatus(event->sender, event->typingStatus);
         }},
    };

    // The command word is compared exactly, case included. A scan of so few
    // words beats hashing one.
    const qsizetype colon = payload.indexOf(':');
    const QByteArrayView command = colon < 0 ? payload : payload.first(colon);
    const auto found = std::find_if(std::begin(handlers), std::end(handlers),
                                    [command](const Entry &entry) { return entry.command == command; });
    if (found != std::end(handlers))
        found->handler(*this, payload);
}

void QuorTOCSock::handleConfig(QByteArrayView payload)
{
    // The configuration text starts after "CONFIG2:".
    static constexpr qsizetype prefixLength = sizeof("CONFIG2:") - 1;
    const QByteArrayView text = payload.size() > prefixLength ? payload.sliced(prefixLength) : QByteArrayView();
    // The end marker may straddle two frames, so look across the join too.
    const qsizetype reach = TocConfigText::EndMarker.size() - 1;
    QByteArray join = strConfigBuffer.right(reach);
    join.append(text.first(std::min(text.size(), reach)));
    const bool complete = TocConfigText::hasEnd(text) || TocConfigText::hasEnd(join);
    if (!complete) {
        // A configuration that never ends must not grow without bound; what
        // was collected is dropped and the sign-on simply never completes.
        if (strConfigBuffer.size() + text.size() > MaxConfigSize)
            strConfigBuffer.clear();
        else
            strConfigBuffer.append(text);
        return;
    }
    const QByteArray whole = strConfigBuffer + text.toByteArray();
    strConfigBuffer.clear();
    const TocConfig config = TocConfigText::parse(whole);
    if (config.complete) {
        m_buddyAliases = config.Aliases;
        emit LoggedIn(strScreenName, config.BuddyList, config.BlockList, config.PrivateList,
                      config.MiscData, config.strPreferences, config.PrivacyMode);
    }
    // Sent after the handlers of LoggedIn have returned, so whatever they sent
    // (the profile) reaches the server first.
    SendPacket(Flap::Data, TocCommand::initDone());
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
