#include "connectionwatch.h"

#include <QTimer>

ConnectionWatch::ConnectionWatch(QObject *parent)
    : QObject(parent)
    , m_quiet(new QTimer(this))
    , m_answer(new QTimer(this))
{
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(DefaultQuietMs);
    m_answer->setSingleShot(true);
    m_answer->setInterval(DefaultAnswerMs);
    connect(m_quiet, &QTimer::timeout, this, &ConnectionWatch::questionDue);
    connect(m_answer, &QTimer::timeout, this, [this] {
        stop();
        emit silent();
    });
}

void ConnectionWatch::setTimes(int quietMs, int answerMs)
{
    m_quiet->setInterval(quietMs);
    m_answer->setInterval(answerMs);
}

void ConnectionWatch::start()
{
    m_watching = true;
    m_answer->stop();
    m_quiet->start();
}

void ConnectionWatch::stop()
{
    m_watching = false;
    m_quiet->stop();
    m_answer->stop();
}

void ConnectionWatch::heard()
{
    if (!m_watching)
        return;
    m_answer->stop();
    m_quiet->start();
}

void ConnectionWatch::asked()
{
    // A question held back for the rate limit goes late; the wait for its
    // answer starts when it goes.
    if (m_watching && !m_answer->isActive())
        m_answer->start();
}
