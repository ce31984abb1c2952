#pragma once

// LaterDelivery: messages the user asked Qiv to send once their correspondent
// signs on. It holds them, in order, for as long as Qiv runs, whatever
// becomes of the conversation window, and sends them the moment the buddy
// list reports the person online.

#include "presence.h"
#include "session/quortocsock.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>

class LaterDelivery : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaterDelivery)
public:
    LaterDelivery(QuorTOCSock &btoc, Presence &presence, QObject *parent = nullptr);

    // Holds message for wireName; the number returned names it in delivered().
    quint64 hold(const QByteArray &wireName, const QByteArray &message);
    qsizetype heldFor(const QByteArray &wireName) const;

signals:
    // A held message went to the session, with what the session answered.
    void delivered(quint64 id, QuorTOCSock::SendCheck verdict, QuorTOCSock::Ticket ticket);

private:
    void onCameOnline(const QByteArray &normalizedName);

    struct Held
    {
        quint64 id;
        QByteArray wireName;
        QByteArray message;
    };
    QuorTOCSock &m_btoc;
    QHash<QByteArray, QList<Held>> m_held; // by normalized name
    quint64 m_nextId = 1;
};
