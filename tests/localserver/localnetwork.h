#pragma once

// A local network in the test process: the server on a free loopback port and
// real clients (QuorTOCSock over TCP) signing on through it.

#include "quortocsock.h"
#include "tocserver.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

inline constexpr int WaitMs = 5000;

// One client with a spy on every event the tests look at.
struct TestClient
{
    QuorTOCSock sock;
    QSignalSpy loggedIn{&sock, &QuorTOCSock::LoggedIn};
    QSignalSpy nick{&sock, &QuorTOCSock::ScreennameFormat};
    QSignalSpy buddies{&sock, &QuorTOCSock::BuddyUpdate};
    QSignalSpy ims{&sock, &QuorTOCSock::InstantMessage};
    QSignalSpy errors{&sock, &QuorTOCSock::Error};
    QSignalSpy joined{&sock, &QuorTOCSock::JoinedChat};
    QSignalSpy chatUsers{&sock, &QuorTOCSock::ChatUserUpdate};
    QSignalSpy chatMessages{&sock, &QuorTOCSock::ChatMessage};
    QSignalSpy leftChat{&sock, &QuorTOCSock::LeftChat};
    QSignalSpy warned{&sock, &QuorTOCSock::Warned};
    QSignalSpy passwordChanged{&sock, &QuorTOCSock::PasswordChanged};
    QSignalSpy dropped{&sock, &QuorTOCSock::WinsockError};

    // The last presence seen for name as (online, user class), if any.
    std::optional<std::pair<bool, QByteArray>> presenceOf(const QByteArray &name) const;
    // An IM to QivBot and its answer: everything the server wrote to this
    // client before the answer has arrived once this returns true.
    bool roundTrip();
};

class LocalNetwork : public ::testing::Test
{
protected:
    void SetUp() override;

    // Signs a new client on and waits until the sign-on is complete and the
    // bot's presence (the last thing the server sends) has arrived.
    std::unique_ptr<TestClient> signOn(const QByteArray &name, const QByteArray &password = "pw");
    void login(TestClient &client, const QByteArray &name, const QByteArray &password);

    static bool waitFor(const std::function<bool()> &condition);

    TocServer server;
};
