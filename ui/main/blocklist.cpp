#include "blocklist.h"

#include "session/screenname.h"

void BlockList::reset(const QList<QByteArray> &names)
{
    m_blocked.clear();
    for (const QByteArray &name : names)
        m_blocked.insert(ScreenName::NormalizeName(name));
    emit changed(QByteArray(), false);
}

void BlockList::setBlocked(const QByteArray &name, bool blocked)
{
    const QByteArray key = ScreenName::NormalizeName(name);
    if (blocked == m_blocked.contains(key))
        return;
    if (blocked)
        m_blocked.insert(key);
    else
        m_blocked.remove(key);
    emit changed(key, blocked);
}

bool BlockList::isBlocked(const QByteArray &name) const
{
    return m_blocked.contains(ScreenName::NormalizeName(name));
}
