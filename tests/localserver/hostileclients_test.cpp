// Clients that do not speak TOC: whatever they send, the server drops only
// them, and a signed-on user carries on as if nothing happened.

#include "session/flap.h"
#include "localnetwork.h"

#include <QTcpSocket>
#include <QTest>

namespace {
const QByteArray Preamble = "FLAPON\n\n";
const QByteArray ServerSignOnFrame = Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4));

QByteArray header(char marker, quint8 type, quint16 length)
{
    QByteArray bytes;
    bytes.append(marker).append(char(type)).append(Flap::EncodeWord(0)).append(Flap::EncodeWord(length));
    return bytes;
}

QByteArray clientSignOnFrame(const QByteArray &name)
{
    QByteArray payload("\0\0\0\1\0\1", 6);
    payload += Flap::EncodeWord(quint16(name.size())) + name;
    return Flap::buildFrame(Flap::SignOn, 0, payload);
}
} // namespace

class HostileClients : public LocalNetwork
{
protected:
    std::unique_ptr<QTcpSocket> connectRaw()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server.serverPort());
        EXPECT_TRUE(socket->waitForConnected(WaitMs));
        return socket;
    }
    // Whether the server hangs up on this client.
    bool hungUp(QTcpSocket &socket)
    {
        return waitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }
    // Waits for exactly the expected bytes from the server.
    bool receives(QTcpSocket &socket, const QByteArray &expected)
    {
        QByteArray got;
        waitFor([&] {
            got += socket.readAll();
            return got.size() >= expected.size();
        });
        EXPECT_EQ(got, expected);
        return got == expected;
    }
};

TEST_F(HostileClients, ClientsThatBreakTheProtocolAreHungUpOn)
{
    auto alice = signOn("alice");
    struct Case
    {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"garbage instead of the preamble", QByteArray("GET / HTTP/1.0\r\n\r\n")},
        {"a preamble with a wrong byte", QByteArray("FLAPON\r\n")},
        {"a wrong start marker", Preamble + header('#', Flap::SignOn, 10)},
        {"an unknown frame type", Preamble + header('*', 9, 0)},
        {"a data frame before sign-on", Preamble + Flap::buildFrame(Flap::Data, 0, "toc_init_done\0")},
        {"a sign-on frame lying about its length", Preamble + header('*', Flap::SignOn, 65535)},
        {"a sign-on frame with a bad name length",
         Preamble
             + Flap::buildFrame(Flap::SignOn, 0,
                                QByteArray("\0\0\0\1\0\1\0\x09"
                                           "eve",
                                           11))},
        {"a data frame longer than any command", Preamble + clientSignOnFrame("eve") + header('*', Flap::Data, 3000)},
        {"a command before the login line",
         Preamble + clientSignOnFrame("eve") + Flap::buildFrame(Flap::Data, 1, QByteArray("toc_init_done\0", 14))},
    };
    for (const Case &c : cases) {
        auto socket = connectRaw();
        socket->write(c.bytes);
        EXPECT_TRUE(hungUp(*socket)) << c.what;
    }
    EXPECT_TRUE(alice->roundTrip());
    EXPECT_TRUE(alice->dropped.isEmpty());
    ASSERT_TRUE(waitFor([&] { return server.connectionCount() == 1; }));
}

TEST_F(HostileClients, KeepAlivesAreAnsweredAndHalfFramesForgotten)
{
    auto alice = signOn("alice");

    auto socket = connectRaw();
    socket->write(Preamble);
    ASSERT_TRUE(receives(*socket, ServerSignOnFrame));
    socket->write(Flap::buildFrame(Flap::KeepAlive, 0, {}));
    ASSERT_TRUE(receives(*socket, Flap::buildFrame(Flap::KeepAlive, 1, {})));

    // A frame cut off by a disconnect leaves nothing behind.
    socket->write(clientSignOnFrame("eve").first(9));
    socket->flush();
    socket->abort();
    auto half = connectRaw();
    half->write(Preamble + header('*', Flap::Data, 2000) + "toc_send_im alice");
    half->flush();
    half->abort();

    ASSERT_TRUE(waitFor([&] { return server.connectionCount() == 1; }));
    EXPECT_TRUE(alice->roundTrip());
    EXPECT_EQ(alice->ims.size(), 1);
}

TEST_F(HostileClients, AHundredConnectionsAtOnce)
{
    auto alice = signOn("alice");
    std::vector<std::unique_ptr<QTcpSocket>> crowd;
    for (int i = 0; i < 100; ++i) {
        crowd.push_back(std::make_unique<QTcpSocket>());
        crowd.back()->connectToHost(QHostAddress::LocalHost, server.serverPort());
    }
    for (auto &socket : crowd)
        socket->write(Preamble);
    for (auto &socket : crowd)
        ASSERT_TRUE(receives(*socket, ServerSignOnFrame));
    EXPECT_EQ(server.connectionCount(), 101);
    EXPECT_TRUE(alice->roundTrip());

    // Half of them sign on for real, the rest vanish without a word.
    for (int i = 0; i < 100; ++i) {
        const QByteArray name = "crowd" + QByteArray::number(i);
        if (i % 2 == 0)
            crowd[i]->write(clientSignOnFrame(name)
                            + Flap::buildFrame(Flap::Data, 1, "toc2_login h 5190 " + name + " 0x00 x\0"));
        else
            crowd[i]->abort();
    }
    ASSERT_TRUE(waitFor([&] { return server.connectionCount() == 51; }));
    for (auto &socket : crowd)
        socket->abort();
    ASSERT_TRUE(waitFor([&] { return server.connectionCount() == 1; }));
    EXPECT_TRUE(alice->roundTrip());
    EXPECT_TRUE(alice->dropped.isEmpty());
}
