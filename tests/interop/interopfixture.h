#pragma once

// The fixture of the interop list: a server process of the kind the test's
// parameter names ("local" or "oscar"), started for each test, and real
// clients (QuorTOCSock over TCP) signed on to it. Every file of the list
// shares it; interop_test.cpp runs the whole list against both servers.

#include "interoppeer.h"
#include "testclient.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline bool waitFor(const std::function<bool()> &condition, int ms = WaitMs) { return QTest::qWaitFor(condition, ms); }

class Interop : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        peer = makePeer(GetParam());
        if (const QString why = peer->unavailableReason(); !why.isEmpty()) {
            if (peersRequired())
                FAIL() << why.toStdString();
            GTEST_SKIP() << why.toStdString();
        }
        const QString failure = peer->start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    }

    void account(const QByteArray &name, const QByteArray &password)
    {
        ASSERT_TRUE(peer->createAccount(name, password)) << name.toStdString();
    }

    // An account the server does not rate-limit where it can exempt one.
    void botAccount(const QByteArray &name, const QByteArray &password)
    {
        account(name, password);
        if (peer->canExemptFromRateLimits()) {
            ASSERT_TRUE(peer->exemptFromRateLimits(name)) << name.toStdString();
        }
    }

    void login(TestClient &client, const QByteArray &name, const QByteArray &password)
    {
        client.sock.Login(name, password, "127.0.0.1", peer->tocPort());
    }

    // Signs on and waits until the server has taken toc_init_done.
    std::unique_ptr<TestClient> signOn(const QByteArray &name, const QByteArray &password)
    {
        auto client = std::make_unique<TestClient>();
        login(*client, name, password);
        EXPECT_TRUE(waitFor([&] { return client->loggedIn.size() == 1; })) << name.toStdString();
        EXPECT_TRUE(settle(*client)) << name.toStdString();
        return client;
    }

    // Everything the server had to say to this client before a profile
    // request of its own has arrived once this returns true. Messages from
    // other sessions may take one more hop on some servers, hence the pause.
    static bool settle(TestClient &client)
    {
        const qsizetype before = client.profiles.size();
        client.sock.GetProfile("nobody");
        const bool answered = waitFor([&] { return client.profiles.size() > before; });
        QTest::qWait(200);
        return answered;
    }

    std::unique_ptr<InteropPeer> peer;
};
