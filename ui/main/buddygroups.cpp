#include "buddygroups.h"

#include "session/screenname.h"
#include "session/tocconfig.h"
#include "session/wiretext.h"

#include <QCoreApplication>
#include <QFont>
#include <algorithm>

namespace {
const QByteArray GroupMarker = QByteArrayLiteral("[group]");
} // namespace

BuddyGroups::BuddyGroups(QObject *parent)
    : QAbstractListModel(parent)
{
}

int BuddyGroups::groupIndex(const QByteArray &group) const
{
    for (int i = 0; i < m_groups.size(); ++i) {
        if (m_groups.at(i).name == group)
            return i;
    }
    return -1;
}

void BuddyGroups::placeRows()
{
    m_headingRow.resize(m_groups.size());
    int row = 0;
    for (int i = 0; i < m_groups.size(); ++i) {
        m_headingRow[i] = row;
        row += 1 + int(m_groups.at(i).shownRows());
    }
}

std::pair<int, qsizetype> BuddyGroups::locate(int row) const
{
    const int group
        = int(std::upper_bound(m_headingRow.cbegin(), m_headingRow.cend(), row) - m_headingRow.cbegin()) - 1;
    return {group, row - m_headingRow.at(group) - 1};
}

BuddyGroups::Buddy &BuddyGroups::buddyFor(const QByteArray &wireName)
{
    Buddy &buddy = m_buddies[ScreenName::NormalizeName(wireName)];
    if (buddy.wireName.isEmpty()) {
        buddy.wireName = wireName;
        buddy.shown = shownName(wireName);
    }
    return buddy;
}

void BuddyGroups::setShowsStatus(bool shown)
{
    if (shown == m_showsStatus)
        return;
    m_showsStatus = shown;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}

QString BuddyGroups::shownName(const QByteArray &wireName) const
{
    const auto alias = m_aliases.constFind(ScreenName::NormalizeName(wireName));
    return WireText::fromWire(alias == m_aliases.cend() ? wireName : *alias);
}

void BuddyGroups::reset(const QList<QByteArray> &storedList, const QHash<QByteArray, QByteArray> &aliases)
{
    m_aliases = aliases;
    beginResetModel();
    m_groups.clear();
    m_buddies.clear();
    int current = -1;
    for (const QByteArray &entry : storedList) {
        const bool heading = entry.startsWith(GroupMarker);
        const QByteArray group = heading ? entry.mid(GroupMarker.size()) : DefaultGroup;
        if (heading || current < 0) {
            current = groupIndex(group);
            if (current < 0) {
                m_groups.append({group, {}, 0, !m_collapsed.contains(group)});
                current = int(m_groups.size()) - 1;
            }
        }
        if (heading)
            continue;
        const QByteArray name = TocConfigText::buddyName(entry);
        if (name.isEmpty())
            continue;
        buddyFor(name);
        m_groups[current].keys.append(ScreenName::NormalizeName(name));
    }
    for (Group &group : m_groups) {
        std::sort(group.keys.begin(), group.keys.end());
        group.keys.erase(std::unique(group.keys.begin(), group.keys.end()), group.keys.end());
    }
    placeRows();
    endResetModel();
}

void BuddyGroups::addGroup(const QByteArray &group)
{
    if (group.isEmpty() || hasGroup(group))
        return;
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_groups.append({group, {}, 0, !m_collapsed.contains(group)});
    placeRows();
    endInsertRows();
}

void BuddyGroups::removeGroup(const QByteArray &group)
{
    const int found = groupIndex(group);
    if (found < 0)
        return;
    const int first = m_headingRow.at(found);
    beginRemoveRows(QModelIndex(), first, first + int(m_groups.at(found).shownRows()));
    m_groups.removeAt(found);
    placeRows();
    endRemoveRows();
}

void BuddyGroups::renameGroup(const QByteArray &group, const QByteArray &newName)
{
    const int found = groupIndex(group);
    if (found < 0 || newName.isEmpty() || hasGroup(newName))
        return;
    Group renamed = m_groups.at(found);
    renamed.name = newName;
    if (!renamed.expanded)
        m_collapsed.insert(newName);
    removeGroup(group);
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row + int(renamed.shownRows()));
    m_groups.append(renamed);
    placeRows();
    endInsertRows();
}

std::pair<qsizetype, bool> BuddyGroups::placeIn(int group, const QByteArray &key) const
{
    const QList<QByteArray> &keys = m_groups.at(group).keys;
    const auto at = std::lower_bound(keys.cbegin(), keys.cend(), key);
    return {at - keys.cbegin(), at != keys.cend() && *at == key};
}

void BuddyGroups::addBuddy(const QByteArray &group, const QByteArray &wireName)
{
    if (wireName.isEmpty())
        return;
    addGroup(group);
    const int found = groupIndex(group);
    if (found < 0)
        return;
    const QByteArray key = ScreenName::NormalizeName(wireName);
    const auto [place, listed] = placeIn(found, key);
    if (listed)
        return;
    const Buddy &buddy = buddyFor(wireName);
    const bool shown = m_groups.at(found).expanded;
    const int row = m_headingRow.at(found) + 1 + int(place);
    if (shown)
        beginInsertRows(QModelIndex(), row, row);
    m_groups[found].keys.insert(place, key);
    if (buddy.status.online)
        ++m_groups[found].online;
    placeRows();
    if (shown)
        endInsertRows();
    headingChanged(found);
}

void BuddyGroups::removeBuddy(const QByteArray &group, const QByteArray &wireName)
{
    const int found = groupIndex(group);
    if (found < 0)
        return;
    const QByteArray key = ScreenName::NormalizeName(wireName);
    const auto [place, listed] = placeIn(found, key);
    if (!listed)
        return;
    const bool shown = m_groups.at(found).expanded;
    const int row = m_headingRow.at(found) + 1 + int(place);
    if (shown)
        beginRemoveRows(QModelIndex(), row, row);
    m_groups[found].keys.remove(place);
    if (m_buddies.value(key).status.online)
        --m_groups[found].online;
    placeRows();
    if (shown)
        endRemoveRows();
    headingChanged(found);
}

void BuddyGroups::update(const QByteArray &wireName, const BuddyStatus &status)
{
    const QByteArray key = ScreenName::NormalizeName(wireName);
    Buddy &buddy = buddyFor(wireName);
    const bool wasOnline = buddy.status.online;
    // Servers report a departure under the plain name; the name as the buddy
    // spells it stays.
    if (status.online) {
        buddy.wireName = wireName;
        buddy.shown = shownName(wireName);
    }
    buddy.status = status;
    for (int g = 0; g < m_groups.size(); ++g) {
        Group &group = m_groups[g];
        const auto at = std::lower_bound(group.keys.cbegin(), group.keys.cend(), key);
        if (at == group.keys.cend() || *at != key)
            continue;
        if (wasOnline != status.online) {
            group.online += status.online ? 1 : -1;
            headingChanged(g);
        }
        if (group.expanded) {
            const QModelIndex changed = index(m_headingRow.at(g) + 1 + int(at - group.keys.cbegin()));
            emit dataChanged(changed, changed);
        }
    }
}

void BuddyGroups::refreshIdle()
{
    if (m_showsStatus && rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {BuddyRoles::IdleText, Qt::AccessibleTextRole});
}

bool BuddyGroups::isHeading(const QModelIndex &index) const
{
    return index.isValid() && index.row() < rowCount() && locate(index.row()).second < 0;
}

bool BuddyGroups::isExpanded(const QByteArray &group) const
{
    const int found = groupIndex(group);
    return found >= 0 && m_groups.at(found).expanded;
}

void BuddyGroups::setExpanded(const QByteArray &group, bool expanded)
{
    if (expanded)
        m_collapsed.remove(group);
    else
        m_collapsed.insert(group);
    const int found = groupIndex(group);
    if (found < 0 || m_groups.at(found).expanded == expanded)
        return;
    const int first = m_headingRow.at(found) + 1;
    const int count = int(m_groups.at(found).keys.size());
    if (count == 0) {
        m_groups[found].expanded = expanded;
    } else if (expanded) {
        beginInsertRows(QModelIndex(), first, first + count - 1);
        m_groups[found].expanded = true;
        placeRows();
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), first, first + count - 1);
        m_groups[found].expanded = false;
        placeRows();
        endRemoveRows();
    }
    headingChanged(found);
}

QModelIndex BuddyGroups::headingOf(const QByteArray &group) const
{
    const int found = groupIndex(group);
    return found < 0 ? QModelIndex() : index(m_headingRow.at(found));
}

void BuddyGroups::headingChanged(int group)
{
    const QModelIndex heading = index(m_headingRow.at(group));
    emit dataChanged(heading, heading);
}

QList<QByteArray> BuddyGroups::groupNames() const
{
    QList<QByteArray> names;
    for (const Group &group : m_groups)
        names.append(group.name);
    return names;
}

QList<QByteArray> BuddyGroups::groupsOf(const QByteArray &wireName) const
{
    const QByteArray key = ScreenName::NormalizeName(wireName);
    QList<QByteArray> groups;
    for (const Group &group : m_groups) {
        if (std::binary_search(group.keys.cbegin(), group.keys.cend(), key))
            groups.append(group.name);
    }
    return groups;
}

QList<QByteArray> BuddyGroups::buddiesIn(const QByteArray &group) const
{
    QList<QByteArray> names;
    if (const int found = groupIndex(group); found >= 0) {
        for (const QByteArray &key : m_groups.at(found).keys)
            names.append(m_buddies.value(key).wireName);
    }
    return names;
}

int BuddyGroups::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || m_groups.isEmpty())
        return 0;
    return m_headingRow.last() + 1 + int(m_groups.last().shownRows());
}

QVariant BuddyGroups::headingData(const Group &group, int role) const
{
    const QString name = WireText::fromWire(group.name);
    const QString count = QStringLiteral("(%1/%2)").arg(group.online).arg(group.keys.size());
    switch (role) {
    case Qt::DisplayRole:
        // A triangle pointing down at an open group, right at a closed one.
        return (group.expanded ? QStringLiteral("\u25BE ") : QStringLiteral("\u25B8 ")) + name + QLatin1Char(' ')
            + count;
    case Qt::AccessibleTextRole:
        return name + QLatin1Char(' ') + count + (group.expanded ? tr(", expanded") : tr(", collapsed"));
    case Qt::AccessibleDescriptionRole:
        return tr("Group: %1 of %2 online. Left closes it, Right opens it.").arg(group.online).arg(group.keys.size());
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case BuddyRoles::Group:
        return group.name;
    default:
        return QVariant();
    }
}

QVariant BuddyGroups::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const auto [g, place] = locate(index.row());
    const Group &group = m_groups.at(g);
    if (place < 0)
        return headingData(group, role);
    const auto buddy = m_buddies.constFind(group.keys.at(place));
    if (buddy == m_buddies.cend())
        return QVariant();
    if (role == BuddyRoles::WireName)
        return buddy->wireName;
    if (role == BuddyRoles::Group)
        return group.name;
    return buddyRowData(buddy->shown, buddy->status, role, m_showsStatus, m_clock());
}

Qt::ItemFlags BuddyGroups::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
