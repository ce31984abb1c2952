#pragma once

// What the server last said about a buddy's presence, and how the buddy list
// puts it into words: the look of a row, its tooltip and what a screen reader
// hears. Both buddy list models draw a buddy's row through buddyRowData().

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVariant>

struct BuddyStatus
{
    bool online = false;
    qint16 warningLevel = 0;
    qint32 signOnTime = 0; // seconds since the epoch; 0 when not told
    qint32 idleMinutes = 0; // as reported
    qint64 reportedAt = 0; // when it was reported, by the local clock (ms since the epoch)
    QByteArray userClass; // the letters as sent: AOL or not, kind of account, away

    bool isAway() const;
    // The server sends an idle time once and does not refresh it, so the
    // minutes count on from the report.
    qint64 idleMinutesAt(qint64 now) const;
};

namespace BuddyRoles {
inline constexpr int WireName = Qt::UserRole; // the name as the server sent it
inline constexpr int Group = Qt::UserRole + 1; // a heading's group, or the group a buddy row is in
inline constexpr int IdleText = Qt::UserRole + 2; // drawn beside the name when status is shown
} // namespace BuddyRoles

namespace BuddyText {
// Away and offline names and idle times: readable on the list's grey, yet
// plainly fainter than a name in black.
inline QColor faint() { return QColor(0x50, 0x50, 0x50); }
// "12m", "2h 5m".
QString idle(qint64 minutes);
// "AIM" or "AOL", then what the class letters say of the account.
QString account(const QByteArray &userClass);
// One line each: the name, available or away (or offline), idle time,
// warning level, online since (local time) and the kind of account.
QString details(const QString &shownName, const BuddyStatus &status, qint64 now);
} // namespace BuddyText

// A buddy row's data for role. With showStatus, away buddies are dimmed and
// marked and idle ones carry their idle time; offline buddies are greyed.
QVariant buddyRowData(const QString &shownName, const BuddyStatus &status, int role, bool showStatus, qint64 now);
