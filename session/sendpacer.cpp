#include "sendpacer.h"

#include "tocquote.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace TocRates {

namespace {
QByteArrayView commandWord(QByteArrayView line)
{
    const qsizetype space = line.indexOf(' ');
    return space < 0 ? line : line.first(space);
}

// The chat ID that a room command names first, quoted or not.
qint32 firstNumber(QByteArrayView line)
{
    qsizetype i = line.indexOf(' ');
    if (i < 0)
        return 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '"'))
        ++i;
    qint64 id = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && id < 0x7fffffff; ++i)
        id = id * 10 + (line[i] - '0');
    return qint32(id);
}
} // namespace

Cost costOf(QByteArrayView line)
{
    // Which of the server's classes each command counts against, as Open
    // OSCAR Server's TOC gateway checks them (the original service's table).
    const QByteArrayView word = commandWord(line);
    const auto is = [word](std::initializer_list<const char *> words) {
        return std::any_of(words.begin(), words.end(), [word](const char *w) { return word == w; });
    };
    if (is({"toc_send_im", "toc2_send_im", "toc2_send_im_enc", "toc_get_status", "toc_rvous_accept",
            "toc_rvous_cancel"}))
        return {3, 1, 0};
    if (word == "toc2_client_event")
        return {1, 1, 0, true};
    if (is({"toc_chat_send", "toc_chat_whisper"}))
        return {2, 1, firstNumber(line), false, true};
    // Joining asks for the room, for the service and says it is online: three counts.
    if (is({"toc_chat_join", "toc_chat_accept"}))
        return {1, 3, 0};
    if (word == "toc_chat_invite") {
        // One message per person invited, after the room and the message.
        const auto words = TocQuote::splitCommandLine(line);
        return {3, words ? int(std::max<qsizetype>(1, words->size() - 3)) : 1, 0};
    }
    if (is({"toc_add_buddy", "toc_remove_buddy", "toc_add_permit", "toc_add_deny"}))
        return {2, 1, 0};
    if (is({"toc_set_dir", "toc_get_dir", "toc_dir_search"}))
        return {4, 1, 0};
    // Sign-on lines come before there is a session; leaving a room is free.
    if (is({"toc2_login", "toc_signon", "toc2_signon", "toc_chat_leave"}))
        return {0, 1, 0};
    // Everything else (profile, away, idle, privacy, the stored lists, warnings, ...).
    return {1, 1, 0};
}

qint64 fastestBurst(const ClassParameters &parameters, int commands)
{
    const qint64 window = parameters.windowSize;
    qint64 level = parameters.maxLevel;
    qint64 at = 0;
    for (int i = 0; i < commands; ++i) {
        const qint64 gap = i == 0 ? 0 : std::max<qint64>(0, parameters.limitLevel * window - level * (window - 1));
        at += gap;
        level = std::min<qint64>((level * (window - 1) + gap) / window, parameters.maxLevel);
    }
    return at;
}

Level::Level(const ClassParameters &parameters, qint64 nowMs)
    : m_parameters(parameters)
    , m_level(parameters.maxLevel)
    , m_lastMs(nowMs)
{
}

qint32 Level::after(qint64 nowMs, int times) const
{
    const qint32 window = m_parameters.windowSize;
    qint64 elapsed = std::max<qint64>(0, nowMs - m_lastMs - SendPacer::JitterAllowanceMs);
    qint64 level = m_level;
    for (int i = 0; i < times; ++i) {
        // The server's own arithmetic: whole milliseconds, truncated.
        level = std::min<qint64>((level * (window - 1) + std::min<qint64>(elapsed, 1 << 30)) / window,
                                 m_parameters.maxLevel);
        elapsed = 0;
    }
    return qint32(level);
}

void Level::record(qint64 nowMs, int times)
{
    m_level = after(nowMs, times);
    m_lastMs = nowMs;
}

qint64 Level::earliestFor(qint64 nowMs, int times, qint32 floor) const
{
    const qint64 window = m_parameters.windowSize;
    // The level the first count must reach so that the further counts,
    // which come with no gap, stay at or above floor.
    qint64 needed = floor;
    for (int i = 1; i < times; ++i)
        needed = (needed * window + window - 2) / (window - 1);
    needed = std::min<qint64>(needed, m_parameters.maxLevel);
    const qint64 gap = needed * window - qint64(m_level) * (window - 1);
    return std::max(nowMs, m_lastMs + SendPacer::JitterAllowanceMs + std::max<qint64>(0, gap));
}

} // namespace TocRates

SendPacer::SendPacer(Writer writer, QObject *parent)
    : QObject(parent)
    , m_writer(std::move(writer))
    , m_timer(new QTimer(this))
{
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    m_clock = [] { return monotonic.elapsed(); };
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &SendPacer::sendDue);
}

void SendPacer::start()
{
    stop();
    m_started = true;
}

void SendPacer::stop()
{
    m_started = false;
    m_timer->stop();
    m_levels.clear();
    const auto queues = std::exchange(m_queues, {});
    for (const QList<Waiting> &queue : queues) {
        for (const Waiting &command : queue)
            emit settled(command.ticket, false);
    }
}

qsizetype SendPacer::waiting() const
{
    qsizetype count = 0;
    for (const QList<Waiting> &queue : m_queues)
        count += queue.size();
    return count;
}

TocRates::Level &SendPacer::levelFor(const TocRates::Cost &cost, qint64 now)
{
    const Key key = keyOf(cost);
    auto found = m_levels.find(key);
    if (found == m_levels.end())
        found = m_levels.insert(key, TocRates::Level(TocRates::DefaultClasses[cost.rateClass - 1], now));
    return *found;
}

bool SendPacer::mayGo(const TocRates::Cost &cost, qint64 now)
{
    const TocRates::ClassParameters &parameters = TocRates::DefaultClasses[cost.rateClass - 1];
    // A notice that may be dropped keeps clear of the limit, leaving the
    // room to what the user wrote.
    const qint32 floor = cost.dropsRatherThanWaits ? parameters.clearLevel : parameters.limitLevel;
    return levelFor(cost, now).after(now, cost.times) >= floor;
}

void SendPacer::write(const Waiting &command, qint64 now)
{
    if (command.cost.rateClass != 0 && m_started)
        levelFor(command.cost, now).record(now, command.cost.times);
    m_lastSent = command.ticket;
    m_writer(command.line);
}

SendPacer::Verdict SendPacer::submit(const QByteArray &line, Ticket *ticket)
{
    Waiting command{line, TocRates::costOf(line), m_nextTicket++};
    if (ticket)
        *ticket = command.ticket;
    const qint64 now = m_clock();
    const bool limited = m_limits == Limits::All || (m_limits == Limits::RoomsOnly && command.cost.inRoom);
    if (!m_started || !limited || command.cost.rateClass == 0) {
        write(command, now);
        return Verdict::SentNow;
    }
    QList<Waiting> &queue = m_queues[keyOf(command.cost)];
    if (queue.isEmpty() && mayGo(command.cost, now)) {
        write(command, now);
        return Verdict::SentNow;
    }
    if (command.cost.dropsRatherThanWaits)
        return Verdict::Dropped;
    queue.append(command);
    schedule();
    return Verdict::Waiting;
}

void SendPacer::sendDue()
{
    const qint64 now = m_clock();
    for (auto it = m_queues.begin(); it != m_queues.end();) {
        QList<Waiting> &queue = it.value();
        while (!queue.isEmpty() && mayGo(queue.first().cost, now)) {
            const Waiting command = queue.takeFirst();
            write(command, now);
            emit settled(command.ticket, true);
            // A handler may have ended the session and emptied every queue.
            if (!m_started)
                return;
        }
        it = queue.isEmpty() ? m_queues.erase(it) : std::next(it);
    }
    schedule();
}

void SendPacer::schedule()
{
    const qint64 now = m_clock();
    qint64 due = -1;
    for (const QList<Waiting> &queue : std::as_const(m_queues)) {
        if (queue.isEmpty())
            continue;
        const TocRates::Cost &cost = queue.first().cost;
        const qint32 floor = TocRates::DefaultClasses[cost.rateClass - 1].limitLevel;
        const qint64 at = levelFor(cost, now).earliestFor(now, cost.times, floor);
        due = due < 0 ? at : std::min(due, at);
    }
    if (due < 0)
        m_timer->stop();
    else
        m_timer->start(int(std::clamp<qint64>(due - now, 0, 1 << 30)));
}
