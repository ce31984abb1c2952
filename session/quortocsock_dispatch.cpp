// The receiving half of QuorTOCSock: one server frame in, events out.

#include "quortocsock.h"

#include "toccommands.h"
#include "tocconfig.h"
#include "tocerrors.h"
#include "tocmessages.h"

#include <algorithm>

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
        emit LoggedIn(strScreenName, config.BuddyList, config.BlockList, config.PrivateList,
                      config.MiscData, config.strPreferences, config.PrivacyMode);
    }
    // Sent after the handlers of LoggedIn have returned, so whatever they sent
    // (the profile) reaches the server first.
    SendPacket(Flap::Data, TocCommand::initDone());
}
