// The server restarted under two people who stay signed on, ten times in a
// row, with a conversation and a chat room open: each time both are back in
// the room without a box, the same windows stay open, no socket or memory
// is left behind, and the conversation and the room still carry lines.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "processfigures.h"
#include "serverfixture.h"

#include <QLabel>
#include <QTest>
#include <QTextEdit>

namespace {

using RestartTest = ServerFixture;

TEST_P(RestartTest, TenRestartsInARowEndBackInTheSameRoomWithNothingLeftBehind)
{
    if (!ready())
        return;
    account(QStringLiteral("alice"), true);
    account(QStringLiteral("bob"), true);
    auto alice = signedOn(QStringLiteral("alice"), 0, 300);
    auto bob = signedOn(QStringLiteral("bob"), 0, 300);
    ASSERT_TRUE(alice->isSignedOn() && bob->isSignedOn());
    for (DesktopUser *user : {alice.get(), bob.get()}) {
        user->main.btoc->setRateLimits(peer->limitsOfExempt());
        ASSERT_NE(user->joinRoom(QStringLiteral("Restart Room")), nullptr);
    }
    frmAimIM *toBob = alice->openConversation(QStringLiteral("bob"));
    ASSERT_NE(toBob, nullptr);
    const QList<ChatSlots::Room> rooms = alice->main.chatSlots().roomsInUse();
    const qsizetype aliceWindows = alice->windows.windows().size();

    qint64 residentAfterFirst = 0;
    int filesAfterFirst = 0;
    for (int restart = 1; restart <= 10; ++restart) {
        peer->stop();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !alice->isSignedOn() && !bob->isSignedOn(); }, 10000)) << restart;
        const QString failure = peer->start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        for (DesktopUser *user : {alice.get(), bob.get()}) {
            ASSERT_TRUE(backIn(*user, rooms, 30000))
                << "restart " << restart << ": " << user->main.lbStat->text().toStdString();
        }
        QTest::qWait(200);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (restart == 1) {
            residentAfterFirst = ProcessFigures::residentKb();
            filesAfterFirst = ProcessFigures::openFiles();
        }
    }
    EXPECT_EQ(alice->windows.windows().size(), aliceWindows);
    EXPECT_EQ(alice->rooms().size(), 1);
    EXPECT_LE(ProcessFigures::openFiles(), filesAfterFirst);
    if (ProcessFigures::memoryIsMeaningful()) {
        EXPECT_LT(ProcessFigures::residentKb() - residentAfterFirst, 2048);
    }
    for (DesktopUser *user : {alice.get(), bob.get()})
        EXPECT_EQ(noticesShown(*user), QStringList());

    // The windows that stayed open still work.
    DesktopUser::say(toBob, QStringLiteral("still here"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            frmAimIM *fromAlice = bob->conversationWith(QStringLiteral("alice"));
            return fromAlice && fromAlice->txtIM->toPlainText().contains(QStringLiteral(": still here"));
        },
        10000));
    DesktopUser::say(bob->rooms().value(0), QStringLiteral("room still here"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return alice->rooms().value(0)->txtChat->toPlainText().contains(QStringLiteral(": room still here")); },
        10000));
}

QIV_FOR_EACH_SERVER(RestartTest);

} // namespace
