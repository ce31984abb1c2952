// The rules of a session's life without any window: when the wait for the
// server ends, and whether a dropped connection is news.

#include "fakesocket.h"
#include "main/signonflow.h"
#include "session/quortocsock.h"
#include "session/tocprotocol.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SignOnFlow, AnAnswerThatEndsTheSessionMakesTheCloseAfterItNoNews)
{
    QuorTOCSock btoc(new FakeSocket);
    SignOnFlow flow(btoc);
    using namespace TocProtocol;

    // A refused sign-on: the server's reason is the news, its hang-up is not.
    for (const qint16 refusal : {BadPassword, RateLimited, SignOnRefused}) {
        flow.begin();
        EXPECT_TRUE(flow.isWaiting());
        EXPECT_FALSE(flow.errorArrived(refusal)) << refusal;
        EXPECT_FALSE(flow.isWaiting());
        EXPECT_FALSE(flow.connectionLostIsNews()) << refusal;
    }
    // Other errors leave the sign-on waiting for its end.
    flow.begin();
    EXPECT_FALSE(flow.errorArrived(NotAvailable));
    EXPECT_TRUE(flow.isWaiting());

    // Signed on, a wrong old password (980 too) ends nothing.
    flow.signedOn();
    EXPECT_FALSE(flow.errorArrived(BadPassword));
    EXPECT_TRUE(flow.isSignedOn());
    EXPECT_TRUE(flow.connectionLostIsNews());

    // Signed off by the server: the session ends, and so does the news.
    flow.begin();
    flow.signedOn();
    EXPECT_TRUE(flow.errorArrived(SignedOffElsewhere));
    EXPECT_FALSE(flow.isSignedOn());
    EXPECT_FALSE(flow.connectionLostIsNews());
}

TEST(SignOnFlow, ASignOnTheServerNeverCompletesIsGivenUp)
{
    auto *socket = new FakeSocket;
    QuorTOCSock btoc(socket);
    SignOnFlow flow(btoc);
    bool givingUpWhenSignedOff = false;
    QObject::connect(&btoc, &QuorTOCSock::LoggedOut, [&] { givingUpWhenSignedOff = flow.isGivingUp(); });
    QSignalSpy gaveUp(&flow, &SignOnFlow::gaveUp);
    flow.setTimeout(10);
    btoc.Login("me", "pw", "toc.test", 5190);
    socket->acceptConnection();
    flow.begin();
    ASSERT_TRUE(gaveUp.wait(2000));
    EXPECT_TRUE(givingUpWhenSignedOff) << "that sign-off is not one the user asked for";
    EXPECT_FALSE(flow.isGivingUp());
    EXPECT_FALSE(btoc.isConnected());

    // A completed sign-on is never given up.
    gaveUp.clear();
    flow.begin();
    flow.signedOn();
    QTest::qWait(40);
    EXPECT_TRUE(gaveUp.isEmpty());
}

} // namespace
