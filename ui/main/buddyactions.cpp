#include "buddyactions.h"

#include "appcontext.h"
#include "blocklist.h"
#include "buddyroster.h"
#include "conversation/history.h"
#include "conversationrouter.h"
#include "dialogs.h"
#include "options.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/wiretext.h"
#include "uniformlistview.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {
// What a group name may not hold: a line break or colon would cut the lines
// the server lists groups in, and Open OSCAR Server reads a quote or
// backslash in a removal differently from one in an addition.
bool storableGroupName(const QString &name)
{
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QLatin1Char(':') || c == QLatin1Char('"')
            || c == QLatin1Char('\\');
    });
}

QStringList shownNames(const QList<QByteArray> &names)
{
    QStringList shown;
    for (const QByteArray &name : names)
        shown << WireText::fromWire(name);
    return shown;
}
} // namespace

BuddyActions::BuddyActions(AppContext &context, ConversationRouter &conversations, BuddyRoster &roster,
                           UniformListView &list, Notice notice, QWidget *owner)
    : QObject(owner)
    , m_context(context)
    , m_conversations(conversations)
    , m_roster(roster)
    , m_list(list)
    , m_notice(std::move(notice))
    , m_owner(owner)
    , m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
    , m_infoTimer(new QTimer(this))
{
    m_infoTimer->setSingleShot(true);
    m_infoTimer->setInterval(InfoTimeoutMs);
    connect(m_infoTimer, &QTimer::timeout, this, [this] {
        m_notice(tr("No answer came for %1's profile.").arg(m_infoFor));
        m_infoFor.clear();
    });
    m_list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex at = m_list.indexAt(pos);
        if (at.isValid())
            m_list.setCurrentIndex(at);
        showMenu(at.isValid() ? at.data(BuddyRoles::WireName).toByteArray() : QByteArray(),
                 m_list.viewport()->mapToGlobal(pos), at.isValid() ? currentGroup() : QByteArray());
    });
    // A double click on a buddy does what Enter does.
    connect(&m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        const QByteArray buddy = index.data(BuddyRoles::WireName).toByteArray();
        if (!buddy.isEmpty())
            sendMessage(buddy);
    });
    m_list.installEventFilter(this);
    connect(&context.btoc, &QuorTOCSock::LoggedIn, this, &BuddyActions::onLoggedIn, Qt::DirectConnection);
    connect(&context.btoc, &QuorTOCSock::UserProfile, this, &BuddyActions::onUserProfile, Qt::DirectConnection);
}

void BuddyActions::setInfoTimeout(int milliseconds) { m_infoTimer->setInterval(milliseconds); }

QByteArray BuddyActions::selectedBuddy() const
{
    const QModelIndexList selected
        = m_list.selectionModel() ? m_list.selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.isEmpty() ? QByteArray() : selected.first().data(BuddyRoles::WireName).toByteArray();
}

bool BuddyActions::groupsShown() const { return m_list.model() == &m_roster.groups(); }

QByteArray BuddyActions::currentGroup() const
{
    return groupsShown() ? m_list.currentIndex().data(BuddyRoles::Group).toByteArray() : QByteArray();
}

QPoint BuddyActions::belowCurrentRow() const
{
    const QRect row = m_list.visualRect(m_list.currentIndex());
    return m_list.viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
}

void BuddyActions::showMenu(const QByteArray &buddy, const QPoint &globalPos, const QByteArray &group)
{
    // The window system may report the Menu key a second time as a request.
    if (m_menu && m_menu->isVisible())
        return;
    delete m_menu.data();
    m_menu = new QMenu(&m_list);
    m_menu->setObjectName(QStringLiteral("mnuBuddy"));
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    if (!buddy.isEmpty()) {
        m_menu->addAction(tr("Send &Message"), this, [this, buddy] { sendMessage(buddy); });
        m_menu->addAction(tr("Get &Info"), this, [this, buddy] { getInfo(buddy); });
        m_menu->addSeparator();
    }
    m_menu->addAction(tr("&Add Buddy..."), this, &BuddyActions::addBuddy);
    const bool groups = groupsShown();
    if (!buddy.isEmpty()) {
        if (groups && !group.isEmpty())
            m_menu->addAction(tr("Mo&ve to Group..."), this, [this, buddy, group] { moveBuddy(buddy, group); });
        m_menu->addAction(tr("&Remove Buddy"), this, [this, buddy, group] { removeBuddy(buddy, group); });
        if (m_context.blocked.isBlocked(buddy))
            m_menu->addAction(tr("&Unblock"), this, [this, buddy] { unblock(buddy); });
        else
            m_menu->addAction(tr("&Block"), this, [this, buddy] { block(buddy); });
    }
    m_menu->addSeparator();
    m_menu->addAction(tr("&History..."), this, [this, buddy] {
        m_context.history.showWindow(m_context.dialogs, History::Place::Conversation, buddy);
    });
    if (groups) {
        m_menu->addSeparator();
        m_menu->addAction(tr("Add &Group..."), this, &BuddyActions::addGroup);
        if (buddy.isEmpty() && !group.isEmpty()) {
            m_menu->addAction(tr("Re&name Group..."), this, [this, group] { renameGroup(group); });
            m_menu->addAction(tr("Remove Gr&oup"), this, [this, group] { removeGroup(group); });
        }
    }
    m_menu->popup(globalPos);
}

bool BuddyActions::sent(QuorTOCSock::SendCheck check, const QString &what)
{
    switch (check) {
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        return true;
    case QuorTOCSock::SendCheck::NotSignedOn:
        m_notice(tr("%1 was not stored because Qiv is not signed on.").arg(what));
        return false;
    case QuorTOCSock::SendCheck::TooLong:
        m_notice(tr("%1 was not stored: the name is too long.").arg(what));
        return false;
    }
    return false;
}

QByteArray BuddyActions::askGroup(const QString &prompt, const QString &title, const QByteArray &offered,
                                  const QByteArray &leaveOut)
{
    QList<QByteArray> stored = m_roster.groups().groupNames();
    stored.removeAll(leaveOut);
    const QString answer
        = m_context.dialogs.askChoice(m_owner, prompt, title, shownNames(stored), WireText::fromWire(offered))
              .trimmed();
    if (answer.isEmpty())
        return QByteArray();
    if (!storableGroupName(answer)) {
        m_notice(tr("A group name cannot hold a colon, a quotation mark or a backslash."));
        return QByteArray();
    }
    return WireText::toWire(answer);
}

void BuddyActions::addBuddy()
{
    const QString name
        = m_context.dialogs.askText(m_owner, tr("Screen name of the buddy to add:"), tr("Add Buddy"), QString());
    if (name.trimmed().isEmpty())
        return;
    const QList<QByteArray> stored = m_roster.groups().groupNames();
    const QByteArray offered = currentGroup().isEmpty()
        ? (stored.isEmpty() || stored.contains(BuddyGroups::DefaultGroup) ? BuddyGroups::DefaultGroup : stored.first())
        : currentGroup();
    const QByteArray wireGroup = askGroup(tr("Group to add %1 to:").arg(name), tr("Add Buddy"), offered);
    if (wireGroup.isEmpty())
        return;
    const QByteArray wireName = WireText::toWire(name.trimmed());
    if (!m_context.btoc.isConnected()) {
        m_notice(tr("%1 was not added because Qiv is not signed on.").arg(name));
        return;
    }
    m_context.btoc.AddBuddy(wireGroup, wireName);
    m_roster.buddyStored(wireGroup, wireName);
    const QString added
        = groupsShown() ? tr("%1 was added to %2.") : tr("%1 was added to %2 and shows here while online.");
    m_notice(added.arg(name.trimmed(), WireText::fromWire(wireGroup)));
}

void BuddyActions::removeBuddy(const QByteArray &buddy, const QByteArray &group)
{
    QList<QByteArray> groups = group.isEmpty() ? m_roster.groups().groupsOf(buddy) : QList<QByteArray>{group};
    if (groups.isEmpty())
        groups.append(BuddyGroups::DefaultGroup);
    for (const QByteArray &from : groups) {
        m_context.btoc.RemoveBuddy(from, buddy);
        m_roster.buddyUnstored(from, buddy);
    }
    // The server keeps no alias for a buddy it no longer lists.
    m_roster.online().forgetAlias(buddy);
    m_notice(tr("%1 was removed from your buddy list.").arg(WireText::fromWire(buddy)));
}

void BuddyActions::moveBuddy(const QByteArray &buddy, const QByteArray &group)
{
    const QString name = WireText::fromWire(buddy);
    const QByteArray to = askGroup(tr("Group to move %1 to:").arg(name), tr("Move Buddy"), QByteArray(), group);
    if (to.isEmpty() || to == group)
        return;
    if (!sent(m_context.btoc.tryMoveBuddy(buddy, group, to), name))
        return;
    m_roster.buddyStored(to, buddy);
    m_roster.buddyUnstored(group, buddy);
    m_notice(tr("%1 was moved to %2.").arg(name, WireText::fromWire(to)));
}

void BuddyActions::addGroup()
{
    const QByteArray group = askGroup(tr("Name of the new group:"), tr("Add Group"), QByteArray());
    if (group.isEmpty())
        return;
    const QString name = WireText::fromWire(group);
    if (m_roster.groups().hasGroup(group)) {
        m_notice(tr("There is a group called %1 already.").arg(name));
        return;
    }
    if (sent(m_context.btoc.tryAddGroup(group), name))
        m_roster.groups().addGroup(group);
}

void BuddyActions::renameGroup(const QByteArray &group)
{
    const QString old = WireText::fromWire(group);
    const QByteArray renamed = askGroup(tr("New name for %1:").arg(old), tr("Rename Group"), group, group);
    if (renamed.isEmpty() || renamed == group)
        return;
    if (m_roster.groups().hasGroup(renamed)) {
        m_notice(tr("There is a group called %1 already.").arg(WireText::fromWire(renamed)));
        return;
    }
    if (!sent(m_context.btoc.tryRenameGroup(group, renamed, m_roster.groups().buddiesIn(group)), old))
        return;
    m_roster.groupRenamed(group, renamed);
    m_list.setCurrentIndex(m_roster.groups().headingOf(renamed));
}

void BuddyActions::removeGroup(const QByteArray &group)
{
    const QString name = WireText::fromWire(group);
    const QList<QByteArray> buddies = m_roster.groups().buddiesIn(group);
    const QString question = buddies.isEmpty()
        ? tr("Remove the group %1?").arg(name)
        : tr("Remove the group %1 and the %n buddies in it from your buddy list?", nullptr, int(buddies.size()))
              .arg(name);
    if (!m_context.dialogs.askYesNo(m_owner, question, tr("Remove Group")))
        return;
    if (!sent(m_context.btoc.tryRemoveGroup(group, buddies), name))
        return;
    m_roster.groupRemoved(group);
    m_notice(tr("%1 was removed from your buddy list.").arg(name));
}

void BuddyActions::block(const QByteArray &buddy)
{
    const QString name = WireText::fromWire(buddy);
    if (!m_context.dialogs.askYesNo(m_owner, tr("Are you sure you want to block %1?").arg(name),
                                    tr("Block %1").arg(name)))
        return;
    QString news;
    m_notice(QuorTOCSock::goesOut(m_context.blocked.block(buddy, &news))
                 ? (tr("%1 has been blocked.").arg(name) + QLatin1Char(' ') + news).trimmed()
                 : tr("%1 was not blocked: the request could not be sent.").arg(name));
}

void BuddyActions::unblock(const QByteArray &buddy)
{
    const QString name = WireText::fromWire(buddy);
    QString news;
    m_notice(QuorTOCSock::goesOut(m_context.blocked.unblock(buddy, &news))
                 ? (tr("%1 has been unblocked.").arg(name) + QLatin1Char(' ') + news).trimmed()
                 : tr("%1 was not unblocked: the request could not be sent.").arg(name));
}

void BuddyActions::getInfo(const QByteArray &buddy)
{
    m_infoFor = WireText::fromWire(buddy);
    m_context.btoc.GetProfile(buddy);
    m_infoTimer->start();
    m_notice(tr("Asking for %1's profile...").arg(m_infoFor));
}

void BuddyActions::sendMessage(const QByteArray &buddy) { m_conversations.showConversation(buddy); }

void BuddyActions::onLoggedIn()
{
    m_infoTimer->stop();
    m_infoFor.clear();
}

void BuddyActions::onUserProfile(const QByteArray &strURL)
{
    // Only an answer to the user's own request opens anything.
    if (m_infoFor.isEmpty())
        return;
    m_infoTimer->stop();
    const QString whose = std::exchange(m_infoFor, QString());
    QUrl base;
    base.setScheme(QStringLiteral("http"));
    base.setHost(m_server.host);
    base.setPort(m_server.port);
    base.setPath(QStringLiteral("/"));
    const QUrl location = base.resolved(QUrl(WireText::fromWire(strURL)));
    const bool web = location.scheme() == QLatin1String("http") || location.scheme() == QLatin1String("https");
    if (!web || !location.isValid()) {
        m_notice(tr("%1's profile is at a location Qiv does not open: %2").arg(whose, WireText::fromWire(strURL)));
        return;
    }
    if (m_openUrl(location))
        m_notice(tr("%1's profile is open in your browser.").arg(whose));
    else
        m_notice(tr("%1's profile could not be opened: %2").arg(whose, location.toString()));
}

bool BuddyActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool menuKey
            = key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey) {
            showMenu(selectedBuddy(), belowCurrentRow(), currentGroup());
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !selectedBuddy().isEmpty()) {
            sendMessage(selectedBuddy());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
