#include "idlereporter.h"

#include "appcontext.h"
#include "desktopidle.h"
#include "options.h"
#include "session/quortocsock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

IdleReporter::IdleReporter(AppContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_timer(new QTimer(this))
    , m_lastInput(m_clock())
{
    m_timer->setInterval(CheckMs);
    connect(m_timer, &QTimer::timeout, this, &IdleReporter::check);
    m_timer->start();
    QCoreApplication::instance()->installEventFilter(this);
    connect(
        &context.btoc, &QuorTOCSock::LoggedIn, this,
        [this] {
            // Signing on is input, and a new session starts out not idle.
            m_signedOn = true;
            m_reportedIdle = false;
            m_lastInput = m_clock();
        },
        Qt::DirectConnection);
    connect(&context.options, &Options::changed, this, [this] {
        if (!m_context.options.tellsIdle())
            reportBack();
    });
}

IdleReporter::~IdleReporter() { QCoreApplication::instance()->removeEventFilter(this); }

void IdleReporter::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_lastInput = m_clock();
}

bool IdleReporter::eventFilter(QObject *watched, QEvent *event)
{
    // Every event of the program passes here: only input costs anything.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        m_lastInput = m_clock();
        reportBack();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void IdleReporter::check()
{
    if (!m_context.btoc.isConnected())
        m_signedOn = m_reportedIdle = false;
    if (!m_signedOn || !m_context.options.tellsIdle())
        return;
    const qint64 idleInQiv = m_clock() - m_lastInput;
    if (!m_desktop) {
        decide(idleInQiv);
        return;
    }
    // Input to other programs counts too, where the desktop says; the answer
    // comes later, and this reporter may be gone by then.
    const qint64 askedAt = m_clock();
    m_desktop->ask([self = QPointer<IdleReporter>(this), idleInQiv, askedAt](std::optional<qint64> desktopMs) {
        if (!self)
            return;
        const qint64 inQiv = idleInQiv + (self->m_clock() - askedAt);
        self->decide(desktopMs ? qMin(inQiv, *desktopMs) : inQiv);
    });
}

void IdleReporter::decide(qint64 idleMs)
{
    if (!m_signedOn || !m_context.options.tellsIdle())
        return;
    const qint64 minutes = idleMs / 60000;
    if (m_reportedIdle) {
        // The desktop saw input that Qiv did not.
        if (minutes < m_context.options.idleMinutes())
            reportBack();
        return;
    }
    if (minutes >= m_context.options.idleMinutes()
        && m_context.btoc.trySetIdleTime(qint32(qMin<qint64>(minutes, 65535))) == QuorTOCSock::SendCheck::Sendable)
        m_reportedIdle = true;
}

void IdleReporter::reportBack()
{
    if (!m_reportedIdle)
        return;
    m_reportedIdle = false;
    m_context.btoc.trySetIdleTime(0);
}
