#include "blocklist.h"

#include "session/screenname.h"

BlockList::BlockList(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
{
}

QuorTOCSock::SendCheck BlockList::block(const QByteArray &name)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryBlockUser(name);
    if (verdict == QuorTOCSock::SendCheck::Sendable)
        setBlocked(name, true);
    return verdict;
}

QuorTOCSock::SendCheck BlockList::unblock(const QByteArray &name)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryUnblockUser(name);
    if (verdict == QuorTOCSock::SendCheck::Sendable)
        setBlocked(name, false);
    return verdict;
}

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
