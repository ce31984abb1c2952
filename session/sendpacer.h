#pragma once

// SendPacer: keeps Qiv inside the server's rate limits. The server keeps,
// for each class of command, a moving average of the time between commands;
// below a limit it drops commands ("ERROR:903"), below a lower one it hangs
// up. The pacer keeps the same average for every command it lets out and
// holds back a command that would bring its class below the limit, in
// order, until it may go. A typing notice is never held back: it goes only
// while its class has room to spare, else it is dropped. Nothing it holds
// survives the end of the session.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <functional>

class QTimer;

namespace TocRates {

// One class's parameters, in milliseconds of average gap.
struct ClassParameters
{
    qint32 windowSize;
    qint32 clearLevel;
    qint32 alertLevel;
    qint32 limitLevel;
    qint32 disconnectLevel;
    qint32 maxLevel;
};

// The five classes of the original service, which Open OSCAR Server uses.
inline constexpr ClassParameters DefaultClasses[5] = {
    {80, 2500, 2000, 1500, 800, 6000},  {80, 3000, 2000, 1500, 1000, 6000}, {20, 5100, 5000, 4000, 3000, 6000},
    {20, 5500, 5300, 4200, 3000, 8000}, {10, 5500, 5300, 4200, 3000, 8000},
};

// What a command line costs: its class (1 to 5, 0 for none), how many
// times the server counts it, whether it counts against a chat room's own
// limits rather than the session's (Open OSCAR Server keeps a session per
// room) and which room, and whether it is a notice that is better dropped
// than held back (typing news).
struct Cost
{
    int rateClass = 0;
    int times = 1;
    qint32 chatId = 0;
    bool dropsRatherThanWaits = false;
    bool inRoom = false;
};
Cost costOf(QByteArrayView line);

// The least time, in milliseconds from the first, in which the server takes
// commands one class's commands, each sent the moment its arithmetic allows,
// from a full level: the floor any pacing is measured against.
qint64 fastestBurst(const ClassParameters &parameters, int commands);

// One class's moving average as the server keeps it, in whole milliseconds.
class Level
{
public:
    Level(const ClassParameters &parameters, qint64 nowMs);
    // The average after times more commands at nowMs.
    qint32 after(qint64 nowMs, int times) const;
    void record(qint64 nowMs, int times);
    // The earliest moment from nowMs on when times commands keep the
    // average at or above floor.
    qint64 earliestFor(qint64 nowMs, int times, qint32 floor) const;

private:
    ClassParameters m_parameters;
    qint32 m_level;
    qint64 m_lastMs;
};

} // namespace TocRates

class SendPacer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SendPacer)
public:
    using Ticket = quint64;
    using Clock = std::function<qint64()>;
    using Writer = std::function<void(const QByteArray &line)>;

    // The server measures gaps as commands arrive, and arrivals may bunch up
    // after a slow moment on the network; each gap is counted this much
    // shorter than it was sent.
    static constexpr qint64 JitterAllowanceMs = 100;

    explicit SendPacer(Writer writer, QObject *parent = nullptr);

    // Starts from full levels, as the server does for a new session; until
    // then every command goes at once.
    void start();
    // Drops whatever waits; each dropped ticket is settled as not sent.
    void stop();
    // Which of the server's limits apply to this account: all of them (the
    // rule), only its chat rooms' (a bot on Open OSCAR Server, which lifts a
    // bot's limits on its own session but not in its rooms, sessions of
    // their own there), or none (a server that limits nobody).
    enum class Limits { All, RoomsOnly, None };
    void setLimits(Limits limits) { m_limits = limits; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

    enum class Verdict { SentNow, Waiting, Dropped };
    // Sends line now, or holds it back; ticket names it until it settles.
    Verdict submit(const QByteArray &line, Ticket *ticket = nullptr);
    // Sends whatever may go by now; the timer calls it when the first may.
    void sendDue();
    // The ticket of the last command that went out, 0 before any.
    Ticket lastSent() const { return m_lastSent; }
    qsizetype waiting() const;

signals:
    // A command that waited went out (sent), or never will (not sent).
    void settled(SendPacer::Ticket ticket, bool sent);

private:
    struct Waiting
    {
        QByteArray line;
        TocRates::Cost cost;
        Ticket ticket;
    };
    // The room's classes are its own, keyed by chat ID (which may be 0);
    // the session's are keyed by -1.
    using Key = QPair<int, qint32>;
    static Key keyOf(const TocRates::Cost &cost) { return Key(cost.rateClass, cost.inRoom ? cost.chatId : -1); }

    TocRates::Level &levelFor(const TocRates::Cost &cost, qint64 now);
    bool mayGo(const TocRates::Cost &cost, qint64 now);
    void write(const Waiting &command, qint64 now);
    void schedule();

    Writer m_writer;
    Clock m_clock;
    QTimer *m_timer;
    Limits m_limits = Limits::All;
    // Before the server has a session for us, it limits nothing.
    bool m_started = false;
    QHash<Key, TocRates::Level> m_levels;
    QHash<Key, QList<Waiting>> m_queues;
    Ticket m_nextTicket = 1;
    Ticket m_lastSent = 0;
};
