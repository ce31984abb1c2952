// A session's life without any window: its states, and the one end it
// reports whatever way it ends.

#include "fakesocket.h"
#include "printers.h"
#include "serverframes.h"
#include "session/quortocsock.h"
#include "session/signonflow.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Reason = SignOnFlow::Reason;
using State = SignOnFlow::State;
using ServerFrames::serverFrame;

struct FlowTest : ::testing::Test
{
    FakeSocket *socket = new FakeSocket;
    QuorTOCSock btoc{socket};
    SignOnFlow flow{btoc};
    QSignalSpy ended{&flow, &SignOnFlow::ended};
    QSignalSpy states{&flow, &SignOnFlow::stateChanged};

    // Signing on again at once is the rule here; the wait for the server to
    // let go of a session has a test of its own.
    FlowTest() { flow.setReSignOnGap(0); }

    void signOn()
    {
        flow.signOn("Me", "pw", "toc.test", 5190);
        socket->acceptConnection();
    }
    void serverSays(const QByteArray &line) { socket->deliver(serverFrame(line)); }
    Reason endReason(qsizetype i) const { return ended[i][0].value<Reason>(); }
    QByteArray endDetail(qsizetype i) const { return ended[i][1].toByteArray(); }
};

TEST_F(FlowTest, EachEndIsReportedOnceWithWhyAndTheHangUpAfterAnAnswerIsNoNews)
{
    // A refused sign-on: the server's reason is the end, its hang-up is not.
    for (const QByteArray code : {"980", "983", "989:7"}) {
        SCOPED_TRACE(code.data());
        signOn();
        EXPECT_EQ(flow.state(), State::Connecting);
        serverSays("ERROR:" + code);
        socket->fail(QStringLiteral("closed"));
        ASSERT_EQ(ended.size(), 1);
        EXPECT_EQ(endReason(0), Reason::Refused);
        EXPECT_FALSE(endDetail(0).isEmpty());
        EXPECT_EQ(flow.state(), State::Offline);
        ended.clear();
    }

    // Signed on, a wrong old password (980 too) ends nothing; other errors neither.
    signOn();
    serverSays("SIGN_ON:TOC2.0");
    serverSays("CONFIG2:done:\n");
    EXPECT_EQ(flow.state(), State::SignedOn);
    serverSays("ERROR:980");
    serverSays("ERROR:901:bob");
    EXPECT_EQ(flow.state(), State::SignedOn);
    EXPECT_TRUE(ended.isEmpty());

    // Signed off by the server, then its hang-up: one end.
    serverSays("ERROR:904");
    socket->fail(QStringLiteral("closed"));
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(endReason(0), Reason::SignedOnElsewhere);

    // The next session's own loss is news again, in the socket's words.
    signOn();
    socket->fail(QStringLiteral("The server closed the connection"));
    ASSERT_EQ(ended.size(), 2);
    EXPECT_EQ(endReason(1), Reason::ConnectionLost);
    EXPECT_EQ(endDetail(1), "The server closed the connection");

    // Signing off names whom.
    signOn();
    flow.signOff();
    ASSERT_EQ(ended.size(), 3);
    EXPECT_EQ(endReason(2), Reason::SignedOff);
    EXPECT_EQ(endDetail(2), "me");
    EXPECT_EQ(states.last()[0].value<State>(), State::Offline);
}

TEST_F(FlowTest, ASignOnTheServerNeverCompletesIsGivenUpButACompletedOneNever)
{
    flow.setTimeout(10);
    signOn();
    ASSERT_TRUE(ended.wait(2000));
    EXPECT_EQ(endReason(0), Reason::GaveUp) << "that sign-off is not one the user asked for";
    EXPECT_FALSE(btoc.isConnected());
    EXPECT_EQ(flow.state(), State::Offline);

    signOn();
    serverSays("CONFIG2:done:\n");
    QTest::qWait(40);
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(flow.state(), State::SignedOn);
}

TEST_F(FlowTest, ASignOnThatKeepsMovingIsNeverGivenUpHoweverLongItTakes)
{
    flow.setTimeout(1000);
    signOn();
    // The stored list arrives a byte every 50 ms: twice the time-out in all.
    const QByteArray config = serverFrame("CONFIG2:m 1\ng Buddies\nb Friend\ndone:\n");
    qsizetype at = 0;
    QTimer trickle;
    QObject::connect(&trickle, &QTimer::timeout, [&] { socket->deliver(config.mid(at++, 1)); });
    trickle.start(50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return flow.state() != State::Connecting; }, 20000));
    EXPECT_EQ(flow.state(), State::SignedOn);
    EXPECT_TRUE(ended.isEmpty());
}

TEST_F(FlowTest, AServerGoneSilentIsAskedThenGivenUpAndWhatWentSinceItsLastWordIsNamed)
{
    QSignalSpy buddies(&btoc, &QuorTOCSock::BuddyUpdate);
    QSignalSpy settled(&btoc, &QuorTOCSock::SendSettled);
    btoc.setSilenceTimes(50, 300);
    signOn();
    serverSays("CONFIG2:done:\n");
    // Quiet: the server is asked about the user; its answer is nobody's news.
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket->written.contains(R"(toc_get_status "me")"); }, 5000));
    serverSays("UPDATE_BUDDY2:Me:T:0:0:0: O");
    serverSays("UPDATE_BUDDY2:Friend:T:0:0:0: O");
    ASSERT_EQ(buddies.size(), 1);
    EXPECT_EQ(buddies[0][0].toByteArray(), "Friend");

    QuorTOCSock::Ticket heard = 0, unheard = 0;
    btoc.trySendIM("friend", "before its last word", false, &heard);
    serverSays("UPDATE_BUDDY2:Friend:T:0:0:0: OU");
    btoc.trySendIM("friend", "after it", false, &unheard);
    EXPECT_EQ(btoc.heardThrough(), heard);
    // Nothing answers any more: the connection is lost, once.
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_FALSE(ended.wait(400));
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(endReason(0), Reason::ConnectionLost);
    EXPECT_EQ(endDetail(0), "The server stopped answering");
    EXPECT_FALSE(btoc.isConnected());
    QList<QuorTOCSock::Ticket> unconfirmed;
    for (const QList<QVariant> &outcome : settled) {
        if (outcome[1].value<QuorTOCSock::SendOutcome>() == QuorTOCSock::SendOutcome::Unconfirmed)
            unconfirmed << outcome[0].value<QuorTOCSock::Ticket>();
    }
    EXPECT_TRUE(unconfirmed.contains(unheard));
    EXPECT_FALSE(unconfirmed.contains(heard));
}

TEST_F(FlowTest, ASignOnSoonAfterTheSameNamesSessionEndedWaitsTheServerOut)
{
    flow.setReSignOnGap(300);
    // A sign-on refused before it completed leaves nothing at the server to wait for.
    signOn();
    serverSays("ERROR:980");
    flow.signOn("me", "pw", "toc.test", 5190);
    EXPECT_EQ(socket->connectCalls, 2);

    socket->acceptConnection();
    serverSays("CONFIG2:done:\n");
    flow.signOff();
    // Another name goes at once; the same one, spelled another way, waits.
    flow.signOn("Someone Else", "pw", "toc.test", 5190);
    EXPECT_EQ(socket->connectCalls, 3);
    flow.signOn("M e", "pw", "toc.test", 5190);
    EXPECT_EQ(socket->connectCalls, 3);
    EXPECT_EQ(flow.state(), State::Connecting);
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket->connectCalls == 4; }, 2000));
    EXPECT_EQ(socket->lastHost, "toc.test");
}

TEST_F(FlowTest, ALostSessionSignsOnAgainWithLongerWaitsUntilItIsBackOrRefused)
{
    QSignalSpy scheduled(&flow, &SignOnFlow::retryScheduled);
    flow.setSignOnAgain(true);
    flow.setRetryWaits(20, 70);
    // Never signed on: a failed first sign-on is the user's to retry.
    signOn();
    socket->fail(QStringLiteral("refused"));
    EXPECT_EQ(flow.state(), State::Offline);
    EXPECT_TRUE(scheduled.isEmpty());

    signOn();
    serverSays("CONFIG2:done:\n");
    socket->fail(QStringLiteral("The server closed the connection"));
    EXPECT_EQ(flow.state(), State::Waiting);
    EXPECT_EQ(endReason(ended.size() - 1), Reason::ConnectionLost);
    ASSERT_EQ(scheduled.size(), 1);
    // Each failed attempt waits about twice as long, never more than the cap.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int connects = socket->connectCalls;
        ASSERT_TRUE(QTest::qWaitFor([&] { return socket->connectCalls == connects + 1; }, 2000));
        EXPECT_EQ(flow.state(), State::Connecting);
        socket->fail(QStringLiteral("Nothing listens"));
        EXPECT_EQ(flow.state(), State::Waiting);
    }
    QList<int> waits;
    for (const QList<QVariant> &wait : scheduled)
        waits << wait[0].toInt();
    EXPECT_TRUE(waits[0] <= 24 && waits[1] >= 32 && waits[1] <= 48 && waits[3] <= 84)
        << ::testing::PrintToString(waits);

    // Back: the next drop starts from the first wait again.
    const int connects = socket->connectCalls;
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket->connectCalls == connects + 1; }, 2000));
    socket->acceptConnection();
    serverSays("CONFIG2:done:\n");
    EXPECT_EQ(flow.state(), State::SignedOn);
    socket->fail(QStringLiteral("dropped"));
    EXPECT_LE(scheduled.last()[0].toInt(), 24);

    // A refusal ends it; so does the user.
    flow.retryNow();
    socket->acceptConnection();
    serverSays("ERROR:980");
    EXPECT_EQ(flow.state(), State::Ending);
    const qsizetype scheduledBefore = scheduled.size();
    socket->fail(QStringLiteral("closed"));
    EXPECT_EQ(scheduled.size(), scheduledBefore);
    EXPECT_EQ(flow.state(), State::Offline);
}

} // namespace
