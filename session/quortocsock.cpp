#include "quortocsock.h"

#include "htmltext.h"
#include "screenname.h"
#include "toccommands.h"
#include "tocconfig.h"
#include "tocerrors.h"
#include "tocfields.h"
#include "tocmessages.h"
#include "tocsocket.h"
#include "wirelog.h"
#include "wiretext.h"

#include <algorithm>

const QByteArray QuorTOCSock::DefaultAuthServer = QByteArrayLiteral("login.oscar.aol.com");

QuorTOCSock::QuorTOCSock(QObject *parent)
    : QuorTOCSock(new TcpTocSocket, parent)
{
}

QuorTOCSock::QuorTOCSock(TocSocket *socket, QObject *parent)
    : QObject(parent)
    , Sock(socket)
    , m_pacer([this](const QByteArray &line) {
        const Ticket ticket = m_pacer.lastSent();
        SendPacket(Flap::Data, line);
        m_unheard.append(ticket);
        if (ticket == m_question) {
            ++m_answersDue;
            m_watch.asked();
        }
    })
{
    Sock->setParent(this);
    connect(&m_watch, &ConnectionWatch::questionDue, this, &QuorTOCSock::askServer);
    connect(&m_watch, &ConnectionWatch::silent, this,
            [this] { onSocketError(QStringLiteral("The server stopped answering")); });
    connect(&m_pacer, &SendPacer::settled, this, [this](Ticket ticket, bool sent) {
        emit SendSettled(ticket, sent ? SendOutcome::Sent : SendOutcome::NotSent);
    });
    connect(Sock, &TocSocket::connected, this, &QuorTOCSock::onConnect);
    connect(Sock, &TocSocket::dataArrived, this, &QuorTOCSock::onDataArrival);
    connect(Sock, &TocSocket::failed, this, &QuorTOCSock::onSocketError);
}

QuorTOCSock::~QuorTOCSock() = default;

bool QuorTOCSock::isConnected() const { return Sock->isConnected(); }

void QuorTOCSock::Login(const QByteArray &UserName, const QByteArray &Password, const QByteArray &TOCServer,
                        qint32 Port, const QByteArray &AuthServer)
{
    ChatTable.clear();
    using TocFields::trimSpaces;
    const QByteArray authServer = trimSpaces(AuthServer).isEmpty() ? DefaultAuthServer : AuthServer;
    strScreenName = ScreenName::NormalizeName(UserName);
    strRoastedPassword = ScreenName::RoastPassword(Password);
    strTOCServer = trimSpaces(TOCServer).toByteArray();
    lngServerPort = Port;
    strAuthServer = trimSpaces(authServer).toByteArray();
    Sock->close();
    endSession();
    // Bytes left from an earlier connection must never prefix the new one.
    resetConnectionBuffers();
    Sock->connectToServer(QString::fromUtf8(strTOCServer), lngServerPort);
}

void QuorTOCSock::LogOff()
{
    ChatTable.clear();
    Sock->close();
    endSession();
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
    qCDebug(lcWire).noquote() << "out" << WireLog::describeFrame(frame);
    Sock->write(frame);
}

void QuorTOCSock::sendCommand(const QByteArray &line)
{
    if (!TocCommand::fits(line))
        return;
    m_pacer.submit(line);
}

void QuorTOCSock::endSession()
{
    m_watch.stop();
    m_question = 0;
    m_answersDue = 0;
    settleUnheard();
    m_pacer.stop();
}

void QuorTOCSock::settleUnheard()
{
    // Bytes from the server after a command went show that the connection
    // still carried traffic then; one that went after the last of them may
    // sit in a dead connection, or in a proxy that lost its way to the server.
    for (const Ticket ticket : std::exchange(m_unheard, {}))
        emit SendSettled(ticket, SendOutcome::Unconfirmed);
}

void QuorTOCSock::askServer()
{
    // Any answer will do; toc_get_status of the user's own name is one both
    // servers give at once, and harmless. A FLAP keep-alive is not: Open
    // OSCAR Server never answers one.
    if (!strScreenName.isEmpty())
        m_pacer.submit(TocCommand::getStatus(strScreenName), &m_question);
}

bool QuorTOCSock::takeAnswer(QByteArrayView name)
{
    if (m_answersDue == 0 || !ScreenName::sameName(name, strScreenName))
        return false;
    --m_answersDue;
    return true;
}

QuorTOCSock::SendCheck QuorTOCSock::trySend(const QByteArray &line, Ticket *ticket)
{
    if (!TocCommand::fits(line))
        return SendCheck::TooLong;
    if (!isConnected())
        return SendCheck::NotSignedOn;
    return m_pacer.submit(line, ticket) == SendPacer::Verdict::Waiting ? SendCheck::Waiting : SendCheck::Sendable;
}

QuorTOCSock::SendCheck QuorTOCSock::trySendIM(const QByteArray &strUserName, const QByteArray &strMessage,
                                              bool AutoResponse, Ticket *ticket)
{
    return trySend(TocCommand::sendIm(strUserName, strMessage, AutoResponse), ticket);
}

QuorTOCSock::SendCheck QuorTOCSock::trySendChat(qint32 lngChatID, const QByteArray &strMessage, Ticket *ticket)
{
    return trySend(TocCommand::sendChat(lngChatID, strMessage), ticket);
}

QuorTOCSock::SendCheck QuorTOCSock::trySetAwayMessage(const QByteArray &strAwayMessage)
{
    return trySend(TocCommand::setAway(strAwayMessage));
}

QuorTOCSock::SendCheck QuorTOCSock::trySetProfile(const QByteArray &strProfile)
{
    return trySend(TocCommand::setInfo(strProfile));
}

QuorTOCSock::SendCheck QuorTOCSock::tryWarnUser(const QByteArray &strUserName, bool blnAnonymous)
{
    return trySend(TocCommand::evil(strUserName, blnAnonymous));
}

QuorTOCSock::SendCheck QuorTOCSock::tryBlockUser(const QByteArray &strUserName)
{
    return trySend(TocCommand::addDeny(strUserName));
}

QuorTOCSock::SendCheck QuorTOCSock::tryUnblockUser(const QByteArray &strUserName)
{
    return trySend(TocCommand::removeDeny(strUserName));
}

QuorTOCSock::SendCheck QuorTOCSock::tryAddPrivateUser(const QByteArray &strUserName)
{
    return trySend(TocCommand::addPermit(strUserName));
}

QuorTOCSock::SendCheck QuorTOCSock::tryRemovePrivateUser(const QByteArray &strUserName)
{
    return trySend(TocCommand::removePermit(strUserName));
}

QuorTOCSock::SendCheck QuorTOCSock::trySendAll(const QList<QByteArray> &lines)
{
    if (!std::all_of(lines.cbegin(), lines.cend(), [](const QByteArray &line) { return TocCommand::fits(line); }))
        return SendCheck::TooLong;
    if (!isConnected())
        return SendCheck::NotSignedOn;
    bool waits = false;
    for (const QByteArray &line : lines)
        waits = m_pacer.submit(line) == SendPacer::Verdict::Waiting || waits;
    return waits ? SendCheck::Waiting : SendCheck::Sendable;
}

QuorTOCSock::SendCheck QuorTOCSock::tryInviteUsers(qint32 lngChatID, const QByteArray &strInviteMessage,
                                                   const QList<QByteArray> &users)
{
    return trySend(TocCommand::chatInvite(lngChatID, strInviteMessage, users));
}

QuorTOCSock::SendCheck QuorTOCSock::trySetIdleTime(qint32 lngMinutes)
{
    const std::optional<QByteArray> line = TocCommand::setIdle(lngMinutes);
    return line ? trySend(*line) : SendCheck::TooLong;
}

QuorTOCSock::SendCheck QuorTOCSock::tryAddGroup(const QByteArray &strGroup)
{
    return trySend(TocCommand::newGroup(strGroup));
}

QuorTOCSock::SendCheck QuorTOCSock::tryMoveBuddy(const QByteArray &strBuddy, const QByteArray &strFrom,
                                                 const QByteArray &strTo)
{
    // Added first: a buddy is never off the list in between; an alias moves along.
    return trySendAll(
        {TocCommand::newBuddies(strTo, storedEntry(strBuddy)), TocCommand::removeBuddy(strFrom, strBuddy)});
}

QByteArray QuorTOCSock::storedEntry(const QByteArray &strBuddy) const
{
    const auto alias = m_buddyAliases.constFind(ScreenName::NormalizeName(strBuddy));
    return alias == m_buddyAliases.cend() ? strBuddy : strBuddy + ':' + *alias;
}

QuorTOCSock::SendCheck QuorTOCSock::tryRenameGroup(const QByteArray &strGroup, const QByteArray &strNewName,
                                                   const QList<QByteArray> &buddies)
{
    QList<QByteArray> lines{TocCommand::newGroup(strNewName)};
    QList<QByteArray> entries;
    for (const QByteArray &buddy : buddies)
        entries.append(storedEntry(buddy));
    lines += TocCommand::newBuddies(strNewName, entries);
    lines += TocCommand::removeBuddies(strGroup, buddies);
    lines += TocCommand::deleteGroup(strGroup);
    return trySendAll(lines);
}

QuorTOCSock::SendCheck QuorTOCSock::tryRemoveGroup(const QByteArray &strGroup, const QList<QByteArray> &buddies)
{
    QList<QByteArray> lines = TocCommand::removeBuddies(strGroup, buddies);
    lines += TocCommand::deleteGroup(strGroup);
    return trySendAll(lines);
}

void QuorTOCSock::onConnect()
{
    // The preamble goes out raw: no FLAP header, no sequence number.
    qCDebug(lcWire) << "out FLAPON";
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
        m_unheard.clear();
        m_heardThrough = m_pacer.lastSent();
        m_watch.heard();
        emit BytesArrived();
        strRecvBuffer.appendShared(data);
        // Login or LogOff inside a handler empties the buffer and ends the loop.
        while (std::optional<QByteArray> frame = strRecvBuffer.next())
            ProcessPacket(*frame);
    }
    m_receiving = false;
}

void QuorTOCSock::onSocketError(const QString &description)
{
    // What may be lost is told while the windows that sent it still look on.
    settleUnheard();
    emit WinsockError(WireText::toWire(description));
    Sock->close();
    endSession();
    resetConnectionBuffers();
}

void QuorTOCSock::ProcessPacket(const QByteArray &frame)
{
    qCDebug(lcWire).noquote() << "in" << WireLog::describeFrame(frame);
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
    using Handler = bool (*)(QuorTOCSock & toc, QByteArrayView payload);
    // Each handler decodes its whole message before raising anything, so a
    // broken message raises nothing and leaves the chat table alone; it says
    // whether the message could be read. SIGN_ON and UPDATED2 need nothing
    // beyond IncomingPacket.
    struct Entry
    {
        QByteArrayView command;
        Handler handler;
    };
    static constexpr Entry handlers[] = {
        {"NICK",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto nick = parseNick(payload);
             if (nick)
                 emit toc.ScreennameFormat(nick->displayName);
             return nick.has_value();
         }},
        {"CONFIG2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             toc.handleConfig(payload);
             return true;
         }},
        {"SIGN_ON", [](QuorTOCSock &, QByteArrayView) { return true; }},
        {"UPDATED2", [](QuorTOCSock &, QByteArrayView) { return true; }},
        {"ERROR",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto error = TocErrors::decode(payload);
             if (!error)
                 return false;
             const QList<QByteArrayView> fields = TocFields::split(payload, 3);
             const QByteArrayView argument = fields.size() > 2 ? fields[2] : QByteArrayView();
             // The server could not tell the user's own status: an answer all the same.
             if (error->code == TocProtocol::NotAvailable && toc.takeAnswer(argument))
                 return true;
             // The server's speed limit dropped what went last.
             if (error->code == TocProtocol::RateLimitHit && toc.m_pacer.lastSent() != 0)
                 emit toc.SendSettled(toc.m_pacer.lastSent(), SendOutcome::Refused);
             toc.m_errorArgument = argument.toByteArray();
             emit toc.Error(error->code, error->text);
             toc.m_errorArgument.clear();
             return true;
         }},
        {"UPDATE_BUDDY2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto b = parseUpdateBuddy(payload);
             if (b && toc.takeAnswer(b->name))
                 return true;
             if (b)
                 emit toc.BuddyUpdate(b->name, b->online, b->warningLevel, b->signOnTime, b->idleMinutes, b->userClass);
             return b.has_value();
         }},
        {"BUDDY_CAPS2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto caps = parseBuddyData(payload);
             if (caps)
                 emit toc.BuddyCapabilities(caps->name, caps->data);
             return caps.has_value();
         }},
        {"BART2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto bart = parseBuddyData(payload);
             if (bart)
                 emit toc.BuddyBart(bart->name, bart->data);
             return bart.has_value();
         }},
        {"CHAT_JOIN",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto join = parseChatJoin(payload);
             if (!join)
                 return false;
             toc.ChatTable.join(join->chatId, join->roomName);
             toc.LastChatID = join->chatId;
             emit toc.JoinedChat(join->roomName, toc.LastChatID);
             return true;
         }},
        {"CHAT_UPDATE_BUDDY",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto update = parseChatUpdateBuddy(payload);
             if (!update)
                 return false;
             if (update->inside) {
                 for (const QByteArray &name : update->names)
                     emit toc.ChatUserUpdate(name, true, update->chatId);
             } else {
                 // A departure reports only the first name listed.
                 emit toc.ChatUserUpdate(update->names.first(), false, update->chatId);
             }
             return true;
         }},
        {"CHAT_IN_ENC",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto chat = parseChatIn(payload);
             if (chat)
                 emit toc.ChatMessage(chat->chatId, chat->sender, chat->message);
             return chat.has_value();
         }},
        {"CHAT_LEFT",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto left = parseChatLeft(payload);
             if (!left)
                 return false;
             toc.ChatTable.leave(left->chatId);
             emit toc.LeftChat(left->chatId);
             return true;
         }},
        {"IM_IN_ENC2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto im = parseImIn(payload);
             if (im)
                 emit toc.InstantMessage(im->sender, im->message, im->autoResponse, im->userClass);
             return im.has_value();
         }},
        {"INSERTED2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto change = parseInserted(payload);
             if (!change)
                 return false;
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
             return true;
         }},
        {"CHAT_INVITE",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto invite = parseChatInvite(payload);
             if (invite)
                 emit toc.ChatInvite(invite->roomName, invite->chatId, invite->from, invite->message);
             return invite.has_value();
         }},
        {"DELETED2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto change = parseDeleted(payload);
             if (!change)
                 return false;
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
             return true;
         }},
        {"GOTO_URL",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto url = parseGotoUrl(payload);
             if (url)
                 emit toc.UserProfile(url->url);
             return url.has_value();
         }},
        {"EVILED",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto eviled = parseEviled(payload);
             if (eviled)
                 emit toc.Warned(QByteArray::number(eviled->level), eviled->from);
             return eviled.has_value();
         }},
        // The status is not examined: a failure is reported the same way.
        {"ADMIN_NICK_STATUS",
         [](QuorTOCSock &toc, QByteArrayView) {
             emit toc.ScreenNameFormatted();
             return true;
         }},
        {"ADMIN_PASSWD_STATUS",
         [](QuorTOCSock &toc, QByteArrayView) {
             emit toc.PasswordChanged();
             return true;
         }},
        {"RVOUS_PROPOSE",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto p = parseRvousPropose(payload);
             if (p)
                 emit toc.RendevousRequest(p->sender, p->uuid, p->cookie, p->rendezvousIp, p->proposerIp, p->verifiedIp,
                                           p->port);
             return p.has_value();
         }},
        {"CLIENT_EVENT2",
         [](QuorTOCSock &toc, QByteArrayView payload) {
             const auto event = parseClientEvent(payload);
             if (event)
                 emit toc.TypingStatus(event->sender, event->typingStatus);
             return event.has_value();
         }},
    };

    // The command word is compared exactly, case included. A scan of so few
    // words beats hashing one.
    const qsizetype colon = payload.indexOf(':');
    const QByteArrayView command = colon < 0 ? payload : payload.first(colon);
    const auto found = std::find_if(std::begin(handlers), std::end(handlers),
                                    [command](const Entry &entry) { return entry.command == command; });
    if (found == std::end(handlers))
        qCWarning(lcWire).noquote() << "unknown message:" << WireLog::printable(payload);
    else if (!found->handler(*this, payload))
        qCWarning(lcWire).noquote() << "unreadable message:" << WireLog::printable(payload);
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
        // The server has a session for us now, with its rate limits.
        m_pacer.start();
        m_watch.start();
        emit LoggedIn(strScreenName, config.BuddyList, config.BlockList, config.PrivateList, config.MiscData,
                      config.strPreferences, config.PrivacyMode);
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

void QuorTOCSock::GetProfile(const QByteArray &strUserName) { sendCommand(TocCommand::getInfo(strUserName)); }

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

void QuorTOCSock::SetAwayMessage(const QByteArray &strAwayMessage) { sendCommand(TocCommand::setAway(strAwayMessage)); }

void QuorTOCSock::SetProfile(const QByteArray &strProfile) { sendCommand(TocCommand::setInfo(strProfile)); }

void QuorTOCSock::GetStatus(const QByteArray &strUserName) { sendCommand(TocCommand::getStatus(strUserName)); }

void QuorTOCSock::SetIdleTime(qint32 lngMinutes)
{
    if (const auto line = TocCommand::setIdle(lngMinutes))
        sendCommand(*line);
}

void QuorTOCSock::AcceptChatInvite(qint32 lngChatID) { sendCommand(TocCommand::chatAccept(lngChatID)); }

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

void QuorTOCSock::AddGroup(const QByteArray &strGroup) { sendCommand(TocCommand::newGroup(strGroup)); }

void QuorTOCSock::RemoveGroup(const QByteArray &strGroup) { sendCommand(TocCommand::deleteGroup(strGroup)); }

void QuorTOCSock::BlockUser(const QByteArray &strUserName) { sendCommand(TocCommand::addDeny(strUserName)); }

void QuorTOCSock::UnblockUser(const QByteArray &strUserName) { sendCommand(TocCommand::removeDeny(strUserName)); }

void QuorTOCSock::AddPrivateUser(const QByteArray &strUserName) { sendCommand(TocCommand::addPermit(strUserName)); }

void QuorTOCSock::RemovePrivateUser(const QByteArray &strUserName)
{
    sendCommand(TocCommand::removePermit(strUserName));
}

void QuorTOCSock::SetPrivacy(qint16 intMode) { sendCommand(TocCommand::setPdMode(intMode)); }

void QuorTOCSock::SetCapability(const QByteArray &strCapUUID) { sendCommand(TocCommand::setCaps(strCapUUID)); }

void QuorTOCSock::SendTypingStatus(const QByteArray &strUserName, qint16 intTypingStatus)
{
    sendCommand(TocCommand::clientEvent(strUserName, intTypingStatus));
}

QByteArray QuorTOCSock::RemoveHtml(const QByteArray &strMessage) { return HtmlText::removeTags(strMessage); }

QByteArray QuorTOCSock::GetChatName(qint32 lngChatID) const
{
    return ChatTable.nameOf(lngChatID).value_or(QByteArrayLiteral("[No Chat Name Found for ID]"));
}
