#pragma once

// The servers the interop tests run against, each a real process on a free
// loopback port, stopped by its process ID: qiv-localserver, Open OSCAR
// Server, and Toxiproxy for putting faults between the two ends.
// tests/interop/get-peer provides the last two in the build's cache; an
// environment variable may name another binary instead.

#include "session/sendpacer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// Whether a peer that cannot run here is a failure rather than a skip, as in
// CI (QIV_REQUIRE_PEERS=1).
bool peersRequired();

// A server process started and stopped by the tests.
class PeerProcess
{
public:
    virtual ~PeerProcess();

    // Why this peer cannot run here, or empty when it can.
    virtual QString unavailableReason() const { return {}; }
    // Starts the server (again, on the same port and data, after stop()).
    // Returns an empty string on success, else what went wrong and its log.
    QString start();
    void stop();
    // The server's last lines of output, for saying why something failed.
    QString lastOutput(int lines = 10);
    bool isRunning() const;

protected:
    struct Launch
    {
        QString program;
        QStringList arguments;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The server's output line saying it is listening; a first capture,
        // when present, is the port.
        QRegularExpression ready;
    };
    virtual Launch launch() = 0;
    // Waits for whatever else the server starts after saying it listens;
    // returns what went wrong, or an empty string.
    virtual QString awaitReady() { return {}; }
    // Picks new free ports after a start found one taken.
    virtual void choosePortsAgain() {}

    quint16 m_port = 0;

private:
    QString startOnce();
    void keepOutput();

    std::unique_ptr<QProcess> m_process;
    QByteArray m_output;
    bool m_hasStarted = false;
};

// A TOC2 server.
class InteropPeer : public PeerProcess
{
public:
    quint16 tocPort() const { return m_port; }
    // Makes an account. The local network makes one at its first sign-on.
    virtual bool createAccount(const QByteArray &name, const QByteArray &password) = 0;
    // How many sessions of one name the server keeps at once; where it is
    // one, a sign-on ends the older session instead of being refused.
    virtual int sessionsPerName() const { return 1; }
    // How many sign-ons from one address the server takes in a minute before
    // it refuses them (ERROR 983); 0 when it has no such limit.
    virtual int signOnsPerAddress() const { return 0; }
    // Whether the server lets an account's sessions lift its rate limits.
    virtual bool canExemptFromRateLimits() const { return false; }
    virtual bool exemptFromRateLimits(const QByteArray &) { return false; }
    // The limits an account exempted by exemptFromRateLimits() still has,
    // or that every account has where none can be exempted.
    virtual SendPacer::Limits limitsOfExempt() const { return SendPacer::Limits::All; }
};

// qiv-localserver, the build's own binary.
class LocalPeer : public InteropPeer
{
public:
    bool createAccount(const QByteArray &, const QByteArray &) override { return true; }
    // It limits nobody's speed.
    SendPacer::Limits limitsOfExempt() const override { return SendPacer::Limits::None; }

protected:
    Launch launch() override;
};

// Open OSCAR Server started by tests/interop/oscar-server with every setting
// on this machine; accounts go through its management API.
class OscarPeer : public InteropPeer
{
public:
    OscarPeer();
    QString unavailableReason() const override;
    bool createAccount(const QByteArray &name, const QByteArray &password) override;
    // foodgroup/auth.go MaxConcurrentLoginsPerUser; the TOC listener's
    // per-address limiter (cmd/server/factory.go: a burst of 10, one more a minute).
    int sessionsPerName() const override { return 5; }
    int signOnsPerAddress() const override { return 10; }
    // Marks the account as a bot, which the server exempts from its rate
    // limits (not from the limit on sign-ons per address).
    bool canExemptFromRateLimits() const override { return true; }
    bool exemptFromRateLimits(const QByteArray &name) override;
    // A chat room is a session of its own, which the server never exempts
    // (foodgroup/auth.go RegisterChatSession sets no bot flag).
    SendPacer::Limits limitsOfExempt() const override { return SendPacer::Limits::RoomsOnly; }

protected:
    Launch launch() override;
    // The management API, which makes the accounts, may come up a moment
    // after the TOC listener.
    QString awaitReady() override;
    void choosePortsAgain() override;

private:
    QTemporaryDir m_data;
    quint16 m_bosPort = 0;
    quint16 m_apiPort = 0;
};

// Toxiproxy's server with its HTTP API on a free loopback port, and the
// proxies and faults (toxics) it is told to put in.
class ToxiproxyPeer final : public PeerProcess
{
public:
    ToxiproxyPeer();
    QString unavailableReason() const override;
    quint16 apiPort() const { return m_port; }

    // A proxy named name from a loopback port of its own to upstreamPort;
    // the port it listens on, or 0 when the API refused it.
    quint16 addProxy(const QString &name, quint16 upstreamPort);
    // A toxic of type on a proxy's stream ("upstream" goes to the server,
    // "downstream" to the client), with the type's attributes. Whether the
    // API took it; the proxy's connections feel it at once.
    bool addToxic(const QString &proxy, const QString &toxic, const QString &type, const QString &stream,
                  const QJsonObject &attributes);
    bool removeToxic(const QString &proxy, const QString &toxic);

protected:
    Launch launch() override;
    void choosePortsAgain() override;
    // Its log line comes just before its API listens.
    QString awaitReady() override;
};

std::unique_ptr<InteropPeer> makePeer(const std::string &name);

// The HTTP status of a request to a peer's API (0 when none came), with a
// JSON body when one is given; the answer's body goes to reply.
int httpStatus(const QByteArray &verb, const QString &url, const QByteArray &json = {}, QByteArray *reply = nullptr);
