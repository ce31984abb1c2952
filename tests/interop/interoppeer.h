#pragma once

// The TOC2 servers the interop tests run against, each a real process on a
// free loopback port: qiv-localserver, and Open OSCAR Server when the
// environment names its binary in QIV_OSCAR_SERVER. Both are stopped by
// their process ID.

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class InteropPeer
{
public:
    virtual ~InteropPeer();

    // Why this peer cannot run here, or empty when it can.
    virtual QString unavailableReason() const { return {}; }
    // Starts the server (again, on the same port and data, after stop()).
    // Returns an empty string on success, else what went wrong and its log.
    QString start();
    void stop();
    quint16 tocPort() const { return m_tocPort; }
    // Makes an account. The local network makes one at its first sign-on.
    virtual bool createAccount(const QByteArray &name, const QByteArray &password) = 0;

protected:
    struct Launch
    {
        QString program;
        QStringList arguments;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The server's output line saying it accepts TOC connections;
        // a first capture, when present, is the port.
        QRegularExpression ready;
    };
    virtual Launch launch() = 0;

    quint16 m_tocPort = 0;

private:
    std::unique_ptr<QProcess> m_process;
};

// qiv-localserver, the build's own binary.
class LocalPeer : public InteropPeer
{
public:
    bool createAccount(const QByteArray &, const QByteArray &) override { return true; }

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

protected:
    Launch launch() override;

private:
    QTemporaryDir m_data;
    quint16 m_bosPort = 0;
    quint16 m_apiPort = 0;
};

std::unique_ptr<InteropPeer> makePeer(const std::string &name);
