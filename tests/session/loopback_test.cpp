// The session over a real TCP connection to the scripted loopback server.

#include "loopbacktocserver.h"
#include "printers.h"
#include "session/quortocsock.h"
#include "session/tocsocket.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(Loopback, SignsOnExchangesMessagesAndReportsTheServerClosing)
{
    LoopbackTocServer server;
    ASSERT_NE(server.port(), 0);
    QuorTOCSock toc;
    QSignalSpy loggedIn(&toc, &QuorTOCSock::LoggedIn);
    QSignalSpy instantMessage(&toc, &QuorTOCSock::InstantMessage);
    QSignalSpy winsockError(&toc, &QuorTOCSock::WinsockError);
    QSignalSpy loggedOut(&toc, &QuorTOCSock::LoggedOut);

    toc.Login("Test User", "pw", "127.0.0.1", server.port());
    ASSERT_TRUE(server.waitForClient());
    ASSERT_TRUE(loggedIn.wait(5000));
    EXPECT_TRUE(server.sawPreamble());
    EXPECT_EQ(loggedIn.at(0).at(0).toByteArray(), "testuser");
    EXPECT_EQ(loggedIn.at(0).at(1).value<QList<QByteArray>>(), QList<QByteArray>({"[group]Buddies", "friend"}));
    EXPECT_EQ(loggedIn.at(0).at(6).value<qint16>(), 1);
    ASSERT_TRUE(server.waitForCommand("toc_init_done"));
    ASSERT_GE(server.receivedFrames().size(), 3);
    EXPECT_EQ(server.receivedFrames().first(), QByteArray("*\x01\0\0\0\x10\0\0\0\1\0\1\0\x08testuser", 22));
    const QByteArray loginStart
        = "toc2_login login.oscar.aol.com " + QByteArray::number(server.port()) + " testuser 0x24";
    EXPECT_TRUE(server.receivedCommands().first().startsWith(loginStart)) << server.receivedCommands().first().data();
    EXPECT_TRUE(toc.isConnected());

    toc.SendIM("Friend", "hello (there) \xc3\xa9", false);
    ASSERT_TRUE(server.waitForCommand("toc_send_im"));
    EXPECT_EQ(server.receivedCommands().last(), "toc_send_im \"friend\" \"hello \\(there\\) \xc3\xa9\"");

    server.sendData("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:hi back: at 10:30");
    ASSERT_TRUE(instantMessage.wait(5000));
    EXPECT_EQ(instantMessage.at(0).at(0).toByteArray(), "Friend");
    EXPECT_EQ(instantMessage.at(0).at(1).toByteArray(), "hi back: at 10:30");

    server.closeClient();
    ASSERT_TRUE(winsockError.wait(5000));
    EXPECT_EQ(winsockError.at(0).at(0).toByteArray(), "The server closed the connection");
    EXPECT_FALSE(toc.isConnected());
    EXPECT_EQ(loggedOut.count(), 0);
}

TEST(Loopback, RefusedConnectionIsAWinsockError)
{
    quint16 freePort = 0;
    {
        LoopbackTocServer probe; // a port that was free a moment ago
        freePort = probe.port();
    }
    QuorTOCSock toc;
    QSignalSpy winsockError(&toc, &QuorTOCSock::WinsockError);
    toc.Login("me", "pw", "127.0.0.1", freePort);
    ASSERT_TRUE(winsockError.wait(5000));
    EXPECT_EQ(winsockError.at(0).at(0).toByteArray(),
              "Nothing listens on 127.0.0.1:" + QByteArray::number(freePort) + ".");
}

TEST(Loopback, AFailureToConnectNamesTheServerItWasFor)
{
    struct Case
    {
        QAbstractSocket::SocketError error;
        bool wasConnected;
        const char *host;
        const char *text;
    };
    const Case cases[] = {
        {QAbstractSocket::ConnectionRefusedError, false, "toc.test", "Nothing listens on toc.test:5190."},
        {QAbstractSocket::SocketTimeoutError, false, "toc.test", "No answer from toc.test:5190."},
        {QAbstractSocket::NetworkError, false, "::1", "Could not reach [::1]:5190."},
        // A connection cut before it was made never reached the server.
        {QAbstractSocket::RemoteHostClosedError, false, "toc.test", "Could not reach toc.test:5190."},
        {QAbstractSocket::HostNotFoundError, false, "toc.test", "The server name toc.test could not be found."},
        {QAbstractSocket::RemoteHostClosedError, true, "toc.test", "The server closed the connection"},
        {QAbstractSocket::NetworkError, true, "toc.test", "The network connection was lost"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TcpTocSocket::describeFailure(c.error, c.wasConnected, QString::fromLatin1(c.host), 5190),
                  QString::fromLatin1(c.text));
}

} // namespace
