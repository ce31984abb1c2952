// Servers that lie about frame lengths, hang up half-way through a frame, or
// never finish the sign-on: the window must end up telling the user, and the
// receive buffer must never hold more than one frame.

#include "session/flap.h"
#include "hostilesession.h"
#include "conversation/frmaimim.h"
#include "session/quortocsock.h"
#include "serverframes.h"

#include <QHostAddress>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using ServerFrames::serverFrame;
using ServerFrames::serverFrameHeader;

namespace {

TEST(LyingServer, FullSizedFramesArriveWholeAndNothingPilesUp)
{
    HostileSession s;
    ASSERT_TRUE(s.signOn());
    const QByteArray prefix = "IM_IN_ENC2:pal:F:F:T: O:F:L:en:";
    const QByteArray text(Flap::MaxPayloadSize - prefix.size(), 'a');
    // Two largest frames in one write, the second cut by whatever TCP makes of it.
    s.sendRaw(serverFrame(prefix + text) + serverFrame(prefix + text));
    ASSERT_TRUE(s.sentinelGetsThrough());

    const QList<frmAimIM *> open = s.conversations();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0]->txtIM->toPlainText(), "\npal: " + QString(text) + "\npal: " + QString(text));
    EXPECT_LT(s.mostBufferedBetweenArrivals, LargestFrame);
    EXPECT_EQ(s.bufferedBytes(), 0);
}

TEST(LyingServer, AnOverstatedLengthSwallowsWhatFollowsUntilItIsMade)
{
    HostileSession s;
    ASSERT_TRUE(s.signOn());
    // Claims the largest payload, then sends a message the claim swallows.
    const QByteArray swallowed = serverFrame("IM_IN_ENC2:ghost:F:F:T: O:F:L:en:hidden");
    s.sendRaw(serverFrameHeader(Flap::Data, Flap::MaxPayloadSize) + "FOO:" + swallowed);
    const qsizetype held = Flap::HeaderSize + 4 + swallowed.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.bufferedBytes() == held; }, 5000));
    EXPECT_TRUE(s.conversations().isEmpty());

    // The rest of the claimed length, a little at a time, then honest frames.
    const qsizetype missing = LargestFrame - held;
    for (qsizetype sent = 0; sent < missing; sent += 4096)
        s.sendRaw(QByteArray(std::min<qsizetype>(4096, missing - sent), 'z'));
    ASSERT_TRUE(s.sentinelGetsThrough());

    EXPECT_TRUE(s.conversations().isEmpty()) << "a message inside another frame is never read";
    EXPECT_TRUE(s.notices().isEmpty());
    EXPECT_LT(s.mostBufferedBetweenArrivals, LargestFrame);
    EXPECT_EQ(s.bufferedBytes(), 0);
    EXPECT_TRUE(s.window->btoc->isConnected());
}

TEST(LyingServer, AnUnderstatedLengthDerailsTheStreamButNeverOverfillsTheBuffer)
{
    HostileSession s;
    ASSERT_TRUE(s.signOn());
    // "IM_IN" is taken as a whole message; "_ENC2:..." then reads as a header
    // that claims 0x323A bytes. Nothing resynchronises on the start marker.
    QByteArray lie = serverFrame("IM_IN_ENC2:ghost:F:F:T: O:F:L:en:hidden");
    lie[4] = 0;
    lie[5] = 5;
    const QByteArray honest = serverFrame("UPDATE_BUDDY2:ghost:T:0:0:0: O");
    s.sendRaw(lie + honest);
    // Everything after the five-byte "message" waits for the derailed frame.
    const qsizetype held = lie.size() - (Flap::HeaderSize + 5) + honest.size();
    ASSERT_LT(held, Flap::HeaderSize + 0x323A);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.bufferedBytes() == held; }, 5000));

    EXPECT_TRUE(s.conversations().isEmpty());
    EXPECT_FALSE(s.buddies().contains(QStringLiteral("ghost")));
    EXPECT_TRUE(s.notices().isEmpty());
    EXPECT_LT(s.mostBufferedBetweenArrivals, LargestFrame);
    EXPECT_TRUE(s.window->btoc->isConnected());
}

TEST(ServerHangsUp, HalfAFrameThenCloseTellsTheUserTheConnectionIsLost)
{
    struct HangUp
    {
        const char *what;
        bool signedOnFirst;
    };
    for (const HangUp &h : {HangUp{"during the sign-on", false}, HangUp{"while signed on", true}}) {
        SCOPED_TRACE(h.what);
        HostileSession s;
        if (h.signedOnFirst) {
            ASSERT_TRUE(s.signOn());
            s.server.sendData("CHAT_JOIN:7:Room");
            ASSERT_TRUE(s.sentinelGetsThrough());
            ASSERT_NE(s.shownChat(3), nullptr);
        } else {
            s.server.config = "m:1\n"; // the sign-on never completes on its own
            QTest::mouseClick(s.window->cmdLogin, Qt::LeftButton);
            ASSERT_TRUE(s.server.waitForCommand("toc2_login"));
        }
        const QByteArray frame = serverFrame("IM_IN_ENC2:pal:F:F:T: O:F:L:en:cut short");
        s.sendRaw(frame.first(frame.size() / 2));
        s.server.closeClient();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s.notices().isEmpty(); }, 5000));

        EXPECT_EQ(s.notices(), QStringList{QStringLiteral("Error|The server closed the connection")});
        EXPECT_EQ(s.window->lbStat->text(), QStringLiteral("The server closed the connection"));
        EXPECT_TRUE(s.window->Frame2->isVisible());
        EXPECT_FALSE(s.window->Frame1->isVisible());
        EXPECT_EQ(s.shownChat(3), nullptr);
        EXPECT_TRUE(s.conversations().isEmpty());
        EXPECT_FALSE(s.window->btoc->isConnected());
        EXPECT_EQ(s.bufferedBytes(), 0) << "half a frame must not prefix the next connection";
    }
}

// Accepts one client, takes its "FLAPON" and answers with fixed bytes, then
// says nothing more, however long the client waits.
class StallingServer : public QObject
{
public:
    explicit StallingServer(QByteArray answer)
        : m_answer(std::move(answer))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = m_server.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, client, [this, client] {
                client->readAll();
                client->write(std::exchange(m_answer, QByteArray()));
            });
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
    QByteArray m_answer;
};

TEST(SilentServer, ASignOnThatNeverEndsIsGivenUpWithAMessage)
{
    constexpr int timeoutMs = 300;
    const QByteArray signOnFrame = ServerFrames::serverSignOnFrame();
    const QString givenUp
        = QStringLiteral("The server did not complete the sign-on in time; the connection was closed.");
    struct Stall
    {
        const char *what;
        QByteArray answer;
        QString shown; // the one notice expected, as "title|text"
    };
    const QList<Stall> stalls = {
        {"accepts and says nothing", {}, "Error|" + givenUp},
        {"sends its sign-on frame, then nothing", signOnFrame, "Error|" + givenUp},
        {"promises a frame that never comes", serverFrameHeader(Flap::SignOn, Flap::MaxPayloadSize) + "abc",
         "Error|" + givenUp},
        {"refuses the account", signOnFrame + serverFrame("ERROR:980"),
         QStringLiteral(
             "Error|Invalid account or password, or this screen name is signed on in too many places already")},
    };
    for (const Stall &stall : stalls) {
        SCOPED_TRACE(stall.what);
        StallingServer server(stall.answer);
        ScriptedDialogs dialogs;
        WindowRegistry windows;
        frmAimlogin window(dialogs, windows, ServerAddress{QStringLiteral("127.0.0.1"), server.port()});
        window.setSignOnTimeout(timeoutMs);
        window.show();
        QTest::mouseClick(window.cmdLogin, Qt::LeftButton);
        EXPECT_EQ(window.lbStat->text(), QStringLiteral("Connecting..."));

        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown.isEmpty(); }, 5000));
        // Long enough for a second, stray time-out to show itself.
        EXPECT_FALSE(QTest::qWaitFor([&] { return dialogs.shown.size() > 1; }, 3 * timeoutMs));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].title + QLatin1Char('|') + dialogs.shown[0].text, stall.shown);
        EXPECT_EQ(window.lbStat->text(), stall.shown.section(QLatin1Char('|'), 1));
        EXPECT_TRUE(window.Frame2->isVisible());
        if (stall.shown.contains(givenUp)) {
            EXPECT_FALSE(window.btoc->isConnected());
        }
        EXPECT_LT(window.btoc->bufferedBytes(), LargestFrame);
    }
}

TEST(SilentServer, ACompletedSignOnIsNeverGivenUpLater)
{
    HostileSession s;
    s.window->setSignOnTimeout(200);
    ASSERT_TRUE(s.signOn());
    EXPECT_FALSE(QTest::qWaitFor([&] { return !s.dialogs.shown.isEmpty(); }, 600));
    EXPECT_TRUE(s.window->Frame1->isVisible());
    EXPECT_TRUE(s.window->btoc->isConnected());
}

} // namespace
