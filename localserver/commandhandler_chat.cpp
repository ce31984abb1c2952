// The chat-room commands of CommandHandler.

#include "commandhandler.h"

#include "session/tocprotocol.h"

#include "qivbot.h"
#include "session/screenname.h"
#include "servermessages.h"

namespace {
using namespace TocProtocol;
// Sub-codes of a failed join that the client explains.
const QByteArray ChatFullSubCode = "24";
const QByteArray UnknownSubCode = "0";

std::optional<qint32> chatId(const QByteArray &word)
{
    bool ok = false;
    const qint32 id = word.toInt(&ok);
    return ok ? std::optional<qint32>(id) : std::nullopt;
}
} // namespace

void CommandHandler::chatJoin(const QByteArray &userKey, const Words &words)
{
    const QByteArray &roomName = words[2];
    if (!ChatRooms::isValidName(roomName)) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    if (words[1] != QByteArray::number(ChatExchange)) {
        deliver(userKey, ServerMessage::error(ChatJoinFailed, roomName + ':' + UnknownSubCode));
        return;
    }
    enterRoom(userKey, roomName);
}

void CommandHandler::chatAccept(const QByteArray &userKey, const Words &words)
{
    const std::optional<qint32> id = chatId(words[1]);
    const ChatRooms::Room *room = id ? m_rooms.room(*id) : nullptr;
    if (!room) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    enterRoom(userKey, room->name);
}

void CommandHandler::chatInvite(const QByteArray &userKey, const Words &words)
{
    const std::optional<qint32> id = chatId(words[1]);
    const ChatRooms::Room *room = id ? m_rooms.room(*id) : nullptr;
    if (!room || !m_rooms.isMember(*id, userKey)) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    for (const QByteArray &invitee : words.sliced(3)) {
        const QByteArray target = ScreenName::NormalizeName(invitee);
        if (m_directory.isVisible(target) && !m_directory.isResident(target) && !m_directory.blocks(target, userKey))
            deliver(target,
                    ServerMessage::chatInvite(room->name, room->id, m_directory.displayName(userKey), words[2]));
    }
}

void CommandHandler::enterRoom(const QByteArray &userKey, const QByteArray &roomName)
{
    const ChatRooms::Join joined = m_rooms.join(roomName, userKey);
    switch (joined.result) {
    case ChatRooms::JoinResult::InvalidName:
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    case ChatRooms::JoinResult::Full:
        deliver(userKey, ServerMessage::error(ChatJoinFailed, roomName + ':' + ChatFullSubCode));
        return;
    case ChatRooms::JoinResult::AlreadyInside:
        // A second CHAT_JOIN would make the client hold the room twice.
        return;
    case ChatRooms::JoinResult::Joined:
        break;
    }
    const ChatRooms::Room *room = m_rooms.room(joined.id);
    QList<QByteArray> present;
    for (const QByteArray &member : room->members)
        present.append(m_directory.displayName(member));
    deliver(userKey, ServerMessage::chatJoin(room->id, room->name));
    deliver(userKey, ServerMessage::chatUpdateBuddy(room->id, true, present));
    deliverToRoom(room->id, ServerMessage::chatUpdateBuddy(room->id, true, {m_directory.displayName(userKey)}),
                  userKey);
    if (room->members.contains(m_botKey)) {
        deliverToRoom(
            room->id,
            ServerMessage::chatIn(room->id, QivBot::Name, QivBot::greeting(m_directory.displayName(userKey))));
    }
}

void CommandHandler::chatSend(const QByteArray &userKey, const Words &words)
{
    const std::optional<qint32> id = chatId(words[1]);
    if (!id || !m_rooms.isMember(*id, userKey)) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    // The sender gets the message too: that is how a client sees it was said.
    deliverToRoom(*id, ServerMessage::chatIn(*id, m_directory.displayName(userKey), words[2]));
}

void CommandHandler::chatLeave(const QByteArray &userKey, const Words &words)
{
    const std::optional<qint32> id = chatId(words[1]);
    if (!id) {
        deliver(userKey, ServerMessage::error(InvalidInput));
        return;
    }
    leaveRoom(*id, userKey);
    // Confirmed even for a room the user was not in, so the client frees it.
    deliver(userKey, ServerMessage::chatLeft(*id));
}

void CommandHandler::leaveRoom(qint32 id, const QByteArray &userKey)
{
    if (!m_rooms.leave(id, userKey))
        return;
    if (m_rooms.room(id))
        deliverToRoom(id, ServerMessage::chatUpdateBuddy(id, false, {m_directory.displayName(userKey)}));
}

void CommandHandler::deliverToRoom(qint32 id, const QByteArray &message, const QByteArray &except)
{
    const ChatRooms::Room *room = m_rooms.room(id);
    if (!room)
        return;
    // Deliveries never close a connection on the spot, but the copy keeps this
    // loop safe should that change.
    const QList<QByteArray> members = room->members;
    for (const QByteArray &member : members) {
        if (member != except)
            deliver(member, message);
    }
}
