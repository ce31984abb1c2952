#pragma once

// What the network figures and the interop tests need of a client, so that
// Qiv's session and the bare client go through the same steps: sign on,
// report the buddies' presence and instant messages, send one, sign off.

#include <QByteArray>
#include <functional>

class BenchClient
{
public:
    explicit BenchClient(const QByteArray &screenName)
        : name(screenName)
    {
    }
    virtual ~BenchClient() = default;

    virtual void login(quint16 port) = 0;
    virtual void sendIm(const QByteArray &to, const QByteArray &message) = 0;
    virtual void logOff() = 0;

    const QByteArray name;
    bool loggedIn = false; // the stored configuration has arrived
    QByteArray failure; // an ERROR or a lost connection, as text
    std::function<void(const QByteArray &buddy, bool online)> onBuddy;
    std::function<void(const QByteArray &from, const QByteArray &message)> onIm;
};
