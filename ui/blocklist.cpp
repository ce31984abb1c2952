#include "blocklist.h"

#include "session/screenname.h"

BlockList::BlockList(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
{
    connect(
        &btoc, &QuorTOCSock::LoggedIn, this,
        [this](const QByteArray &, const QList<QByteArray> &, const QList<QByteArray> &blocked,
               const QList<QByteArray> &, const QList<QByteArray> &, const QByteArray &,
               qint16 mode) { reset(blocked, mode); },
        Qt::DirectConnection);
    // What another session of the user's, or the server itself, changed.
    connect(&btoc, &QuorTOCSock::BuddyBlocked, this, [this](const QByteArray &name) { setBlocked(name, true); });
    connect(&btoc, &QuorTOCSock::BuddyUnblocked, this, [this](const QByteArray &name) { setBlocked(name, false); });
}

QuorTOCSock::SendCheck BlockList::block(const QByteArray &name, QString *news)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryBlockUser(name);
    if (QuorTOCSock::goesOut(verdict)) {
        setBlocked(name, true);
        followList(news);
    }
    return verdict;
}

QuorTOCSock::SendCheck BlockList::unblock(const QByteArray &name, QString *news)
{
    const QuorTOCSock::SendCheck verdict = m_btoc.tryUnblockUser(name);
    if (QuorTOCSock::goesOut(verdict)) {
        setBlocked(name, false);
        followList(news);
    }
    return verdict;
}

void BlockList::followList(QString *news)
{
    QString sentence;
    if (m_mode == TocProtocol::PermitAll && !m_blocked.isEmpty()) {
        sendMode(TocProtocol::DenySome);
        sentence = tr("The people you block are kept out from now on: your privacy mode is now "
                      "\"block the people listed\".");
    } else if (m_mode == TocProtocol::DenySome && m_blocked.isEmpty()) {
        // Blocking the people listed when nobody is listed is allowing everyone.
        sendMode(TocProtocol::PermitAll);
        sentence = tr("Nobody is blocked any more: your privacy mode allows everyone again.");
    }
    if (news)
        *news = sentence;
}

void BlockList::setPrivacyMode(qint16 mode)
{
    if (mode < TocProtocol::PermitAll || mode > TocProtocol::PermitBuddies)
        return;
    sendMode(mode == TocProtocol::PermitAll && !m_blocked.isEmpty() ? qint16(TocProtocol::DenySome) : mode);
}

void BlockList::sendMode(qint16 mode)
{
    m_btoc.SetPrivacy(mode);
    if (m_btoc.isConnected())
        setMode(mode);
}

void BlockList::setMode(qint16 mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit privacyModeChanged(mode);
}

void BlockList::reset(const QList<QByteArray> &names, qint16 privacyMode)
{
    m_blocked.reset(names);
    setMode(privacyMode >= TocProtocol::PermitAll && privacyMode <= TocProtocol::PermitBuddies
                ? privacyMode
                : qint16(TocProtocol::PermitAll));
    emit changed(QByteArray(), false);
}

void BlockList::setBlocked(const QByteArray &name, bool blocked)
{
    const bool changedList = blocked ? m_blocked.insert(name) : m_blocked.remove(name);
    if (changedList)
        emit changed(ScreenName::NormalizeName(name), blocked);
}

bool BlockList::isBlocked(const QByteArray &name) const { return m_blocked.contains(name); }
