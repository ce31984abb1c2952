// Qiv against real TOC2 servers on loopback: how sign-on time grows with the
// number of buddies online, and the round trip of an instant message between
// two Qiv sessions. Each server is a process of its own (tests/interop's
// peers): qiv-localserver always, Open OSCAR Server when QIV_OSCAR_SERVER
// names its binary. Figures are printed, never checked.
//
// A program of its own rather than Google Benchmark: up to 1,000 signed-on
// buddy sessions are set up once per server and serve every size, the IM
// figures are percentiles of single round trips (one clock reading each), and
// sign-on times are reported as ratios to the 10-buddy time of the same run.
//
// The buddies live in a second process (this program started with
// --buddy-host PORT): an event loop watching a thousand sockets is slower at
// every turn, and the measured session should see only its own, as Qiv does.

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
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int WaitMs = 60000;
constexpr int BuddyCounts[] = {10, 100, 500, 1000};
constexpr int SignOnRepeats = 5;
constexpr int Messages = 1000;
// Open OSCAR Server drops IMs beyond about seven in a row from one session
// (window 20, level falling from 6000 to the limit of 4000), so each pair of
// sessions carries an opening round trip and a few more, then a fresh pair
// takes over.
constexpr int RoundTripsPerPair = 5;
constexpr int ImPairs = Messages / RoundTripsPerPair;
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
        connect(m_socket, &QTcpSocket::errorOccurred, this,
                [this] { emit failed(m_socket->errorString()); });
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

struct Session
{
    explicit Session(const QByteArray &screenName)
        : name(screenName)
        , sock(new BoundTocSocket(nextSourceAddress()))
    {
        QObject::connect(&sock, &QuorTOCSock::LoggedIn, [this] { loggedIn = true; });
        QObject::connect(&sock, &QuorTOCSock::Error, [this](qint16 code, const QByteArray &text) {
            failure = "ERROR " + QByteArray::number(code) + " " + text;
        });
        QObject::connect(&sock, &QuorTOCSock::WinsockError,
                         [this](const QByteArray &text) { failure = text; });
    }
    void login(quint16 port) { sock.Login(name, Password, "127.0.0.1", port); }

    QByteArray name;
    QuorTOCSock sock;
    bool loggedIn = false;
    QByteArray failure;
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

QByteArray buddyName(int i) { return "bud" + QByteArray::number(i).rightJustified(4, '0'); }
QByteArray watcherName(int buddies) { return "watch" + QByteArray::number(buddies); }
QByteArray senderName(int pair) { return "ims" + QByteArray::number(pair).rightJustified(3, '0'); }
QByteArray echoName(int pair) { return "ime" + QByteArray::number(pair).rightJustified(3, '0'); }

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
        waitFor([&] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; },
                10 * WaitMs);
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

    bool accounts()
    {
        QList<QByteArray> names;
        for (int pair = 0; pair < ImPairs; ++pair)
            names += {senderName(pair), echoName(pair)};
        for (int i = 0; i < BuddyCounts[std::size(BuddyCounts) - 1]; ++i)
            names.append(buddyName(i));
        for (int n : BuddyCounts)
            names.append(watcherName(n));
        // The account service may come up a moment after the TOC listener.
        const QDeadlineTimer ready(10000);
        for (const QByteArray &name : names) {
            while (!m_peer.createAccount(name, Password)) {
                if (ready.hasExpired())
                    return fail("could not make the account " + name);
                pause(200);
            }
        }
        return true;
    }

    // Sign-on until the buddy list is complete, for each number of buddies
    // online; the buddies stay online from one size to the next.
    bool signOnTimes()
    {
        BuddyHost host(m_peer.tocPort());
        std::vector<double> medians;
        for (int n : BuddyCounts) {
            QElapsedTimer setup;
            setup.start();
            if (const QByteArray failure = host.bringOnline(n); !failure.isEmpty())
                return fail(failure);
            if (m_listsStored && !listBuddies(n))
                return false;
            std::fprintf(stderr, "  %d buddies online and listed in %.1f s\n", n, setup.elapsed() / 1000.0);

            QSet<QByteArray> expected;
            for (int i = 0; i < n; ++i)
                expected.insert(ScreenName::NormalizeName(buddyName(i)));
            std::vector<double> ms;
            for (int repeat = 0; repeat <= SignOnRepeats; ++repeat) {
                const double t = timeSignOn(watcherName(n), expected);
                if (t < 0)
                    return false;
                if (repeat > 0) // the first one warms up
                    ms.push_back(t);
            }
            medians.push_back(median(ms));
            std::printf("  sign-on to a complete list, %4d buddies online: median %8.2f ms"
                        " (of %d), ratio to 10: %6.2f\n",
                        n, medians.back(), SignOnRepeats, medians.back() / medians.front());
            std::fflush(stdout);
        }
        return true;
    }

    // Median and 99th percentile of IM round trips, in microseconds: an IM
    // from a sender, its echo session's answer as soon as it arrives. Only
    // the pair in use is signed on. The opening round trip of each pair,
    // right after sign-on, is reported on its own: a server that holds back
    // small writes until the last one is acknowledged shows there.
    bool imRoundTrips()
    {
        std::vector<double> micros, openings;
        QElapsedTimer clock;
        for (int pair = 0; pair < ImPairs; ++pair) {
            Session sender(senderName(pair)), echo(echoName(pair));
            if (const QByteArray failure = signOn(m_peer.tocPort(), {&sender, &echo}); !failure.isEmpty())
                return fail(failure);
            QObject::connect(&echo.sock, &QuorTOCSock::InstantMessage,
                             [&echo](const QByteArray &from, const QByteArray &message) {
                                 echo.sock.SendIM(from, QuorTOCSock::RemoveHtml(message), false);
                             });
            int answers = 0;
            QObject::connect(&sender.sock, &QuorTOCSock::InstantMessage, [&] { ++answers; });
            for (int k = 0; k <= RoundTripsPerPair; ++k) {
                clock.start();
                sender.sock.SendIM(echo.name, "round trip " + QByteArray::number(k), false);
                if (!waitFor([&] { return answers > k || !sender.failure.isEmpty() || !echo.failure.isEmpty(); })
                    || answers == k)
                    return fail(sender.name + "'s message " + QByteArray::number(k) + " had no answer "
                                + sender.failure + echo.failure);
                (k == 0 ? openings : micros).push_back(double(clock.nsecsElapsed()) / 1000.0);
            }
            sender.sock.LogOff();
            echo.sock.LogOff();
        }
        std::printf("  IM round trip over %d messages (%d per pair of sessions after an opening one):"
                    " median %.0f us, 99th percentile %.0f us\n",
                    Messages, RoundTripsPerPair, median(micros), percentile(micros, 99));
        std::printf("  opening IM round trip right after sign-on, over %d pairs: median %.0f us,"
                    " 99th percentile %.0f us\n",
                    ImPairs, median(openings), percentile(openings, 99));
        return true;
    }

private:
    bool fail(const QByteArray &why)
    {
        std::printf("  stopped: %s\n", why.constData());
        return false;
    }

    // A server that keeps buddy lists gets the watcher's from the watcher
    // itself. AddBuddy sends one buddy per toc2_new_buddies command, and Open
    // OSCAR Server limits those per user (window 80, level falling from 6000
    // to the limit of 1500, kept between sessions), so the same command
    // carries many buddies here.
    bool listBuddies(int n)
    {
        Session watcher(watcherName(n));
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
        pause(200); // the server ends the session before the same name signs on again
        return true;
    }

    // Milliseconds from Login until LoggedIn and every expected buddy's
    // presence; negative when that never happened.
    double timeSignOn(const QByteArray &name, const QSet<QByteArray> &expected)
    {
        Session watcher(name);
        QSet<QByteArray> online;
        qsizetype listed = 0;
        QObject::connect(&watcher.sock, &QuorTOCSock::LoggedIn,
                         [&](const QByteArray &, const QList<QByteArray> &buddies) { listed = buddies.size(); });
        QObject::connect(&watcher.sock, &QuorTOCSock::BuddyUpdate, [&](const QByteArray &buddy, bool isOnline) {
            const QByteArray key = ScreenName::NormalizeName(buddy);
            if (isOnline && expected.contains(key))
                online.insert(key);
        });
        QElapsedTimer clock;
        clock.start();
        watcher.login(m_peer.tocPort());
        const bool complete = waitFor([&] {
            return (watcher.loggedIn && online.size() == expected.size()) || !watcher.failure.isEmpty();
        });
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (!complete || !watcher.failure.isEmpty()) {
            fail(name + (watcher.loggedIn ? " signed on" : " did not sign on") + " with "
                 + QByteArray::number(listed) + " names listed and saw " + QByteArray::number(online.size())
                 + " of " + QByteArray::number(expected.size()) + " buddies online " + watcher.failure);
            return -1;
        }
        watcher.sock.LogOff();
        pause(200);
        return ms;
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
    // IMs last: the local network lists every account it has seen, and the
    // sign-on figures are to count only the buddies.
    Run run(peer, listsStored);
    if (run.accounts()) {
        run.signOnTimes();
        run.imRoundTrips();
    }
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

    LargeLocalPeer local;
    measure("qiv-localserver", local, false);
    OscarPeer oscar;
    measure("Open OSCAR Server", oscar, true);
    return 0;
}
