#pragma once

// ChatRooms: the rooms that exist now, their IDs and who is in each, in the
// order they came in. Rooms are found by name regardless of letter case; IDs
// count up from 1 and are never reused. A room with nobody left is removed
// unless it is kept open for a resident. It sends nothing itself.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

class ChatRooms
{
public:
    static constexpr int MaxRoomNameLength = 64;
    static constexpr int MaxMembers = 100;

    struct Room
    {
        qint32 id = 0;
        QByteArray name;
        QList<QByteArray> members;
        bool permanent = false;
    };

    enum class JoinResult { Joined, AlreadyInside, Full, InvalidName };
    struct Join
    {
        JoinResult result;
        qint32 id = 0;
    };

    // A room name this server can carry: 1 to MaxRoomNameLength bytes, no
    // control characters, not all blanks.
    static bool isValidName(QByteArrayView name);

    // A room that stays even when empty, with its first member.
    qint32 addPermanentRoom(const QByteArray &name, const QByteArray &residentKey);
    // Creates the room when it does not exist yet.
    Join join(const QByteArray &roomName, const QByteArray &key);
    // Whether key was inside.
    bool leave(qint32 id, const QByteArray &key);
    const Room *room(qint32 id) const;
    bool isMember(qint32 id, const QByteArray &key) const;
    // IDs of the rooms key is in.
    QList<qint32> roomsOf(const QByteArray &key) const;
    qsizetype roomCount() const { return m_rooms.size(); }

private:
    QHash<qint32, Room> m_rooms;
    QHash<QByteArray, qint32> m_idByName;
    // The first room is chat 0, as the first room of a connection is on the
    // real network.
    qint32 m_nextId = 0;
};
