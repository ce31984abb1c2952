#pragma once

// TocChatTable: the chat rooms the server has confirmed the user is in, as a
// fixed row of entries filled from the front. Knows nothing of the connection.

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <optional>

class TocChatTable
{
public:
    struct Entry
    {
        qint32 lngChatID = 0; // 0 with no name marks a free entry
        QByteArray strChatName;
    };
    static constexpr int Size = 11;

    // Takes the first free entry; with every entry in use nothing is stored,
    // and a room already entered takes a second entry.
    void join(qint32 chatId, const QByteArray &chatName);
    // Frees the first entry in use that holds the chat, if any.
    void leave(qint32 chatId);
    void clear();

    // Look-ups scan free entries too, so chat 0 and the empty name find one.
    std::optional<QByteArray> nameOf(qint32 chatId) const;
    std::optional<qint32> idOf(QByteArrayView chatName) const;

    // Some servers number a connection's chats from 0, so an entry with ID 0
    // that holds a room name is in use; only one without a name is free.
    static bool isFree(const Entry &entry) { return entry.lngChatID == 0 && entry.strChatName.isEmpty(); }

    const Entry &operator[](int index) const { return m_entries[std::size_t(index)]; }
    auto begin() const { return m_entries.cbegin(); }
    auto end() const { return m_entries.cend(); }

private:
    std::array<Entry, Size> m_entries;
};
