#include "permitlist.h"

PermitList::PermitList(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
{
    connect(
        &btoc, &QuorTOCSock::LoggedIn, this,
        [this](const QByteArray &, const QList<QByteArray> &, const QList<QByteArray> &,
               const QList<QByteArray> &permitted, const QList<QByteArray> &, const QByteArray &,
               qint16) { reset(permitted); },
        Qt::DirectConnection);
    // What another session of the user's, or the server itself, changed.
    connect(&btoc, &QuorTOCSock::PrivateBuddyAdded, this, [this](const QByteArray &name) { setPermitted(name, true); });
    connect(&btoc, &QuorTOCSock::PrivateBuddyRemoved, this,
            [this](const QByteArray &name) { setPermitted(name, false); });
}

void PermitList::reset(const QList<QByteArray> &names)
{
    m_permitted.reset(names);
    emit changed();
}

QuorTOCSock::SendCheck PermitList::permit(const QByteArray &name)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryAddPrivateUser(name);
    if (QuorTOCSock::goesOut(verdict))
        setPermitted(name, true);
    return verdict;
}

QuorTOCSock::SendCheck PermitList::unpermit(const QByteArray &name)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryRemovePrivateUser(name);
    if (QuorTOCSock::goesOut(verdict))
        setPermitted(name, false);
    return verdict;
}

void PermitList::setPermitted(const QByteArray &name, bool permitted)
{
    if (permitted ? m_permitted.insert(name) : m_permitted.remove(name))
        emit changed();
}
