#include "tocchattable.h"

#include <algorithm>

void TocChatTable::join(qint32 chatId, const QByteArray &chatName)
{
    const auto free = std::find_if(m_entries.begin(), m_entries.end(), &TocChatTable::isFree);
    if (free != m_entries.end())
        *free = Entry{chatId, chatName};
}

void TocChatTable::leave(qint32 chatId)
{
    const auto held = std::find_if(m_entries.begin(), m_entries.end(), [chatId](const Entry &entry) {
        return entry.lngChatID == chatId && !isFree(entry);
    });
    if (held != m_entries.end())
        *held = Entry{};
}

void TocChatTable::clear() { m_entries.fill(Entry{}); }

std::optional<QByteArray> TocChatTable::nameOf(qint32 chatId) const
{
    for (const Entry &entry : m_entries) {
        if (entry.lngChatID == chatId)
            return entry.strChatName;
    }
    return std::nullopt;
}

std::optional<qint32> TocChatTable::idOf(QByteArrayView chatName) const
{
    for (const Entry &entry : m_entries) {
        if (entry.strChatName == chatName)
            return entry.lngChatID;
    }
    return std::nullopt;
}
