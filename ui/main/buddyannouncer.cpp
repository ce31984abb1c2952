#include "buddyannouncer.h"

#include "appcontext.h"
#include "attention.h"
#include "options.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/wiretext.h"

BuddyAnnouncer::BuddyAnnouncer(AppContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    connect(&context.btoc, &QuorTOCSock::LoggedIn, this, &BuddyAnnouncer::onLoggedIn, Qt::DirectConnection);
    connect(
        &context.btoc, &QuorTOCSock::BuddyUpdate, this,
        [this](const QByteArray &buddy, bool online) { onBuddyUpdate(buddy, online); }, Qt::DirectConnection);
}

void BuddyAnnouncer::onLoggedIn()
{
    m_online.clear();
    m_quietUntil = m_clock() + QuietAfterSignOnMs;
}

void BuddyAnnouncer::onBuddyUpdate(const QByteArray &strBuddy, bool blnOnline)
{
    const QByteArray key = ScreenName::NormalizeName(strBuddy);
    // A report for a buddy who stays online (away, idle) is no sign-on.
    const bool news = blnOnline != m_online.contains(key);
    const QString name = blnOnline ? WireText::fromWire(strBuddy) : m_online.take(key);
    if (blnOnline)
        m_online.insert(key, name);
    if (!news || !m_context.options.announcesBuddies() || m_clock() < m_quietUntil)
        return;
    m_context.attention.announce(name, blnOnline ? tr("signed on") : tr("signed off"));
}
