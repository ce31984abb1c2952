#include "buddyroster.h"

#include "appcontext.h"
#include "buddydelegate.h"
#include "options.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "uniformlistview.h"

#include <QKeyEvent>
#include <QTimer>

BuddyRoster::BuddyRoster(AppContext &context, UniformListView &list, QObject *parent)
    : Presence(parent)
    , m_context(context)
    , m_list(list)
    , m_delegate(new BuddyDelegate(this))
    , m_minuteTimer(new QTimer(this))
{
    m_list.setItemDelegate(m_delegate);
    // The away mark is no taller than a line of text, so that marked rows
    // have the height of every other row.
    const int line = m_list.fontMetrics().height();
    m_list.setIconSize(QSize(line, line));
    m_minuteTimer->setInterval(MinuteMs);
    connect(m_minuteTimer, &QTimer::timeout, this, &BuddyRoster::refreshIdle);
    m_minuteTimer->start();
    connect(&m_list, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (m_list.model() == &m_groups && m_groups.isHeading(index)) {
            const QByteArray group = index.data(BuddyRoles::Group).toByteArray();
            m_groups.setExpanded(group, !m_groups.isExpanded(group));
        }
    });
    m_list.installEventFilter(this);

    QuorTOCSock &btoc = context.btoc;
    connect(&btoc, &QuorTOCSock::BuddyUpdate, this, &BuddyRoster::onBuddyUpdate, Qt::DirectConnection);
    connect(
        &btoc, &QuorTOCSock::LoggedIn, this,
        [this](const QByteArray &name, const QList<QByteArray> &buddies) { onLoggedIn(name, buddies); },
        Qt::DirectConnection);
    connect(
        &btoc, &QuorTOCSock::BuddyAdded, this,
        [this](const QByteArray &group, const QByteArray &buddy) { buddyStored(group, buddy); }, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::BuddyRemoved, this, &BuddyRoster::buddyUnstored, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::GroupAdded, &m_groups, &BuddyGroups::addGroup, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::GroupRemoved, this, &BuddyRoster::groupRemoved, Qt::DirectConnection);

    connect(&context.options, &Options::changed, this, &BuddyRoster::applyOptions);
    applyOptions();
}

void BuddyRoster::setClock(Clock clock)
{
    m_clock = clock;
    m_online.setClock(clock);
    m_groups.setClock(std::move(clock));
}

void BuddyRoster::applyOptions()
{
    const Options &options = m_context.options;
    m_online.setShowsStatus(options.showsStatus());
    m_groups.setShowsStatus(options.showsStatus());
    QAbstractItemModel *shown = options.showsGroups() ? static_cast<QAbstractItemModel *>(&m_groups) : &m_online;
    if (m_list.model() != shown)
        m_list.setModel(shown);
}

void BuddyRoster::refreshIdle()
{
    m_online.refreshIdle();
    m_groups.refreshIdle();
}

void BuddyRoster::clear()
{
    m_online.clear();
    m_groups.reset({});
}

void BuddyRoster::onBuddyUpdate(const QByteArray &strBuddy, bool blnOnline, qint16 intWarningLevel,
                                qint32 lngOnlineTime, qint32 lngIdleTime, const QByteArray &strUserClass)
{
    // A new report starts the idle count afresh from what it says.
    const BuddyStatus status{blnOnline, intWarningLevel, lngOnlineTime, lngIdleTime, m_clock(), strUserClass};
    const bool cameOnline = blnOnline && !m_online.isListed(strBuddy);
    m_online.update(strBuddy, status);
    m_groups.update(strBuddy, status);
    if (cameOnline)
        emit Presence::cameOnline(ScreenName::NormalizeName(strBuddy));
}

bool BuddyRoster::isKnownOffline(const QByteArray &wireName) const
{
    return m_groups.isStored(wireName) && !m_online.isListed(wireName);
}

void BuddyRoster::onLoggedIn(const QByteArray &, const QList<QByteArray> &BuddyList)
{
    m_groups.reset(BuddyList, m_context.btoc.buddyAliases());
    m_online.setAliases(m_context.btoc.buddyAliases());
}

void BuddyRoster::buddyStored(const QByteArray &group, const QByteArray &wireName)
{
    m_groups.addBuddy(group, wireName);
}

void BuddyRoster::buddyUnstored(const QByteArray &group, const QByteArray &wireName)
{
    m_groups.removeBuddy(group, wireName);
    forgetUnlisted(wireName);
}

void BuddyRoster::groupRemoved(const QByteArray &group)
{
    const QList<QByteArray> buddies = m_groups.buddiesIn(group);
    m_groups.removeGroup(group);
    for (const QByteArray &buddy : buddies)
        forgetUnlisted(buddy);
}

void BuddyRoster::groupRenamed(const QByteArray &group, const QByteArray &newName)
{
    m_groups.renameGroup(group, newName);
}

void BuddyRoster::forgetUnlisted(const QByteArray &wireName)
{
    if (m_groups.groupsOf(wireName).isEmpty())
        m_online.update(wireName, false);
}

QByteArray BuddyRoster::currentGroup(bool headingOnly) const
{
    const QModelIndex current = m_list.currentIndex();
    if (m_list.model() != &m_groups || !current.isValid() || (headingOnly && !m_groups.isHeading(current)))
        return QByteArray();
    return current.data(BuddyRoles::Group).toByteArray();
}

bool BuddyRoster::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_list || event->type() != QEvent::KeyPress || m_list.model() != &m_groups)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const QByteArray heading = currentGroup(true);
    switch (key) {
    case Qt::Key_Left:
        if (!heading.isEmpty()) {
            m_groups.setExpanded(heading, false);
        } else if (const QByteArray group = currentGroup(false); !group.isEmpty()) {
            // From a buddy to the heading of its group.
            m_list.setCurrentIndex(m_groups.headingOf(group));
        }
        return true;
    case Qt::Key_Right:
        if (!heading.isEmpty())
            m_groups.setExpanded(heading, true);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (heading.isEmpty())
            break;
        m_groups.setExpanded(heading, !m_groups.isExpanded(heading));
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
