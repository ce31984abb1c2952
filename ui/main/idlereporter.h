#pragma once

// IdleReporter: tells the server when the user has gone idle, while "Tell
// others when I am idle" is chosen. Keyboard and mouse input to any Qiv
// window counts as activity (it watches the whole application), and so does
// input anywhere on the desktop where the desktop says how long it has been
// idle. After the chosen minutes without input the idle time goes out; the
// first input afterwards sends 0, as does turning the choice off.

#include "clock.h"

#include <QObject>

struct AppContext;
class DesktopIdle;
class QTimer;

class IdleReporter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdleReporter)
public:
    static constexpr int CheckMs = 15000;

    explicit IdleReporter(AppContext &context, QObject *parent = nullptr);
    ~IdleReporter() override;

    void setClock(Clock clock);
    // nullptr: only input to Qiv counts.
    void setDesktopIdle(DesktopIdle *desktop) { m_desktop = desktop; }
    QTimer &checkTimer() { return *m_timer; }
    // The timer's tick: reports the user idle once the minutes have passed.
    void check();
    bool reportedIdle() const { return m_reportedIdle; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void decide(qint64 idleMs);
    void reportBack();

    AppContext &m_context;
    QTimer *m_timer;
    DesktopIdle *m_desktop = nullptr;
    Clock m_clock = systemClock();
    qint64 m_lastInput = 0;
    bool m_signedOn = false;
    bool m_reportedIdle = false;
};
