#pragma once

// A local network in the test process: the server on a free loopback port and
// real clients (QuorTOCSock over TCP) signing on through it.

#include "testclient.h"
#include "tocserver.h"

#include <gtest/gtest.h>
#include <functional>
#include <memory>

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
