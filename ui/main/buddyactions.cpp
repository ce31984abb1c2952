#include "buddyactions.h"

#include "appcontext.h"
#include "blocklist.h"
#include "buddylist.h"
#include "conversationrouter.h"
#include "dialogs.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/tocconfig.h"
#include "uniformlistview.h"
#include "session/wiretext.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QUrl>

namespace {
const QByteArray GroupMarker = QByteArrayLiteral("[group]");
} // namespace

BuddyActions::BuddyActions(AppContext &context, ConversationRouter &conversations, UniformListView &list,
                           Notice notice, QWidget *owner)
    : QObject(owner)
    , m_context(context)
    , m_conversations(conversations)
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
        showMenu(at.isValid() ? at.data(BuddyList::WireNameRole).toByteArray() : QByteArray(),
                 m_list.viewport()->mapToGlobal(pos));
    });
    m_list.installEventFilter(this);
}

void BuddyActions::setInfoTimeout(int milliseconds)
{
    m_infoTimer->setInterval(milliseconds);
}

QByteArray BuddyActions::selectedBuddy() const
{
    const QModelIndexList selected = m_list.selectionModel() ? m_list.selectionModel()->selectedIndexes()
                                                             : QModelIndexList();
    return selected.isEmpty() ? QByteArray() : selected.first().data(BuddyList::WireNameRole).toByteArray();
}

QPoint BuddyActions::belowCurrentRow() const
{
    const QRect row = m_list.visualRect(m_list.currentIndex());
    return m_list.viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
}

void BuddyActions::showMenu(const QByteArray &buddy, const QPoint &globalPos)
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
    if (!buddy.isEmpty()) {
        m_menu->addAction(tr("&Remove Buddy"), this, [this, buddy] { removeBuddy(buddy); });
        if (m_context.blocked.isBlocked(buddy))
            m_menu->addAction(tr("&Unblock"), this, [this, buddy] { unblock(buddy); });
        else
            m_menu->addAction(tr("&Block"), this, [this, buddy] { block(buddy); });
    }
    m_menu->popup(globalPos);
}

void BuddyActions::addBuddy()
{
    const QString name = m_context.dialogs.askText(m_owner, tr("Screen name of the buddy to add:"),
                                                   tr("Add Buddy"), QString());
    if (name.trimmed().isEmpty())
        return;
    const QString group = m_context.dialogs.askText(m_owner, tr("Group to add %1 to:").arg(name), tr("Add Buddy"),
                                                    WireText::fromWire(DefaultGroup));
    if (group.trimmed().isEmpty())
        return;
    const QByteArray wireName = WireText::toWire(name.trimmed());
    const QByteArray wireGroup = WireText::toWire(group.trimmed());
    if (!m_context.btoc.isConnected()) {
        m_notice(tr("%1 was not added because Qiv is not signed on.").arg(name));
        return;
    }
    m_context.btoc.AddBuddy(wireGroup, wireName);
    m_groupOf.insert(ScreenName::NormalizeName(wireName), wireGroup);
    m_notice(tr("%1 was added to %2 and shows here while online.").arg(name.trimmed(), group.trimmed()));
}

void BuddyActions::removeBuddy(const QByteArray &buddy)
{
    const QByteArray key = ScreenName::NormalizeName(buddy);
    m_context.btoc.RemoveBuddy(m_groupOf.value(key, DefaultGroup), buddy);
    m_groupOf.remove(key);
    // The server reports nothing more about a buddy it no longer lists, and
    // keeps no alias for it.
    if (auto *buddies = qobject_cast<BuddyList *>(m_list.model())) {
        buddies->update(buddy, false);
        buddies->forgetAlias(buddy);
    }
    m_notice(tr("%1 was removed from your buddy list.").arg(WireText::fromWire(buddy)));
}

void BuddyActions::block(const QByteArray &buddy)
{
    const QString name = WireText::fromWire(buddy);
    if (!m_context.dialogs.askYesNo(m_owner, tr("Are you sure you want to block %1?").arg(name),
                                    tr("Block %1").arg(name)))
        return;
    m_notice(m_context.blocked.block(buddy) == QuorTOCSock::SendCheck::Sendable
                 ? tr("%1 has been blocked.").arg(name)
                 : tr("%1 was not blocked: the request could not be sent.").arg(name));
}

void BuddyActions::unblock(const QByteArray &buddy)
{
    const QString name = WireText::fromWire(buddy);
    m_notice(m_context.blocked.unblock(buddy) == QuorTOCSock::SendCheck::Sendable
                 ? tr("%1 has been unblocked.").arg(name)
                 : tr("%1 was not unblocked: the request could not be sent.").arg(name));
}

void BuddyActions::getInfo(const QByteArray &buddy)
{
    m_infoFor = WireText::fromWire(buddy);
    m_context.btoc.GetProfile(buddy);
    m_infoTimer->start();
    m_notice(tr("Asking for %1's profile...").arg(m_infoFor));
}

void BuddyActions::sendMessage(const QByteArray &buddy)
{
    m_conversations.showConversation(buddy);
}

void BuddyActions::onLoggedIn(const QByteArray &, const QList<QByteArray> &BuddyList,
                            const QList<QByteArray> &BlockList)
{
    m_groupOf.clear();
    QByteArray group = DefaultGroup;
    for (const QByteArray &entry : BuddyList) {
        if (entry.startsWith(GroupMarker))
            group = entry.mid(GroupMarker.size());
        else
            m_groupOf.insert(ScreenName::NormalizeName(TocConfigText::buddyName(entry)), group);
    }
    if (auto *buddies = qobject_cast<::BuddyList *>(m_list.model()))
        buddies->setAliases(m_context.btoc.buddyAliases());
    m_context.blocked.reset(BlockList);
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
        const bool menuKey = key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey) {
            showMenu(selectedBuddy(), belowCurrentRow());
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !selectedBuddy().isEmpty()) {
            sendMessage(selectedBuddy());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
