#include "signonflow.h"

#include "quortocsock.h"
#include "tocprotocol.h"

#include <QTimer>

SignOnFlow::SignOnFlow(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(DefaultTimeoutMs);
    connect(m_timer, &QTimer::timeout, this, &SignOnFlow::giveUp);
    connect(&btoc, &QuorTOCSock::LoggedIn, this, &SignOnFlow::onLoggedIn, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::LoggedOut, this, &SignOnFlow::onLoggedOut, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::Error, this, &SignOnFlow::onError, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::WinsockError, this, &SignOnFlow::onWinsockError, Qt::DirectConnection);
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

void SignOnFlow::signOn(const QByteArray &name, const QByteArray &password, const QByteArray &host, qint32 port)
{
    setState(State::Connecting);
    m_btoc.Login(name, password, host, port);
    // Started after Login, which a second sign-on uses to start over; a
    // connection that failed inside Login has ended the wait already.
    if (m_state == State::Connecting)
        m_timer->start();
}

void SignOnFlow::signOff()
{
    m_timer->stop();
    m_btoc.LogOff();
}

void SignOnFlow::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void SignOnFlow::end(Reason reason, State state, const QByteArray &detail)
{
    m_timer->stop();
    setState(state);
    emit ended(reason, detail);
}

void SignOnFlow::onLoggedIn()
{
    m_timer->stop();
    setState(State::SignedOn);
}

void SignOnFlow::onLoggedOut(const QByteArray &strUserName)
{
    end(m_givingUp ? Reason::GaveUp : Reason::SignedOff, State::Offline, strUserName);
}

void SignOnFlow::onError(qint16 intErrorCode, const QByteArray &strError)
{
    if (!endsSignOn(intErrorCode))
        return;
    // Signed on, a wrong old password on a password change is 980 too, and
    // ends nothing; a sign-off by the server ends the session at any time.
    if (intErrorCode == TocProtocol::SignedOffElsewhere)
        end(Reason::SignedOnElsewhere, State::Ending, strError);
    else if (m_state != State::SignedOn)
        end(Reason::Refused, State::Ending, strError);
}

void SignOnFlow::onWinsockError(const QByteArray &strError)
{
    // After an answer that ended the session, the server's hang-up is part
    // of that answer, not news of its own.
    if (m_state == State::Ending) {
        setState(State::Offline);
        return;
    }
    end(Reason::ConnectionLost, State::Offline, strError);
}

void SignOnFlow::giveUp()
{
    // LogOff reports the sign-off, which is this give-up rather than one asked for.
    m_givingUp = true;
    m_btoc.LogOff();
    m_givingUp = false;
}
