#include "chatrooms.h"

#include <algorithm>

namespace {
QByteArray lookupName(const QByteArray &name) { return name.trimmed().toLower(); }
} // namespace

bool ChatRooms::isValidName(QByteArrayView name)
{
    if (name.size() > MaxRoomNameLength || name.trimmed().isEmpty())
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return quint8(c) < 32 || c == 127; });
}

qint32 ChatRooms::addPermanentRoom(const QByteArray &name, const QByteArray &residentKey)
{
    const Join joined = join(name, residentKey);
    m_rooms[joined.id].permanent = true;
    return joined.id;
}

ChatRooms::Join ChatRooms::join(const QByteArray &roomName, const QByteArray &key)
{
    if (!isValidName(roomName))
        return {JoinResult::InvalidName};
    const QByteArray lookup = lookupName(roomName);
    auto found = m_idByName.constFind(lookup);
    if (found == m_idByName.cend()) {
        Room room;
        room.id = m_nextId++;
        room.name = roomName.trimmed();
        room.members.append(key);
        m_idByName.insert(lookup, room.id);
        m_rooms.insert(room.id, room);
        return {JoinResult::Joined, room.id};
    }
    Room &room = m_rooms[*found];
    if (room.members.contains(key))
        return {JoinResult::AlreadyInside, room.id};
    if (room.members.size() >= MaxMembers)
        return {JoinResult::Full, room.id};
    room.members.append(key);
    return {JoinResult::Joined, room.id};
}

bool ChatRooms::leave(qint32 id, const QByteArray &key)
{
    auto it = m_rooms.find(id);
    if (it == m_rooms.end() || !it->members.removeOne(key))
        return false;
    if (it->members.isEmpty() && !it->permanent) {
        m_idByName.remove(lookupName(it->name));
        m_rooms.erase(it);
    }
    return true;
}

const ChatRooms::Room *ChatRooms::room(qint32 id) const
{
    auto it = m_rooms.constFind(id);
    return it == m_rooms.cend() ? nullptr : &*it;
}

bool ChatRooms::isMember(qint32 id, const QByteArray &key) const
{
    const Room *found = room(id);
    return found && found->members.contains(key);
}

QList<qint32> ChatRooms::roomsOf(const QByteArray &key) const
{
    QList<qint32> ids;
    for (const Room &room : m_rooms) {
        if (room.members.contains(key))
            ids.append(room.id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}
