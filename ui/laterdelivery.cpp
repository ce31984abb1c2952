#include "laterdelivery.h"

#include "session/screenname.h"

LaterDelivery::LaterDelivery(QuorTOCSock &btoc, Presence &presence, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
{
    connect(&presence, &Presence::cameOnline, this, &LaterDelivery::onCameOnline);
}

quint64 LaterDelivery::hold(const QByteArray &wireName, const QByteArray &message)
{
    const quint64 id = m_nextId++;
    m_held[ScreenName::NormalizeName(wireName)].append({id, wireName, message});
    return id;
}

qsizetype LaterDelivery::heldFor(const QByteArray &wireName) const
{
    return m_held.value(ScreenName::NormalizeName(wireName)).size();
}

void LaterDelivery::onCameOnline(const QByteArray &normalizedName)
{
    const QList<Held> held = m_held.take(normalizedName);
    for (const Held &message : held) {
        QuorTOCSock::Ticket ticket = 0;
        const QuorTOCSock::SendCheck verdict = m_btoc.trySendIM(message.wireName, message.message, false, &ticket);
        emit delivered(message.id, verdict, ticket);
    }
}
