// The pacer against a model of the server's rate limits, written out here
// as the server computes them, on a clock the test moves.

#include "fakesocket.h"
#include "printers.h"
#include "serverframes.h"
#include "session/quortocsock.h"
#include "session/sendpacer.h"
#include "wirelines.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using TocRates::DefaultClasses;

// The server's side: one class's moving average, updated at every arrival.
struct ServerClass
{
    TocRates::ClassParameters p;
    qint64 level = p.maxLevel;
    qint64 last = 0;
    qint64 lowest = p.maxLevel;
    void arrive(qint64 now)
    {
        level = std::min<qint64>((level * (p.windowSize - 1) + (now - last)) / p.windowSize, p.maxLevel);
        last = now;
        lowest = std::min(lowest, level);
    }
};

struct PacerTest : ::testing::Test
{
    qint64 now = 0;
    QList<std::pair<qint64, QByteArray>> written;
    SendPacer pacer{[this](const QByteArray &line) { written.append({now, line}); }};
    QSignalSpy settled{&pacer, &SendPacer::settled};

    PacerTest()
    {
        pacer.setClock([this] { return now; });
        pacer.start();
    }
    // Moves the clock in steps, letting due commands out, until nothing waits.
    void runUntilIdle(qint64 stepMs = 10)
    {
        while (pacer.waiting() > 0 && now < 3'600'000) {
            now += stepMs;
            pacer.sendDue();
        }
    }
};

TEST_F(PacerTest, AFastBurstOfMessagesStaysAboveTheServersLimitInOrderAndNearItsPace)
{
    for (int i = 0; i < 20; ++i)
        pacer.submit("toc_send_im \"bob\" \"" + QByteArray::number(i) + '"');
    EXPECT_EQ(written.size(), 7) << "the server lets about seven through at once";
    runUntilIdle();
    ASSERT_EQ(written.size(), 20);
    ServerClass im{DefaultClasses[2]};
    for (int i = 0; i < written.size(); ++i) {
        EXPECT_TRUE(written[i].second.endsWith('"' + QByteArray::number(i) + '"')) << i;
        im.arrive(written[i].first);
    }
    EXPECT_GE(im.lowest, DefaultClasses[2].limitLevel);

    // The least time the class allows: seven at once, the eighth 447 ms
    // later, then one every 4 s or so.
    const qint64 least = TocRates::fastestBurst(DefaultClasses[2], 20);
    EXPECT_EQ(least, 48447);
    EXPECT_LE(written.last().first, least * 11 / 10) << "within 1.1x of the least time: " << least << " ms";
    EXPECT_EQ(settled.size(), 13);
}

TEST_F(PacerTest, TypingNewsIsDroppedRatherThanHeldAndRoomsAndClassesKeepTheirOwnPace)
{
    const QByteArray typing = "toc2_client_event \"bob\" 2";
    // Class 1 has plenty of room: typing news goes.
    EXPECT_EQ(pacer.submit(typing), SendPacer::Verdict::SentNow);
    // Drain class 1 close to its clear level with profile changes...
    while (pacer.submit("toc_set_info \"x\"") == SendPacer::Verdict::SentNow)
        ;
    // ...now typing news is dropped, never queued, while the profile waits.
    EXPECT_EQ(pacer.submit(typing), SendPacer::Verdict::Dropped);
    EXPECT_EQ(pacer.waiting(), 1);
    // A room has its own class 2 budget, an IM its class 3 one.
    EXPECT_EQ(pacer.submit("toc_chat_send \"7\" \"hi\""), SendPacer::Verdict::SentNow);
    EXPECT_EQ(pacer.submit("toc_send_im \"bob\" \"hi\""), SendPacer::Verdict::SentNow);

    EXPECT_EQ(TocRates::costOf("toc_chat_join \"4\" \"room\"").times, 3);
    EXPECT_EQ(TocRates::costOf("toc_chat_invite \"7\" \"come\" \"amy\" \"bob\"").times, 2);
    EXPECT_EQ(TocRates::costOf("toc_chat_send \"12\" \"x\"").chatId, 12);
    EXPECT_EQ(TocRates::costOf("toc_chat_leave \"12\"").rateClass, 0);

    // The session ends: what waited never goes, and says so.
    pacer.stop();
    ASSERT_EQ(settled.size(), 1);
    EXPECT_FALSE(settled[0][1].toBool());
}

TEST_F(PacerTest, AnAccountExemptFromTheSessionsLimitsIsStillPacedInItsRoomsUnlessNothingIsLimited)
{
    pacer.setLimits(SendPacer::Limits::RoomsOnly);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(pacer.submit("toc_send_im \"bob\" \"hi\""), SendPacer::Verdict::SentNow);
    // Room 0 (Open OSCAR Server's first room) has limits of its own, not the session's.
    while (pacer.submit("toc_chat_send \"0\" \"hi\"") == SendPacer::Verdict::SentNow)
        ;
    EXPECT_EQ(pacer.waiting(), 1);
    EXPECT_EQ(pacer.submit("toc_add_buddy \"bob\""), SendPacer::Verdict::SentNow);

    pacer.setLimits(SendPacer::Limits::None);
    EXPECT_EQ(pacer.submit("toc_chat_send \"1\" \"hi\""), SendPacer::Verdict::SentNow);
}

TEST(SessionPacing, WaitingIsTheAnswerAndASpeedLimitDropIsPinnedOnTheLastCommandSent)
{
    auto *socket = new FakeSocket;
    QuorTOCSock toc(socket);
    QSignalSpy settled(&toc, &QuorTOCSock::SendSettled);
    toc.Login("me", "pw", "h", 5190);
    socket->acceptConnection();
    socket->deliver(ServerFrames::serverFrame("CONFIG2:done:\n"));
    socket->takeWritten();

    QuorTOCSock::Ticket last = 0;
    QuorTOCSock::SendCheck verdict = QuorTOCSock::SendCheck::Sendable;
    for (int i = 0; i < 8 && verdict == QuorTOCSock::SendCheck::Sendable; ++i)
        verdict = toc.trySendIM("bob", "hi", false, &last);
    EXPECT_EQ(verdict, QuorTOCSock::SendCheck::Waiting);
    EXPECT_EQ(commandLines(socket->takeWritten()).size(), 7);

    socket->deliver(ServerFrames::serverFrame("ERROR:903"));
    ASSERT_EQ(settled.size(), 1);
    EXPECT_EQ(settled[0][0].value<QuorTOCSock::Ticket>(), last - 1);
    EXPECT_EQ(settled[0][1].value<QuorTOCSock::SendOutcome>(), QuorTOCSock::SendOutcome::Refused);

    toc.LogOff();
    ASSERT_EQ(settled.size(), 2);
    EXPECT_EQ(settled[1][0].value<QuorTOCSock::Ticket>(), last);
    EXPECT_EQ(settled[1][1].value<QuorTOCSock::SendOutcome>(), QuorTOCSock::SendOutcome::NotSent);
}

} // namespace
