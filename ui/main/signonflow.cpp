#include "signonflow.h"

#include "session/quortocsock.h"
#include "session/tocprotocol.h"

#include <QTimer>

SignOnFlow::SignOnFlow(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(DefaultTimeoutMs);
    connect(m_timer, &QTimer::timeout, this, &SignOnFlow::giveUp);
}

void SignOnFlow::giveUp()
{
    m_givingUp = true;
    m_btoc.LogOff();
    m_givingUp = false;
    ended();
    emit gaveUp();
}

void SignOnFlow::setTimeout(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

bool SignOnFlow::endsSignOn(qint16 code)
{
    using namespace TocProtocol;
    return code == BadPassword || code == RateLimited || code == SignOnRefused || code == SignedOffElsewhere;
}

void SignOnFlow::begin()
{
    m_closeExpected = false;
    m_timer->start();
}

void SignOnFlow::signedOn()
{
    m_timer->stop();
    m_signedOn = true;
}

void SignOnFlow::ended()
{
    m_timer->stop();
    m_signedOn = false;
}

bool SignOnFlow::errorArrived(qint16 code)
{
    // A wrong old password while signed on is 980 too, and ends nothing.
    if (endsSignOn(code) && (!m_signedOn || code == TocProtocol::SignedOffElsewhere)) {
        m_timer->stop();
        m_closeExpected = true;
    }
    if (code != TocProtocol::SignedOffElsewhere)
        return false;
    m_signedOn = false;
    return true;
}

bool SignOnFlow::connectionLostIsNews()
{
    ended();
    return !m_closeExpected;
}

bool SignOnFlow::isWaiting() const
{
    return m_timer->isActive();
}
