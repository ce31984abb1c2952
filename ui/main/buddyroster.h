#pragma once

// BuddyRoster: the main window's buddy list, kept from the session. Holds the
// online buddies (the plain list) and the stored groups (the groups view),
// hears every presence report and change to the stored list, shows in
// lstBuddyson whichever the preferences ask for, and redraws idle times once
// a minute. Group headings open and close by click and from the keyboard
// (Left, Right, Space, Enter).

#include "buddygroups.h"
#include "buddylist.h"
#include "clock.h"
#include "presence.h"

#include <QByteArray>
#include <QList>
#include <QObject>

struct AppContext;
class BuddyDelegate;
class QTimer;
class UniformListView;

class BuddyRoster : public Presence
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BuddyRoster)
public:
    static constexpr int MinuteMs = 60 * 1000;

    BuddyRoster(AppContext &context, UniformListView &list, QObject *parent = nullptr);

    // Everything that counts minutes reads this clock.
    void setClock(Clock clock);
    BuddyList &online() { return m_online; }
    BuddyGroups &groups() { return m_groups; }
    // The timer that redraws idle times; its ticks call refreshIdle().
    QTimer &minuteTimer() { return *m_minuteTimer; }
    void refreshIdle();

    // A new sign-on starts from empty lists.
    void clear();
    // Changes to the stored list, made here or reported by the server.
    void buddyStored(const QByteArray &group, const QByteArray &wireName);
    // A buddy no group holds any more drops out of the online list as well:
    // the server reports nothing more about them.
    void buddyUnstored(const QByteArray &group, const QByteArray &wireName);
    void groupRemoved(const QByteArray &group);
    void groupRenamed(const QByteArray &group, const QByteArray &newName);

    void onBuddyUpdate(const QByteArray &strBuddy, bool blnOnline, qint16 intWarningLevel, qint32 lngOnlineTime,
                       qint32 lngIdleTime, const QByteArray &strUserClass);
    void onLoggedIn(const QByteArray &strUserName, const QList<QByteArray> &BuddyList);

    bool isBuddy(const QByteArray &wireName) const override { return m_groups.isStored(wireName); }
    bool isKnownOffline(const QByteArray &wireName) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyOptions();
    void forgetUnlisted(const QByteArray &wireName);
    // The heading the current row is, or belongs under; empty in the plain list.
    QByteArray currentGroup(bool headingOnly) const;

    AppContext &m_context;
    UniformListView &m_list;
    BuddyList m_online;
    BuddyGroups m_groups;
    BuddyDelegate *m_delegate;
    QTimer *m_minuteTimer;
    Clock m_clock = systemClock();
};
