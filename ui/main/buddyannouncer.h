#pragma once

// BuddyAnnouncer: with "Tell me when buddies sign on and off" chosen, a
// desktop notification for each buddy who signs on or off, through the same
// notifier as messages. Buddies already online when the user signs on are no
// news: the reports of the first seconds after a sign-on only say who is
// online.

#include "clock.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

struct AppContext;

class BuddyAnnouncer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BuddyAnnouncer)
public:
    static constexpr int QuietAfterSignOnMs = 10000;

    explicit BuddyAnnouncer(AppContext &context, QObject *parent = nullptr);
    void setClock(Clock clock) { m_clock = std::move(clock); }

    void onLoggedIn();
    void onBuddyUpdate(const QByteArray &strBuddy, bool blnOnline);

private:
    AppContext &m_context;
    // By normalized name, as each buddy signed on: servers report a
    // departure under the plain name.
    QHash<QByteArray, QString> m_online;
    qint64 m_quietUntil = 0;
    Clock m_clock = systemClock();
};
