#pragma once

// Shared pieces of the window benchmarks: a connection the benchmark feeds
// by hand, a main window signed on through it, and server frames.

#include "main/frmaimlogin.h"
#include "dialogs.h"
#include "tocsocket.h"
#include "windowregistry.h"

#include <QByteArray>
#include <memory>

// Connects when told to; each delivery is one arrival, read by the session's
// real receive path.
class BenchSocket final : public TocSocket
{
public:
    void connectToServer(const QString &, qint32) override {}
    bool isConnected() const override { return m_connected; }
    void write(const QByteArray &) override {}
    QByteArray readAll() override;
    void close() override { m_connected = false; }

    void accept();
    void deliver(const QByteArray &bytes);

private:
    bool m_connected = false;
    QByteArray m_pending;
};

// Answers every box without showing it; a benchmark never waits for a person.
class SilentDialogs final : public Dialogs
{
public:
    bool askYesNo(QWidget *, const QString &, const QString &) override { return true; }
    void notice(QWidget *, const QString &, const QString &) override {}
    QString askText(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};

// The real main window, shown offscreen and signed on over a BenchSocket.
struct SignedOnWindow
{
    SignedOnWindow();
    ~SignedOnWindow();

    // One server data frame, read as its own arrival, then the window's
    // pending layout and painting, as between two socket reads.
    void receive(const QByteArray &message);
    // The same without running the event loop: a burst read in one go.
    void receiveOnly(const QByteArray &message);

    SilentDialogs dialogs;
    WindowRegistry windows;
    BenchSocket *socket;
    std::unique_ptr<frmAimlogin> window;
};

// Lets queued layout and paint work run, as the event loop would.
void settle();

QByteArray buddyUpdate(int n, bool online);
QByteArray instantMessage(int n);
