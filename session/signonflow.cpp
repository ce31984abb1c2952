#include "signonflow.h"

#include "quortocsock.h"
#include "screenname.h"
#include "tocerrors.h"
#include "tocprotocol.h"

#include <QNetworkInformation>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>

SignOnFlow::SignOnFlow(QuorTOCSock &btoc, QObject *parent)
    : QObject(parent)
    , m_btoc(btoc)
    , m_timer(new QTimer(this))
    , m_holdOff(new QTimer(this))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &SignOnFlow::retry);
    m_timer->setSingleShot(true);
    m_timer->setInterval(DefaultTimeoutMs);
    connect(m_timer, &QTimer::timeout, this, &SignOnFlow::giveUp);
    m_holdOff->setSingleShot(true);
    connect(m_holdOff, &QTimer::timeout, this, &SignOnFlow::connectNow);
    connect(&btoc, &QuorTOCSock::LoggedIn, this, &SignOnFlow::onLoggedIn, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::LoggedOut, this, &SignOnFlow::onLoggedOut, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::Error, this, &SignOnFlow::onError, Qt::DirectConnection);
    connect(&btoc, &QuorTOCSock::WinsockError, this, &SignOnFlow::onWinsockError, Qt::DirectConnection);
    // A sign-on that moves, however slowly (a thousand buddies over a poor
    // line), is not given up; only one that stands still is.
    connect(
        &btoc, &QuorTOCSock::BytesArrived, this,
        [this] {
            if (m_timer->isActive())
                m_timer->start();
        },
        Qt::DirectConnection);
}

void SignOnFlow::setTimeout(int milliseconds) { m_timer->setInterval(milliseconds); }

bool SignOnFlow::endsSignOn(qint16 code)
{
    using namespace TocProtocol;
    // Open OSCAR Server answers a sign-on it failed on inside with 913, then hangs up.
    return code == BadPassword || code == RateLimited || code == SignOnRefused || code == SignedOffElsewhere
        || code == InternalError;
}

void SignOnFlow::setRetryWaits(int firstMs, int maxMs)
{
    m_firstRetryWaitMs = firstMs;
    m_maxRetryWaitMs = maxMs;
}

void SignOnFlow::setSignOnAgain(bool on)
{
    m_signOnAgain = on;
    if (on) {
        // Back on the network, waiting longer is pointless.
        if (QNetworkInformation::loadDefaultBackend()) {
            connect(
                QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
                [this](QNetworkInformation::Reachability reachability) {
                    if (reachability == QNetworkInformation::Reachability::Online)
                        retryNow();
                },
                Qt::UniqueConnection);
        }
        return;
    }
    cancelRetry();
    // The password stays only as long as it may be needed again.
    if (m_state != State::Connecting)
        m_password.clear();
}

qint64 SignOnFlow::retryIn() const
{
    return m_state == State::Waiting && m_retry->isActive() ? m_retry->remainingTime() : -1;
}

void SignOnFlow::retryNow()
{
    if (m_state == State::Waiting)
        retry();
}

void SignOnFlow::cancelRetry()
{
    m_retry->stop();
    m_retrying = false;
    if (m_state == State::Waiting)
        setState(State::Offline);
}

void SignOnFlow::retry()
{
    m_retry->stop();
    signOn(m_name, m_password, m_host.toUtf8(), m_port);
}

bool SignOnFlow::retryAfter(Reason reason, State stateBefore)
{
    const bool lost = reason == Reason::ConnectionLost || reason == Reason::GaveUp;
    const bool wasOn = stateBefore == State::SignedOn || (m_retrying && stateBefore == State::Connecting);
    if (!m_signOnAgain || !lost || !wasOn) {
        m_retrying = false;
        return false;
    }
    m_retryWaitMs = m_retrying ? std::min(m_retryWaitMs * 2, m_maxRetryWaitMs) : m_firstRetryWaitMs;
    m_retrying = true;
    const double spread = 0.8 + 0.4 * QRandomGenerator::global()->generateDouble();
    m_retry->start(std::max(m_firstRetryWaitMs, int(m_retryWaitMs * spread)));
    return true;
}

void SignOnFlow::signOn(const QByteArray &name, const QByteArray &password, const QByteArray &host, qint32 port)
{
    m_holdOff->stop();
    m_timer->stop();
    m_retry->stop();
    m_name = name;
    m_password = password;
    m_host = QString::fromUtf8(host);
    m_port = port;
    setState(State::Connecting);
    const bool sameName = ScreenName::NormalizeName(name) == m_endedName;
    const qint64 since = m_sinceEnd.isValid() ? m_sinceEnd.elapsed() : m_reSignOnGapMs;
    if (sameName && since < m_reSignOnGapMs) {
        m_holdOff->start(int(m_reSignOnGapMs - since));
        return;
    }
    connectNow();
}

void SignOnFlow::connectNow()
{
    // Kept only while a dropped connection may need it again.
    const QByteArray password = m_signOnAgain ? m_password : std::exchange(m_password, QByteArray());
    m_btoc.Login(m_name, password, m_host.toUtf8(), m_port);
    // Started after Login, which a second sign-on uses to start over; a
    // connection that failed inside Login has ended the wait already.
    if (m_state == State::Connecting)
        m_timer->start();
}

void SignOnFlow::signOff()
{
    m_holdOff->stop();
    m_timer->stop();
    m_retry->stop();
    m_retrying = false;
    m_password.clear();
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
    m_holdOff->stop();
    const State before = m_state;
    // Only a session the server had opened lingers there after it ends.
    if (m_state == State::SignedOn) {
        m_endedName = ScreenName::NormalizeName(m_name);
        m_sinceEnd.start();
    }
    const bool again = retryAfter(reason, before);
    setState(again ? State::Waiting : state);
    emit ended(reason, detail);
    if (again && m_retry->isActive())
        emit retryScheduled(m_retry->remainingTime());
}

void SignOnFlow::onLoggedIn()
{
    m_timer->stop();
    m_retrying = false;
    setState(State::SignedOn);
}

void SignOnFlow::onLoggedOut(const QByteArray &strUserName)
{
    end(m_givingUp ? Reason::GaveUp : Reason::SignedOff, State::Offline, strUserName);
}

void SignOnFlow::onError(qint16 intErrorCode, const QByteArray &strError)
{
    // While a sign-on waits, what still arrives is the last connection's.
    if (!endsSignOn(intErrorCode) || m_holdOff->isActive())
        return;
    // Signed on, a wrong old password on a password change is 980 too, and
    // ends nothing; a sign-off by the server ends the session at any time.
    if (intErrorCode == TocProtocol::SignedOffElsewhere)
        end(Reason::SignedOnElsewhere, State::Ending, strError);
    else if (m_state != State::SignedOn)
        end(Reason::Refused, State::Ending, TocErrors::signOnRefusal({intErrorCode, strError}));
}

void SignOnFlow::onWinsockError(const QByteArray &strError)
{
    // After an answer that ended the session, the server's hang-up is part
    // of that answer, not news of its own; so is a hang-up of the last
    // connection while a new sign-on waits.
    if (m_holdOff->isActive())
        return;
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
