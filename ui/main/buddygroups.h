#pragma once

// The stored buddy list as the groups view shows it: each group a heading
// that can be collapsed, and under it the group's buddies in alphabetical
// order (case and spaces ignored), offline ones too, greyed. It is also where
// the list's menu learns which groups there are and where a buddy is filed.
// A presence report changes rows in place; only a change to the stored list
// or a collapse adds or removes rows.

#include "buddystatus.h"
#include "clock.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class BuddyGroups final : public QAbstractListModel
{
    Q_OBJECT
public:
    // Where a buddy stored before any group belongs, and where a new one goes
    // unless the user names another group.
    static inline const QByteArray DefaultGroup = QByteArrayLiteral("Buddies");

    explicit BuddyGroups(QObject *parent = nullptr);

    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setShowsStatus(bool shown);

    // The stored list of a sign-on, "[group]" entries each followed by its
    // buddies, and the names stored to show for some of them (by normalized
    // name); everybody is offline until reported. Empty: nothing stored.
    void reset(const QList<QByteArray> &storedList, const QHash<QByteArray, QByteArray> &aliases = {});
    void addGroup(const QByteArray &group);
    void removeGroup(const QByteArray &group);
    // The buddies move to a group of the new name, listed last, where the
    // server lists a new group at the next sign-on.
    void renameGroup(const QByteArray &group, const QByteArray &newName);
    // The group is added first when there is none of that name.
    void addBuddy(const QByteArray &group, const QByteArray &wireName);
    void removeBuddy(const QByteArray &group, const QByteArray &wireName);
    void update(const QByteArray &wireName, const BuddyStatus &status);
    // Another minute has passed: idle times are drawn anew; no row moves.
    void refreshIdle();

    bool isHeading(const QModelIndex &index) const;
    bool isExpanded(const QByteArray &group) const;
    // Stays so for the rest of the run, across sign-ons.
    void setExpanded(const QByteArray &group, bool expanded);
    QModelIndex headingOf(const QByteArray &group) const;

    QList<QByteArray> groupNames() const;
    bool hasGroup(const QByteArray &group) const { return groupIndex(group) >= 0; }
    // The groups the buddy is filed in, in list order.
    QList<QByteArray> groupsOf(const QByteArray &wireName) const;
    bool isStored(const QByteArray &wireName) const { return !groupsOf(wireName).isEmpty(); }
    // The names of the group's buddies, in list order.
    QList<QByteArray> buddiesIn(const QByteArray &group) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Buddy
    {
        QByteArray wireName; // as last reported online, else as stored
        QString shown;
        BuddyStatus status;
    };
    struct Group
    {
        QByteArray name;
        QList<QByteArray> keys; // normalized names, in order
        qsizetype online = 0;
        bool expanded = true;
        qsizetype shownRows() const { return expanded ? keys.size() : 0; }
    };
    // The group's place in the list, or -1.
    int groupIndex(const QByteArray &group) const;
    // Where the buddy's key is, or would go, among the group's keys, and whether it is there.
    std::pair<qsizetype, bool> placeIn(int group, const QByteArray &key) const;
    // The group and the buddy's place in it (-1 for the heading) of a row.
    std::pair<int, qsizetype> locate(int row) const;
    void placeRows();
    Buddy &buddyFor(const QByteArray &wireName);
    // The alias stored for the buddy, else the name as given.
    QString shownName(const QByteArray &wireName) const;
    QVariant headingData(const Group &group, int role) const;
    void headingChanged(int group);

    QList<Group> m_groups;
    QList<int> m_headingRow; // by group
    QHash<QByteArray, Buddy> m_buddies; // by normalized name
    QHash<QByteArray, QByteArray> m_aliases; // by normalized name
    QSet<QByteArray> m_collapsed;
    Clock m_clock = systemClock();
    bool m_showsStatus = false;
};
