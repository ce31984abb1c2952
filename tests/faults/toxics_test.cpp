// Bad networks between Qiv and each server, made by Toxiproxy: a slow line,
// a thin one, one that hands over a byte at a time, one cut in the middle of
// a frame, one that goes silent without closing, and one slow to close. In
// each the user gets what they would expect: Qiv stays usable, whatever
// arrives is shown whole, a drop is reported once (or, with "Stay signed on",
// ends signed on again in the same rooms), and a line typed into a failing
// connection is delivered or marked in its window, never silently lost.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "main/buddyroster.h"
#include "processfigures.h"
#include "serverfixture.h"
#include "session/signonflow.h"
#include "session/toccommands.h"
#include "testclient.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

constexpr int LongWaitMs = 30000;

class ToxicsTest : public ServerFixture
{
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        if (!ready())
            return;
        if (const QString why = proxy.unavailableReason(); !why.isEmpty())
            return unavailable(why);
        const QString failure = proxy.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        proxyPort = proxy.addProxy(QStringLiteral("toc"), peer->tocPort());
        ASSERT_NE(proxyPort, 0);
    }

    // A toxic on both streams of the line between Qiv and the server.
    void poison(const QString &type, const QJsonObject &attributes)
    {
        for (const QString stream : {QStringLiteral("upstream"), QStringLiteral("downstream")})
            ASSERT_TRUE(proxy.addToxic(QStringLiteral("toc"), type + stream, type, stream, attributes))
                << type.toStdString();
    }
    void cure(const QString &type)
    {
        for (const QString stream : {QStringLiteral("upstream"), QStringLiteral("downstream")})
            proxy.removeToxic(QStringLiteral("toc"), type + stream);
    }

    // Signed on through the proxy (alice, staying signed on when given a
    // first wait) and straight to the server (bob).
    void twoPeople(int aliceRetryWaitMs = 0)
    {
        account(QStringLiteral("alice"), true);
        account(QStringLiteral("bob"), true);
        alice = signedOn(QStringLiteral("alice"), proxyPort, aliceRetryWaitMs);
        bob = signedOn(QStringLiteral("bob"));
        ASSERT_TRUE(alice->isSignedOn() && bob->isSignedOn());
        // Open OSCAR Server drops without a word a message to somebody whose
        // sign-on it has not finished taking in (after toc_init_done).
        QTest::qWait(500);
        // The local server makes every new account a buddy of the next; a
        // line typed before the news of alice arrives would be held for her.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !bob->main.buddyRoster().isKnownOffline("alice"); }, WaitMs));
        for (DesktopUser *user : {alice.get(), bob.get()})
            user->main.btoc->setRateLimits(peer->limitsOfExempt());
    }

    // The lines of the conversation someone has with name, once it has at
    // least count of them.
    static QStringList awaitLines(DesktopUser &user, const QString &name, int count, int timeoutMs = LongWaitMs)
    {
        QStringList lines;
        (void)QTest::qWaitFor(
            [&] {
                frmAimIM *window = user.conversationWith(name);
                lines = window ? linesOf(window->txtIM) : QStringList();
                return lines.size() >= count;
            },
            timeoutMs);
        return lines;
    }

    // Whether the conversation someone has with name shows line within timeoutMs.
    static bool awaitLine(DesktopUser &user, const QString &name, const QString &line, int timeoutMs = LongWaitMs)
    {
        return QTest::qWaitFor(
            [&] {
                frmAimIM *window = user.conversationWith(name);
                return window && linesOf(window->txtIM).contains(line);
            },
            timeoutMs);
    }

    static bool awaitSignedOff(DesktopUser &user, int timeoutMs = LongWaitMs)
    {
        return QTest::qWaitFor([&] { return user.main.signOnFlow().state() != SignOnFlow::State::SignedOn; },
                               timeoutMs);
    }

    ToxiproxyPeer proxy;
    quint16 proxyPort = 0;
    std::unique_ptr<DesktopUser> alice;
    std::unique_ptr<DesktopUser> bob;
};

TEST_P(ToxicsTest, TwoSecondsEachWayKeepTheWindowsAliveAndTheLinesInOrder)
{
    if (!ready())
        return;
    twoPeople();
    poison(QStringLiteral("latency"), {{QStringLiteral("latency"), 2000}});

    // The event loop is watched while the lines crawl: a window that waited
    // on the network would stop it for the two seconds or more.
    qint64 longestStall = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestStall = qMax(longestStall, sinceTick.restart()); });
    ticker.start(20);

    frmAimIM *window = alice->openConversation(QStringLiteral("bob"));
    ASSERT_NE(window, nullptr);
    const QStringList typed{QStringLiteral("one"), QStringLiteral("two <&> \"three\""), QStringLiteral("four")};
    for (const QString &line : typed)
        DesktopUser::say(window, line);
    const QStringList read = awaitLines(*bob, QStringLiteral("alice"), 3);
    ticker.stop();
    ASSERT_EQ(read.size(), 3) << read.join(QLatin1Char('|')).toStdString();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(read[i].endsWith(QStringLiteral(": ") + typed[i])) << read[i].toStdString();
    EXPECT_LT(longestStall, 1000) << "the windows stood still for " << longestStall << " ms";
    EXPECT_EQ(noticesShown(*alice), QStringList());
}

TEST_P(ToxicsTest, AStreamHandedOverAByteAtATimeIsReadWhole)
{
    if (!ready())
        return;
    const QJsonObject oneByte{
        {QStringLiteral("average_size"), 1}, {QStringLiteral("size_variation"), 0}, {QStringLiteral("delay"), 0}};
    poison(QStringLiteral("slicer"), oneByte);
    twoPeople(); // the sign-on itself goes a byte at a time

    const QString typed = QStringLiteral("Grüße, ✓ & <b>not bold</b> ") + QString(300, QLatin1Char('z'));
    DesktopUser::say(bob->openConversation(QStringLiteral("alice")), typed);
    const QStringList read = awaitLines(*alice, QStringLiteral("bob"), 1);
    ASSERT_EQ(read.size(), 1);
    EXPECT_TRUE(read[0].endsWith(QStringLiteral(": ") + typed)) << read[0].toStdString();

    DesktopUser::say(alice->conversationWith(QStringLiteral("bob")), QStringLiteral("back to you, ✓"));
    const QStringList answer = awaitLines(*bob, QStringLiteral("alice"), 2);
    ASSERT_EQ(answer.size(), 2);
    EXPECT_TRUE(answer[1].endsWith(QStringLiteral(": back to you, ✓"))) << answer[1].toStdString();
}

TEST_P(ToxicsTest, AThousandBuddiesSignOnAtAKilobyteASecond)
{
    if (!ready())
        return;
    account(QStringLiteral("alice"), true);
    // qiv-localserver keeps 500 buddies filed in groups an account.
    const int buddies = GetParam() == "local" ? 500 : 1000;
    QList<QByteArray> pals;
    for (int i = 0; i < buddies; ++i)
        pals << "pal" + QByteArray::number(1000 + i);
    {
        TestClient storing;
        storing.sock.setRateLimits(peer->limitsOfExempt());
        storing.sock.Login("alice", Password.toUtf8(), "127.0.0.1", peer->tocPort());
        ASSERT_TRUE(QTest::qWaitFor([&] { return storing.loggedIn.size() == 1; }, WaitMs));
        for (const QByteArray &line : TocCommand::newBuddies("Pals", pals))
            storing.sock.SendPacket(2, line);
        const qsizetype before = storing.profiles.size();
        storing.sock.GetProfile("nobody"); // answered after every line before it is stored
        ASSERT_TRUE(QTest::qWaitFor([&] { return storing.profiles.size() > before; }, LongWaitMs));
        storing.sock.LogOff();
    }
    QTest::qWait(SignOnFlow::ReSignOnGapMs + 500);

    // The stored list alone takes several seconds at this speed; a sign-on
    // that is given up after two silent seconds still completes.
    ASSERT_TRUE(proxy.addToxic(QStringLiteral("toc"), QStringLiteral("thin"), QStringLiteral("bandwidth"),
                               QStringLiteral("downstream"), {{QStringLiteral("rate"), 1}}));
    DesktopUser user(proxyPort);
    user.main.setSignOnTimeout(2000);
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(user.signOn(QStringLiteral("alice"), Password, 120000)) << user.main.lbStat->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return user.main.buddyRoster().groups().buddiesIn("Pals").size() == buddies; },
                                LongWaitMs));
    EXPECT_GT(took.elapsed(), 4000) << "the line was not thin enough to test the time-out";
    EXPECT_EQ(noticesShown(user), QStringList());
}

TEST_P(ToxicsTest, ACutInTheMiddleOfAFrameIsReportedOnceOrHealedByStayingSignedOn)
{
    if (!ready())
        return;
    twoPeople();
    frmAimIM *toBob = alice->openConversation(QStringLiteral("bob"));
    ASSERT_NE(toBob, nullptr);
    DesktopUser::say(toBob, QStringLiteral("before the cut"));
    ASSERT_EQ(awaitLines(*bob, QStringLiteral("alice"), 1).size(), 1);

    // The line to alice closes forty bytes into a long message's frame.
    ASSERT_TRUE(proxy.addToxic(QStringLiteral("toc"), QStringLiteral("cut"), QStringLiteral("limit_data"),
                               QStringLiteral("downstream"), {{QStringLiteral("bytes"), 40}}));
    DesktopUser::say(bob->conversationWith(QStringLiteral("alice")), QString(500, QLatin1Char('x')));
    ASSERT_TRUE(awaitSignedOff(*alice));
    ASSERT_TRUE(proxy.removeToxic(QStringLiteral("toc"), QStringLiteral("cut")));
    QTest::qWait(500);
    EXPECT_EQ(noticesShown(*alice).size(), 1) << noticesShown(*alice).join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(linesOf(toBob->txtIM).filter(QStringLiteral("xxx")), QStringList()) << "half a message shown";

    // Staying signed on, the next cut heals itself: back in the same room,
    // no box, and the conversation goes on.
    alice->dialogs.shown.clear();
    alice->main.chkSignOnAgain->setChecked(true);
    alice->main.signOnFlow().setRetryWaits(500, 2000);
    ASSERT_TRUE(alice->signOn(QStringLiteral("alice"), Password));
    ASSERT_NE(alice->joinRoom(QStringLiteral("Cut Room")), nullptr);
    const QList<ChatSlots::Room> rooms = alice->main.chatSlots().roomsInUse();
    ASSERT_TRUE(proxy.addToxic(QStringLiteral("toc"), QStringLiteral("cut"), QStringLiteral("limit_data"),
                               QStringLiteral("downstream"), {{QStringLiteral("bytes"), 40}}));
    DesktopUser::say(bob->conversationWith(QStringLiteral("alice")), QString(500, QLatin1Char('y')));
    ASSERT_TRUE(awaitSignedOff(*alice));
    ASSERT_TRUE(proxy.removeToxic(QStringLiteral("toc"), QStringLiteral("cut")));
    ASSERT_TRUE(backIn(*alice, rooms, LongWaitMs)) << alice->main.lbStat->text().toStdString();
    EXPECT_EQ(noticesShown(*alice), QStringList());
    DesktopUser::say(alice->conversationWith(QStringLiteral("bob")), QStringLiteral("after the cut"));
    EXPECT_TRUE(awaitLine(*bob, QStringLiteral("alice"), QStringLiteral("alice: after the cut")));
}

TEST_P(ToxicsTest, ALineThatGoesSilentIsNoticedAndWhatWasTypedIntoItIsMarked)
{
    if (!ready())
        return;
    twoPeople(2000); // the line is mended before the first try to sign on again
    alice->main.btoc->setSilenceTimes(2000, 2000);
    ASSERT_NE(alice->joinRoom(QStringLiteral("Quiet Room")), nullptr);
    const QList<ChatSlots::Room> rooms = alice->main.chatSlots().roomsInUse();
    frmAimIM *toBob = alice->openConversation(QStringLiteral("bob"));
    ASSERT_NE(toBob, nullptr);

    // Nothing moves either way, and nothing closes.
    poison(QStringLiteral("timeout"), {{QStringLiteral("timeout"), 0}});
    DesktopUser::say(toBob, QStringLiteral("into the void"));
    ASSERT_TRUE(awaitSignedOff(*alice));
    cure(QStringLiteral("timeout"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return toBob->txtIM->toPlainText().contains(
                QStringLiteral("into the void (perhaps not delivered: the connection was lost)"));
        },
        WaitMs))
        << toBob->txtIM->toPlainText().toStdString();

    ASSERT_TRUE(backIn(*alice, rooms, LongWaitMs)) << alice->main.lbStat->text().toStdString();
    EXPECT_EQ(noticesShown(*alice), QStringList());
    DesktopUser::say(toBob, QStringLiteral("out of the void"));
    EXPECT_TRUE(awaitLine(*bob, QStringLiteral("alice"), QStringLiteral("alice: out of the void")));
}

TEST_P(ToxicsTest, AConnectionSlowToCloseHoldsUpNeitherSigningOffNorTheNextSignOn)
{
    if (!ready())
        return;
    twoPeople();
    poison(QStringLiteral("slow_close"), {{QStringLiteral("delay"), 5000}});
    const int filesBefore = ProcessFigures::openFiles();

    QTest::mouseClick(alice->main.cmdLogoff, Qt::LeftButton);
    EXPECT_EQ(noticesShown(*alice), QStringList{QStringLiteral("alice was signed off!")});
    alice->dialogs.shown.clear();
    EXPECT_TRUE(alice->main.Frame2->isVisible());
    EXPECT_EQ(alice->main.signOnFlow().state(), SignOnFlow::State::Offline);
    QTest::qWait(SignOnFlow::ReSignOnGapMs + 500);
    ASSERT_TRUE(alice->signOn(QStringLiteral("alice"), Password));

    // The old connection closing late neither ends the new session nor
    // keeps a socket of Qiv's open.
    QTest::qWait(6000);
    EXPECT_TRUE(alice->isSignedOn());
    EXPECT_LE(ProcessFigures::openFiles(), filesBefore);
    DesktopUser::say(bob->openConversation(QStringLiteral("alice")), QStringLiteral("still there?"));
    EXPECT_TRUE(awaitLine(*alice, QStringLiteral("bob"), QStringLiteral("bob: still there?")));
    EXPECT_EQ(noticesShown(*alice), QStringList());
}

QIV_FOR_EACH_SERVER(ToxicsTest);

} // namespace
