// Qiv against real TOC2 servers on loopback, each figure set beside a floor
// measured in the same run: how long sign-on takes until every buddy online
// is reported, by the number of buddies, and the round trip of an instant
// message between two sessions. Qiv's session control (QuorTOCSock) is timed
// against a bare client (bareclient.h) that writes the same bytes on a plain
// socket and reads no more than the figure needs, through the same server at
// the same moment, so the ratio is what Qiv adds. Each server is a process of
// its own (tests/interop's peers): qiv-localserver and Open OSCAR Server.
// Figures are printed, never checked.
//
// A program of its own rather than Google Benchmark: up to 1,000 signed-on
// buddy sessions are set up once per server and serve every size, and the
// figures are medians of single sign-ons and round trips (one clock reading
// each), Qiv's and the floor's taken in turn.
//
// The buddies live in a second process (this program started with
// --buddy-host PORT): an event loop watching a thousand sockets is slower at
// every turn, and the measured session should see only its own, as Qiv does.

#include "bareclient.h"
#include "interoppeer.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "session/tocsocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QSet>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int WaitMs = 60000;
constexpr int BuddyCounts[] = {10, 100, 500, 1000};
// Timed sign-ons per client and size, after one that warms up. Small lists
// sign on in a few milliseconds, where the busy machine's noise is largest;
// every repeat needs a name and a stored list of its own.
constexpr int signOnRepeats(int buddies) { return buddies <= 100 ? 15 : 9; }
constexpr int RoundTrips = 1000;
constexpr int BurstLength = 20;
const QByteArray BurstSender = "burstsender";
const QByteArray BurstReceiver = "burstreceiver";
// Open OSCAR Server joins a sign-on that comes within about 3 s of the end of
// the same name's last session to that dying session, which then reports no
// presence (state/session_manager.go AddSession). Every timed sign-on is of a
// fresh name, and the names' listing sessions end at least this long before.
constexpr int SessionEndMs = 3500;
// Sign-ons in flight at once while the buddies come online.
constexpr int SignOnBatch = 50;
// Buddies added by one toc2_new_buddies command: about 1,300 bytes, well
// within the command length limit.
constexpr int BuddiesPerCommand = 100;
const QByteArray Password = "secret1";

// A server that limits sign-ons per source address sees every session come
// from an address of its own in 127.0.0.0/8; each process has its own block.
quint32 addressBlock = 10;

QHostAddress nextSourceAddress()
{
    static quint32 used = 0;
    const quint32 k = used++;
    return QHostAddress((127u << 24) | (addressBlock << 16) | ((k / 250) << 8) | (k % 250 + 1));
}

class BoundTocSocket final : public TocSocket
{
public:
    explicit BoundTocSocket(const QHostAddress &source)
        : m_source(source)
        , m_socket(new QTcpSocket(this))
    {
        connect(m_socket, &QTcpSocket::connected, this, &TocSocket::connected);
        connect(m_socket, &QTcpSocket::readyRead, this, &TocSocket::dataArrived);
        connect(m_socket, &QTcpSocket::errorOccurred, this, [this] { emit failed(m_socket->errorString()); });
    }

    void connectToServer(const QString &host, qint32 port) override
    {
        if (!m_socket->bind(m_source)) {
            QTimer::singleShot(0, this, [this] { emit failed(m_socket->errorString()); });
            return;
        }
        m_socket->connectToHost(host, quint16(port));
    }
    bool isConnected() const override { return m_socket->state() == QAbstractSocket::ConnectedState; }
    void write(const QByteArray &bytes) override { m_socket->write(bytes); }
    QByteArray readAll() override { return m_socket->readAll(); }
    void close() override { m_socket->abort(); }

private:
    QHostAddress m_source;
    QTcpSocket *m_socket;
};

// Qiv's session control, as the program drives it.
struct Session final : BenchClient
{
    explicit Session(const QByteArray &screenName)
        : BenchClient(screenName)
        , sock(new BoundTocSocket(nextSourceAddress()))
    {
        QObject::connect(&sock, &QuorTOCSock::LoggedIn, [this] { loggedIn = true; });
        QObject::connect(&sock, &QuorTOCSock::Error, [this](qint16 code, const QByteArray &text) {
            failure = "ERROR " + QByteArray::number(code) + " " + text;
        });
        QObject::connect(&sock, &QuorTOCSock::WinsockError, [this](const QByteArray &text) { failure = text; });
        QObject::connect(&sock, &QuorTOCSock::BuddyUpdate, [this](const QByteArray &buddy, bool online) {
            if (onBuddy)
                onBuddy(buddy, online);
        });
        QObject::connect(&sock, &QuorTOCSock::InstantMessage, [this](const QByteArray &from, const QByteArray &text) {
            if (onIm)
                onIm(from, text);
        });
    }
    void login(quint16 port) override
    {
        // Bench accounts are bots, which the server does not limit, but for
        // the burst, which is about Qiv keeping within those limits.
        sock.setRateLimits(paced ? SendPacer::Limits::All : SendPacer::Limits::None);
        sock.Login(name, Password, "127.0.0.1", port);
    }
    void sendIm(const QByteArray &to, const QByteArray &message) override { sock.SendIM(to, message, false); }
    void logOff() override { sock.LogOff(); }

    QuorTOCSock sock;
    bool paced = false;
};

// The event loop runs until condition holds; a ticking timer wakes it to
// look at the deadline.
bool waitFor(const std::function<bool()> &condition, int ms = WaitMs)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void pause(int ms)
{
    const QDeadlineTimer deadline(ms);
    waitFor([&] { return deadline.hasExpired(); }, ms + 1000);
}

// Everything these sessions sent before has been handled once a profile
// request of each is answered.
bool settle(const std::vector<Session *> &sessions)
{
    int answers = 0;
    std::vector<QMetaObject::Connection> connections;
    for (Session *session : sessions) {
        connections.push_back(QObject::connect(&session->sock, &QuorTOCSock::UserProfile, [&] { ++answers; }));
        session->sock.GetProfile("nobody");
    }
    const bool answered = waitFor([&] {
        return answers == int(sessions.size())
            || std::any_of(sessions.begin(), sessions.end(), [](Session *s) { return !s->failure.isEmpty(); });
    });
    for (const auto &connection : connections)
        QObject::disconnect(connection);
    return answered && answers == int(sessions.size());
}

// Signs the sessions on a batch at a time and waits until others can see
// them (the server has taken their sign-on as done). Returns what went wrong.
QByteArray signOn(quint16 port, const std::vector<Session *> &sessions)
{
    for (size_t first = 0; first < sessions.size(); first += SignOnBatch) {
        const size_t last = std::min(sessions.size(), first + SignOnBatch);
        for (size_t i = first; i < last; ++i)
            sessions[i]->login(port);
        const bool done = waitFor([&] {
            for (size_t i = first; i < last; ++i) {
                if (!sessions[i]->loggedIn && sessions[i]->failure.isEmpty())
                    return false;
            }
            return true;
        });
        for (size_t i = first; i < last; ++i) {
            if (!done || !sessions[i]->loggedIn)
                return sessions[i]->name + " did not sign on: " + sessions[i]->failure;
        }
        if (!settle({sessions.begin() + first, sessions.begin() + last}))
            return "a session did not settle after signing on";
    }
    return {};
}

// Qiv's session, or the floor: a bare client on a plain socket.
enum class Kind { Qiv, Floor };
constexpr std::array Kinds{Kind::Qiv, Kind::Floor};

std::unique_ptr<BenchClient> makeClient(Kind kind, const QByteArray &name)
{
    if (kind == Kind::Qiv)
        return std::make_unique<Session>(name);
    return std::make_unique<BareClient>(name, Password, nextSourceAddress());
}

QByteArray kindTag(Kind kind) { return kind == Kind::Qiv ? "q" : "f"; }
QByteArray buddyName(int i) { return "bud" + QByteArray::number(i).rightJustified(4, '0'); }
// A name of its own for every timed sign-on.
QByteArray watcherName(Kind kind, int buddies, int repeat)
{
    return "w" + kindTag(kind) + QByteArray::number(buddies) + "r" + QByteArray::number(repeat);
}
QByteArray senderName(Kind kind) { return "ims" + kindTag(kind); }
QByteArray echoName(Kind kind) { return "ime" + kindTag(kind); }

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    // Nearest rank.
    const size_t rank = size_t(std::max(1.0, std::ceil(p / 100.0 * double(values.size()))));
    return values[rank - 1];
}

// The buddy process: each line on standard input is a number of buddies to
// have online; it answers "online" once they are, or "failed" and why. It
// signs them off and ends when its input closes.
int hostBuddies(quint16 port)
{
    addressBlock = 11;
    std::vector<std::unique_ptr<Session>> buddies;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[32];
        if (!std::fgets(line, sizeof line, stdin)) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        std::vector<Session *> newcomers;
        while (int(buddies.size()) < std::atoi(line)) {
            buddies.push_back(std::make_unique<Session>(buddyName(int(buddies.size()))));
            newcomers.push_back(buddies.back().get());
        }
        const QByteArray failure = signOn(port, newcomers);
        std::printf("%s\n", failure.isEmpty() ? "online" : ("failed " + failure).constData());
        std::fflush(stdout);
    });
    return QCoreApplication::exec();
}

class BuddyHost
{
public:
    explicit BuddyHost(quint16 port)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--buddy-host"), QString::number(port)});
    }
    ~BuddyHost()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    // What went wrong, or empty once that many buddies are online.
    QByteArray bringOnline(int count)
    {
        m_process.write(QByteArray::number(count) + '\n');
        waitFor([&] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }, 10 * WaitMs);
        const QByteArray answer = m_process.readLine().trimmed();
        return answer == "online" ? QByteArray() : "the buddy process said: " + answer;
    }

private:
    QProcess m_process;
};

class Run
{
public:
    Run(InteropPeer &peer, bool listsStored)
        : m_peer(peer)
        , m_listsStored(listsStored)
    {
    }

    // Every account, exempt from the server's rate limits where it allows
    // that, and, where the server keeps buddy lists, every watcher's list.
    bool accounts()
    {
        QList<QByteArray> names;
        for (const Kind kind : Kinds) {
            names += {senderName(kind), echoName(kind)};
            for (const int n : BuddyCounts) {
                for (int repeat = 0; repeat <= signOnRepeats(n); ++repeat)
                    names.append(watcherName(kind, n, repeat));
            }
        }
        for (int i = 0; i < BuddyCounts[std::size(BuddyCounts) - 1]; ++i)
            names.append(buddyName(i));
        // The burst's accounts are limited like anybody's.
        for (const QByteArray &name : {BurstSender, BurstReceiver}) {
            if (!m_peer.createAccount(name, Password))
                return fail("could not make the account " + name);
        }
        for (const QByteArray &name : names) {
            if (!m_peer.createAccount(name, Password))
                return fail("could not make the account " + name);
            if (m_peer.canExemptFromRateLimits() && !m_peer.exemptFromRateLimits(name))
                return fail("could not mark " + name + " as a bot");
        }
        if (!m_listsStored)
            return true;
        QElapsedTimer listing;
        listing.start();
        for (const int n : BuddyCounts) {
            for (int repeat = 0; repeat <= signOnRepeats(n); ++repeat) {
                for (const Kind kind : Kinds) {
                    if (!listBuddies(watcherName(kind, n, repeat), n))
                        return false;
                }
            }
        }
        std::fprintf(stderr, "  watchers' lists stored in %.1f s\n", listing.elapsed() / 1000.0);
        pause(SessionEndMs);
        return true;
    }

    // Sign-on until the buddy list is complete, for each number of buddies
    // online, Qiv and the floor in turn; the buddies stay online from one
    // size to the next.
    bool signOnTimes()
    {
        BuddyHost host(m_peer.tocPort());
        // The processor time is this process's alone (the buddies live in
        // another): what the client itself spent of the time it waited.
        std::printf("  sign-on until every buddy online is listed, median of %d (%d from %d buddies), ms:\n"
                    "    buddies        Qiv      floor   Qiv/floor   Qiv CPU  floor CPU\n",
                    signOnRepeats(BuddyCounts[0]), signOnRepeats(BuddyCounts[std::size(BuddyCounts) - 1]),
                    BuddyCounts[2]);
        for (const int n : BuddyCounts) {
            QElapsedTimer setup;
            setup.start();
            if (const QByteArray failure = host.bringOnline(n); !failure.isEmpty())
                return fail(failure);
            std::fprintf(stderr, "  %d buddies online in %.1f s\n", n, setup.elapsed() / 1000.0);

            QSet<QByteArray> expected;
            for (int i = 0; i < n; ++i)
                expected.insert(ScreenName::NormalizeName(buddyName(i)));
            std::vector<double> ms[2], cpu[2];
            for (int repeat = 0; repeat <= signOnRepeats(n); ++repeat) {
                // Each goes first in turn: the server may still be ending the
                // session before.
                for (const Kind kind : repeat % 2 ? std::array{Kind::Floor, Kind::Qiv} : Kinds) {
                    const SignOnTime t = timeSignOn(kind, watcherName(kind, n, repeat), expected);
                    if (t.wallMs < 0)
                        return false;
                    if (repeat > 0) { // the first one warms up
                        ms[int(kind)].push_back(t.wallMs);
                        cpu[int(kind)].push_back(t.cpuMs);
                    }
                }
            }
            const double qiv = median(ms[0]), floor = median(ms[1]);
            std::printf("    %7d %10.2f %10.2f %11.2f %9.2f %10.2f\n", n, qiv, floor, qiv / floor, median(cpu[0]),
                        median(cpu[1]));
            std::fflush(stdout);
        }
        return true;
    }

    // Round trips of an IM from a sender to its echo session, which answers
    // as soon as it arrives: Qiv's pair and the floor's pair in turn.
    // Twenty messages typed as fast as possible by an account the server
    // limits: the time until the last arrives, against the least time the
    // server's limits allow (the pacing's floor).
    bool burst()
    {
        Session sender(BurstSender);
        Session receiver(BurstReceiver);
        sender.paced = true;
        int arrived = 0;
        receiver.onIm = [&](const QByteArray &, const QByteArray &) { ++arrived; };
        for (Session *session : {&sender, &receiver}) {
            session->login(m_peer.tocPort());
            if (!waitFor([&] { return session->loggedIn || !session->failure.isEmpty(); }) || !session->loggedIn)
                return fail(session->name + " did not sign on: " + session->failure);
        }
        // A full level: the server counted the sign-on's own commands.
        pause(3000);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < BurstLength; ++i)
            sender.sock.trySendIM(receiver.name, "burst " + QByteArray::number(i), false);
        if (!waitFor([&] { return arrived == BurstLength || !sender.failure.isEmpty(); }, 120'000))
            return fail("the burst did not arrive: " + QByteArray::number(arrived) + " " + sender.failure);
        const double seconds = clock.elapsed() / 1000.0;
        const double least = TocRates::fastestBurst(TocRates::DefaultClasses[2], BurstLength) / 1000.0;
        std::printf("  burst of %d IMs, paced: all arrived in %.2f s; the server's limits allow %.2f s at the "
                    "least: %.3fx%s\n",
                    BurstLength, seconds, least, seconds / least, sender.failure.isEmpty() ? "" : ", with an error");
        std::fflush(stdout);
        return true;
    }

    bool imRoundTrips()
    {
        std::vector<std::unique_ptr<BenchClient>> senders, echoes;
        for (const Kind kind : Kinds) {
            senders.push_back(makeClient(kind, senderName(kind)));
            echoes.push_back(makeClient(kind, echoName(kind)));
            BenchClient *echo = echoes.back().get();
            echo->onIm = [echo](const QByteArray &from, const QByteArray &message) { echo->sendIm(from, message); };
        }
        std::vector<int> answers(2, 0);
        for (const Kind kind : Kinds) {
            BenchClient &sender = *senders[int(kind)];
            sender.onIm = [&answers, kind](const QByteArray &, const QByteArray &) { ++answers[int(kind)]; };
            for (BenchClient *client : {&sender, echoes[int(kind)].get()}) {
                client->login(m_peer.tocPort());
                if (!waitFor([&] { return client->loggedIn || !client->failure.isEmpty(); }) || !client->loggedIn)
                    return fail(client->name + " did not sign on: " + client->failure);
            }
            // The echo counts as online once the server has taken its sign-on
            // as done; until then an IM to it is dropped, so the opening one
            // is sent again until it comes back.
            bool answered = false;
            for (int attempt = 0; attempt < 20 && !answered; ++attempt) {
                sender.sendIm(echoes[int(kind)]->name, "opening");
                answered = waitFor([&] { return answers[int(kind)] > 0; }, 500);
            }
            if (!answered)
                return fail(sender.name + "'s opening message had no answer");
            pause(200); // any repeated opening comes back now, not during a timed trip
            // A server may have said that the echo was not there yet.
            sender.failure.clear();
        }

        std::vector<double> micros[2];
        QElapsedTimer clock;
        for (int k = 0; k < RoundTrips; ++k) {
            for (const Kind kind : Kinds) {
                BenchClient &sender = *senders[int(kind)];
                BenchClient &echo = *echoes[int(kind)];
                const int before = answers[int(kind)];
                clock.start();
                sender.sendIm(echo.name, "round trip " + QByteArray::number(k));
                if (!waitFor([&] {
                        return answers[int(kind)] > before || !sender.failure.isEmpty() || !echo.failure.isEmpty();
                    })
                    || answers[int(kind)] == before)
                    return fail(sender.name + "'s message " + QByteArray::number(k) + " had no answer " + sender.failure
                                + echo.failure);
                micros[int(kind)].push_back(double(clock.nsecsElapsed()) / 1000.0);
            }
        }
        for (const auto &client : senders)
            client->logOff();
        for (const auto &client : echoes)
            client->logOff();
        std::printf("  IM round trip over %d messages, us:     Qiv      floor   Qiv/floor\n"
                    "    median                       %10.0f %10.0f %11.2f\n"
                    "    99th percentile              %10.0f %10.0f %11.2f\n",
                    RoundTrips, median(micros[0]), median(micros[1]), median(micros[0]) / median(micros[1]),
                    percentile(micros[0], 99), percentile(micros[1], 99),
                    percentile(micros[0], 99) / percentile(micros[1], 99));
        std::fflush(stdout);
        return true;
    }

private:
    bool fail(const QByteArray &why)
    {
        std::printf("  stopped: %s\n  the server's last lines:\n%s\n", why.constData(),
                    qPrintable(m_peer.lastOutput()));
        return false;
    }

    // A server that keeps buddy lists gets a watcher's from the watcher
    // itself, many buddies to a toc2_new_buddies command.
    bool listBuddies(const QByteArray &name, int n)
    {
        Session watcher(name);
        if (const QByteArray failure = signOn(m_peer.tocPort(), {&watcher}); !failure.isEmpty())
            return fail(failure);
        for (int first = 0; first < n; first += BuddiesPerCommand) {
            QByteArray command = "toc2_new_buddies \"g:Buddies\n";
            for (int i = first; i < std::min(n, first + BuddiesPerCommand); ++i)
                command += "b:" + buddyName(i) + '\n';
            watcher.sock.SendPacket(Flap::Data, command + '"');
        }
        if (!settle({&watcher}))
            return fail(watcher.name + " could not list its buddies: " + watcher.failure);
        watcher.sock.LogOff();
        return true;
    }

    // Milliseconds from login until the stored configuration and every
    // expected buddy's presence have arrived (negative when that never
    // happened), and the processor time this process spent meanwhile.
    struct SignOnTime
    {
        double wallMs = -1;
        double cpuMs = 0;
    };
    SignOnTime timeSignOn(Kind kind, const QByteArray &name, const QSet<QByteArray> &expected)
    {
        const std::unique_ptr<BenchClient> watcher = makeClient(kind, name);
        QSet<QByteArray> online;
        watcher->onBuddy = [&](const QByteArray &buddy, bool isOnline) {
            const QByteArray key = ScreenName::NormalizeName(buddy);
            if (isOnline && expected.contains(key))
                online.insert(key);
        };
        QElapsedTimer clock;
        const double cpuBefore = processCpuMs();
        clock.start();
        watcher->login(m_peer.tocPort());
        const bool complete = waitFor(
            [&] { return (watcher->loggedIn && online.size() == expected.size()) || !watcher->failure.isEmpty(); });
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const double cpuMs = processCpuMs() - cpuBefore;
        if (!complete || !watcher->failure.isEmpty()) {
            fail(name + (watcher->loggedIn ? " signed on" : " did not sign on") + " and saw "
                 + QByteArray::number(online.size()) + " of " + QByteArray::number(expected.size()) + " buddies online "
                 + watcher->failure);
            return {};
        }
        // The server ends the session with as much work as it began it; the
        // next sign-on is not to share the machine with that.
        watcher->logOff();
        pause(200 + int(ms));
        return {ms, cpuMs};
    }

    InteropPeer &m_peer;
    bool m_listsStored;
};

// qiv-localserver serves 512 connections by default; the largest list here
// needs more.
class LargeLocalPeer final : public LocalPeer
{
protected:
    Launch launch() override
    {
        Launch how = LocalPeer::launch();
        how.arguments << QStringLiteral("--max-connections") << QStringLiteral("2000");
        return how;
    }
};

void measure(const char *title, InteropPeer &peer, bool listsStored)
{
    std::printf("%s\n", title);
    std::fflush(stdout);
    if (const QString why = peer.unavailableReason(); !why.isEmpty()) {
        std::printf("  not measured: %s\n", qPrintable(why));
        return;
    }
    if (const QString failure = peer.start(); !failure.isEmpty()) {
        std::printf("  not measured: %s\n", qPrintable(failure));
        return;
    }
    // IMs first, on a quiet server: when a thousand buddies sign off at once,
    // Open OSCAR Server's database is busy for many seconds and a sign-on
    // meanwhile fails with ERROR 913. (The IM sessions are offline by the
    // time sign-ons are timed; the local network lists them with everyone.)
    Run run(peer, listsStored);
    QElapsedTimer whole;
    whole.start();
    if (run.accounts() && run.burst() && run.imRoundTrips())
        run.signOnTimes();
    std::fprintf(stderr, "  measured in %.0f s\n", whole.elapsed() / 1000.0);
    peer.stop();
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A thousand sessions need a thousand sockets in the buddy process and in
    // the server, which inherit this limit.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    QTimer tick;
    tick.start(50);

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--buddy-host"))
        return hostBuddies(quint16(arguments[2].toUInt()));

    // Both servers, or the one named: "local" or "oscar".
    const QString only = arguments.value(1);
    if (only.isEmpty() || only == QLatin1String("local")) {
        LargeLocalPeer local;
        measure("qiv-localserver", local, false);
    }
    if (only.isEmpty() || only == QLatin1String("oscar")) {
        OscarPeer oscar;
        measure("Open OSCAR Server", oscar, true);
    }
    return 0;
}
