#include "typingreporter.h"

#include "session/quortocsock.h"

#include <QTimer>

TypingReporter::TypingReporter(std::function<void(qint16)> send, QObject *parent)
    : QObject(parent)
    , m_send(std::move(send))
    , m_pause(new QTimer(this))
    , m_gap(new QTimer(this))
    , m_sent(QuorTOCSock::NothingTyped)
    , m_wanted(QuorTOCSock::NothingTyped)
{
    m_pause->setSingleShot(true);
    m_pause->setInterval(DefaultPauseMs);
    m_gap->setSingleShot(true);
    connect(m_pause, &QTimer::timeout, this, [this] { want(QuorTOCSock::TextTyped); });
    connect(m_gap, &QTimer::timeout, this, &TypingReporter::flush);
}

void TypingReporter::setIntervals(int gapMs, int pauseMs)
{
    m_gapMs = gapMs;
    m_pause->setInterval(pauseMs);
}

void TypingReporter::textEdited(const QString &text)
{
    if (text.isEmpty()) {
        m_pause->stop();
        want(QuorTOCSock::NothingTyped);
        return;
    }
    m_pause->start();
    want(QuorTOCSock::Typing);
}

void TypingReporter::messageSent()
{
    m_pause->stop();
    want(QuorTOCSock::NothingTyped);
}

void TypingReporter::want(qint16 state)
{
    m_wanted = state;
    if (m_gap->isActive())
        return; // flush sends whatever is wanted by then
    flush();
}

void TypingReporter::flush()
{
    if (m_wanted == m_sent)
        return;
    const qint64 since = m_sinceLastSent.isValid() ? m_sinceLastSent.elapsed() : m_gapMs;
    if (since < m_gapMs) {
        m_gap->start(int(m_gapMs - since));
        return;
    }
    m_sent = m_wanted;
    m_sinceLastSent.start();
    m_send(m_sent);
}
