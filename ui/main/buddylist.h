#pragma once

// The online buddies, one row per buddy in the order they came online, shown
// by the main window's list under the alias stored with the buddy, if any,
// else the name the server sent. Rows are found by the buddy's normalized name
// through an index, and each row's place through a binary search over the
// order the rows were added in, so one presence report costs the same with
// ten buddies listed as with ten thousand.

#include "buddystatus.h"
#include "clock.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class BuddyList final : public QAbstractListModel
{
    Q_OBJECT
public:
    // The name as the server sent it, bytes for bytes, for commands about a row.
    static constexpr int WireNameRole = BuddyRoles::WireName;

    explicit BuddyList(QObject *parent = nullptr);

    void setClock(Clock clock) { m_clock = std::move(clock); }
    // Away buddies dimmed and marked, idle ones with their idle time.
    void setShowsStatus(bool shown);

    // Drops the buddy's row, if any, and appends the name as just received
    // when the buddy is online.
    void update(const QByteArray &strBuddy, bool blnOnline);
    void update(const QByteArray &strBuddy, const BuddyStatus &status);
    void clear();
    bool isListed(const QByteArray &strBuddy) const;
    // Another minute has passed: idle times are drawn anew; no row moves.
    void refreshIdle();
    // The names to show instead of the server's, by normalized buddy name, as
    // wire text; rows already listed take them at once.
    void setAliases(const QHash<QByteArray, QByteArray> &aliases);
    void forgetAlias(const QByteArray &strBuddy);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    qsizetype rowOf(quint64 ticket) const;
    QString shownName(const QByteArray &strBuddy) const;

    // Row by row: when the buddy was listed (ascending), and the name shown.
    QList<quint64> m_tickets;
    QList<QString> m_names;
    QList<QByteArray> m_wireNames;
    QList<BuddyStatus> m_status;
    QHash<QByteArray, quint64> m_ticketByKey;
    QHash<QByteArray, QByteArray> m_aliases;
    quint64 m_nextTicket = 0;
    Clock m_clock = systemClock();
    bool m_showsStatus = false;
};
