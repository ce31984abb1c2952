#include "buddylist.h"

#include "session/screenname.h"
#include "session/wiretext.h"

#include <algorithm>

BuddyList::BuddyList(QObject *parent)
    : QAbstractListModel(parent)
{
}

qsizetype BuddyList::rowOf(quint64 ticket) const
{
    return std::lower_bound(m_tickets.cbegin(), m_tickets.cend(), ticket) - m_tickets.cbegin();
}

void BuddyList::setShowsStatus(bool shown)
{
    if (shown == m_showsStatus)
        return;
    m_showsStatus = shown;
    if (!m_names.isEmpty())
        emit dataChanged(index(0), index(int(m_names.size()) - 1));
}

QString BuddyList::shownName(const QByteArray &strBuddy) const
{
    const auto alias = m_aliases.constFind(ScreenName::NormalizeName(strBuddy));
    return WireText::fromWire(alias == m_aliases.cend() ? strBuddy : *alias);
}

void BuddyList::setAliases(const QHash<QByteArray, QByteArray> &aliases)
{
    m_aliases = aliases;
    for (qsizetype row = 0; row < m_names.size(); ++row)
        m_names[row] = shownName(m_wireNames.at(row));
    if (!m_names.isEmpty())
        emit dataChanged(index(0), index(int(m_names.size()) - 1), {Qt::DisplayRole, Qt::AccessibleTextRole});
}

void BuddyList::forgetAlias(const QByteArray &strBuddy) { m_aliases.remove(ScreenName::NormalizeName(strBuddy)); }

void BuddyList::update(const QByteArray &strBuddy, bool blnOnline)
{
    BuddyStatus status;
    status.online = blnOnline;
    update(strBuddy, status);
}

void BuddyList::refreshIdle()
{
    // One change for every row: the view repaints what is on screen, whatever
    // the length of the list, and nothing is sorted again.
    if (m_showsStatus && !m_names.isEmpty())
        emit dataChanged(index(0), index(int(m_names.size()) - 1), {BuddyRoles::IdleText, Qt::AccessibleTextRole});
}

bool BuddyList::isListed(const QByteArray &strBuddy) const
{
    return m_ticketByKey.contains(ScreenName::NormalizeName(strBuddy));
}

void BuddyList::update(const QByteArray &strBuddy, const BuddyStatus &status)
{
    const QByteArray key = ScreenName::NormalizeName(strBuddy);
    if (const auto listed = m_ticketByKey.constFind(key); listed != m_ticketByKey.cend()) {
        const int row = int(rowOf(*listed));
        m_ticketByKey.erase(listed);
        beginRemoveRows(QModelIndex(), row, row);
        m_tickets.remove(row);
        m_names.remove(row);
        m_wireNames.remove(row);
        m_status.remove(row);
        endRemoveRows();
    }
    if (!status.online)
        return;
    const int row = int(m_names.size());
    beginInsertRows(QModelIndex(), row, row);
    m_tickets.append(m_nextTicket);
    m_names.append(shownName(strBuddy));
    m_wireNames.append(strBuddy);
    m_status.append(status);
    m_ticketByKey.insert(key, m_nextTicket++);
    endInsertRows();
}

void BuddyList::clear()
{
    beginResetModel();
    m_tickets.clear();
    m_names.clear();
    m_wireNames.clear();
    m_status.clear();
    m_ticketByKey.clear();
    endResetModel();
}

int BuddyList::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_names.size()); }

QVariant BuddyList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return QVariant();
    if (role == WireNameRole)
        return m_wireNames.at(index.row());
    return buddyRowData(m_names.at(index.row()), m_status.at(index.row()), role, m_showsStatus, m_clock());
}

Qt::ItemFlags BuddyList::flags(const QModelIndex &index) const
{
    // Rows can be selected to read them, but nothing is edited or dragged.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
