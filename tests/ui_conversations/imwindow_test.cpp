// The conversation window: sending, Enter handling, block and warn, and the
// refusals for what cannot reach the server.

#include "conversationfixture.h"

#include "conversation/typingreporter.h"
#include "serverframes.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <functional>

namespace {

class ImWindowTest : public ConversationTest
{
protected:
    // Opened by the correspondent, whose name shows capitals and a space.
    frmAimIM *openedBySomeBuddy()
    {
        receiveIm("Some Buddy", "hi");
        sentLines();
        return conversations().value(0);
    }
    void pressReturn(frmAimIM *window) { QTest::keyClick(window->txtMessage, Qt::Key_Return); }
};

TEST_F(ImWindowTest, EveryWayOfSendingSendsOnceToTheNormalizedNameAndEchoesInRed)
{
    const QList<std::pair<const char *, std::function<void(frmAimIM *)>>> ways = {
        {"click", [](frmAimIM *w) { QTest::mouseClick(w->cmdSend, Qt::LeftButton); }},
        {"Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return); }},
        {"keypad Enter", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Shift+Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return, Qt::ShiftModifier); }},
        {"Ctrl+Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return, Qt::ControlModifier); }},
    };
    for (const auto &[name, send] : ways) {
        SCOPED_TRACE(name);
        frmAimIM *window = openedBySomeBuddy();
        window->txtMessage->setText(QStringLiteral("how are you?"));
        send(window);
        EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>how are you?")"});
        EXPECT_EQ(runsOf(window->txtIM).mid(2),
                  (QList<TextRun>{{QStringLiteral("Me Myself: "), true, Red},
                                  {QStringLiteral("how are you?"), false, Black}}));
        delete window;
    }
}

TEST_F(ImWindowTest, ClearBoxAfterSendDecidesWhetherTheTextStays)
{
    frmAimIM *window = openedBySomeBuddy();
    window->txtMessage->setText(QStringLiteral("again"));
    pressReturn(window);
    pressReturn(window);
    EXPECT_EQ(sentLines().size(), 2);
    EXPECT_EQ(window->txtMessage->text(), QStringLiteral("again"));

    window->chkClear->setChecked(true);
    pressReturn(window);
    EXPECT_TRUE(window->txtMessage->text().isEmpty());
    // An empty box still sends the prefix alone and writes an empty own line.
    sentLines();
    pressReturn(window);
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>")"});
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(QStringLiteral("again\nMe Myself: ")));
}

TEST_F(ImWindowTest, ANameThatIsNotUtf8GoesBackAsTheBytesThatCame)
{
    receiveIm("J\xe9r\xf4me", "salut"); // Latin-1, shown as best it can be
    frmAimIM *window = conversations().value(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->currentname->text(), QStringLiteral("J\u00e9r\u00f4me"));

    window->txtMessage->setText(QStringLiteral("hi"));
    pressReturn(window);
    dialogs.yesNoAnswers = {true, true};
    QTest::mouseClick(window->cmdBlock, Qt::LeftButton);
    QTest::mouseClick(window->cmdWarn, Qt::LeftButton);
    EXPECT_EQ(sentLines(),
              (QList<QByteArray>{"toc_send_im \"j\xe9r\xf4me\" \"<font>hi\"", "toc2_add_deny \"j\xe9r\xf4me\"",
                                 "toc2_set_pdmode 4", "toc_evil \"j\xe9r\xf4me\" \"norm\""}));
}

TEST_F(ImWindowTest, OwnLinesCarryTheNameTheUserIsSignedOnAsNow)
{
    frmAimIM *window = openedBySomeBuddy();
    // Logoff, then a sign-on under another name; the window stayed open.
    strMyName = QStringLiteral("Other Me");
    router.userSignedOn();
    window->txtMessage->setText(QStringLiteral("it is me"));
    pressReturn(window);
    EXPECT_EQ(runsOf(window->txtIM).mid(2, 1), QList<TextRun>({{QStringLiteral("Other Me: "), true, Red}}));
}

TEST_F(ImWindowTest, TypingNewsGoesOutAtMostOnceAGapAndComesInAsPlainText)
{
    QList<qint16> sent;
    TypingReporter reporter([&](qint16 state) { sent << state; });
    reporter.setIntervals(40, 120);
    reporter.textEdited(QStringLiteral("h"));
    reporter.textEdited(QStringLiteral("he"));
    EXPECT_EQ(sent, QList<qint16>{QuorTOCSock::Typing});
    reporter.textEdited(QString()); // wanted at once, sent once the gap is over
    EXPECT_EQ(sent.size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sent.size() == 2; }, 1000));
    reporter.textEdited(QStringLiteral("x"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sent.size() == 4; }, 1000)) << "then typed after the pause";
    reporter.messageSent();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sent.size() == 5; }, 1000));
    EXPECT_EQ(sent,
              (QList<qint16>{QuorTOCSock::Typing, QuorTOCSock::NothingTyped, QuorTOCSock::Typing,
                             QuorTOCSock::TextTyped, QuorTOCSock::NothingTyped}));

    // In a window: the first key tells the correspondent at once.
    frmAimIM *window = openedBySomeBuddy();
    QTest::keyClicks(window->txtMessage, QStringLiteral("hi"));
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc2_client_event "somebuddy" 2)"});

    socket->deliver(ServerFrames::serverFrame("CLIENT_EVENT2:Some Buddy:2"));
    EXPECT_EQ(window->lbTyping->text(), QStringLiteral("Some Buddy is typing..."));
    socket->deliver(ServerFrames::serverFrame("CLIENT_EVENT2:somebuddy:1"));
    EXPECT_EQ(window->lbTyping->text(), QStringLiteral("Some Buddy has typed"));
    receiveIm("Some Buddy", "done");
    EXPECT_TRUE(window->lbTyping->text().isEmpty());
    socket->deliver(ServerFrames::serverFrame("CLIENT_EVENT2:Stranger:2"));
    EXPECT_EQ(conversations().size(), 1) << "typing news opens no window";
}

TEST_F(ImWindowTest, AStyleChangeReachesOpenWindowsAtTheirNextSend)
{
    frmAimIM *window = openedBySomeBuddy();
    txtFont.setText(QStringLiteral("<font color=\"#FF0000\">"));
    window->txtMessage->setText(QStringLiteral("x"));
    pressReturn(window);
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font color=\"#FF0000\">x")"});
    EXPECT_EQ(runsOf(window->txtIM).last().text, QStringLiteral("x")); // never the prefix
}

TEST_F(ImWindowTest, BlockAndWarnAskFirstAndTellTheTruthAfterwards)
{
    struct Case
    {
        bool block; // otherwise warn
        bool yes;
        bool connected;
        QList<QByteArray> lines;
        QString notice;
    };
    const QList<Case> cases = {
        // Everyone was allowed: the block takes effect by blocking the people listed.
        {true, true, true, {R"(toc2_add_deny "somebuddy")", "toc2_set_pdmode 4"}, "Some Buddy has been blocked!"},
        {true, false, true, {}, {}},
        {true, true, false, {}, "The request to block Some Buddy was not sent because Qiv is not signed on."},
        {false, true, true, {R"(toc_evil "somebuddy" "norm")"}, "Warning was sent to Some Buddy"},
        {false, false, true, {}, {}},
        {false, true, false, {}, "The warning to Some Buddy was not sent because Qiv is not signed on."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.notice.toStdString());
        frmAimIM *window = openedBySomeBuddy();
        if (!c.connected)
            socket->close();
        dialogs.shown.clear();
        dialogs.yesNoAnswers = {c.yes};
        QTest::mouseClick(c.block ? window->cmdBlock : window->cmdWarn, Qt::LeftButton);

        const QString verb = c.block ? QStringLiteral("Block") : QStringLiteral("Warn");
        ASSERT_EQ(dialogs.shown.size(), c.notice.isEmpty() ? 1 : 2);
        EXPECT_EQ(dialogs.shown[0].text, "Are you sure you want to " + verb.toLower() + " Some Buddy?");
        EXPECT_EQ(dialogs.shown[0].title, verb + " Some Buddy");
        EXPECT_EQ(sentLines(), c.lines);
        if (!c.notice.isEmpty()) {
            EXPECT_EQ(dialogs.shown[1].kind, ScriptedDialogs::Shown::Notice);
            EXPECT_EQ(dialogs.shown[1].text, c.notice);
            EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Qiv"));
        }
        delete window;
        if (!c.connected) {
            socket->acceptConnection();
            socket->takeWritten();
        }
    }
}

TEST_F(ImWindowTest, AMessageTypedWhileSignedOffIsEchoedThenExplainedAndKept)
{
    frmAimIM *window = openedBySomeBuddy();
    window->chkClear->setChecked(true);
    socket->close();
    window->txtMessage->setText(QStringLiteral("are you there?"));
    pressReturn(window);

    EXPECT_TRUE(socket->written.isEmpty());
    EXPECT_EQ(
        runsOf(window->txtIM).mid(2, 2),
        (QList<TextRun>{{QStringLiteral("Me Myself: "), true, Red}, {QStringLiteral("are you there?"), false, Black}}));
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(
        QStringLiteral("are you there?\nThis message was not sent because Qiv is not signed on.")));
    EXPECT_EQ(window->txtMessage->text(), QStringLiteral("are you there?"));
}

TEST_F(ImWindowTest, AMessageTooLongForTheServerIsNotSentNorShownAsSent)
{
    // `toc_send_im "somebuddy" "<font>` and `"` take 32 bytes, and every "$"
    // is escaped into two: 1008 of them make the longest line allowed.
    for (const qsizetype dollars : {1008, 1009}) {
        SCOPED_TRACE(dollars);
        frmAimIM *window = openedBySomeBuddy();
        const QString typed(dollars, QLatin1Char('$'));
        window->chkClear->setChecked(true);
        window->txtMessage->setText(typed);
        pressReturn(window);

        const QList<QByteArray> lines = sentLines();
        const QList<TextRun> added = runsOf(window->txtIM).mid(2);
        if (dollars == 1008) {
            ASSERT_EQ(lines.size(), 1);
            EXPECT_EQ(lines[0].size(), 2048);
            EXPECT_EQ(added.size(), 2);
        } else {
            EXPECT_TRUE(lines.isEmpty());
            ASSERT_EQ(added.size(), 1);
            EXPECT_FALSE(added[0].bold);
            EXPECT_TRUE(added[0].text.contains(QStringLiteral("not sent: it is too long")));
            EXPECT_EQ(window->txtMessage->text(), typed);
        }
        delete window;
    }
}

TEST_F(ImWindowTest, ClosingAsksAndSendsNothing)
{
    QPointer<frmAimIM> window = openedBySomeBuddy();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(socket->written.isEmpty());
    EXPECT_EQ(router.FormByTag(QStringLiteral("somebuddy")), -1);
}

TEST_F(ImWindowTest, ALineHeldBackForTheSpeedLimitSaysSoUntilItGoesOrNeverCan)
{
    qint64 now = 0;
    btoc.pacer().setClock([&] { return now; });
    serverSays("CONFIG2:done:\n"); // signed on: the server's limits count from here
    frmAimIM *window = openedBySomeBuddy();
    window->chkClear->setChecked(true);
    for (int i = 1; i <= 9; ++i) {
        window->txtMessage->setText(QStringLiteral("line %1").arg(i));
        pressReturn(window);
    }
    EXPECT_EQ(sentLines().size(), 7);
    const QString waiting = QStringLiteral("line 8 (waiting: the server limits how fast messages go)");
    EXPECT_TRUE(window->txtIM->toPlainText().contains(waiting)) << window->txtIM->toPlainText().toStdString();

    now += 600;
    btoc.pacer().sendDue();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>line 8")"});
    EXPECT_TRUE(window->txtIM->toPlainText().contains(QStringLiteral("line 8\nMe Myself: line 9 (waiting")));

    // The server drops line 8 anyway; the session ends before line 9 may go.
    serverSays("ERROR:903");
    btoc.LogOff();
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(
        QStringLiteral("line 8 (not delivered: the server dropped it for sending too fast)"
                       "\nMe Myself: line 9 (not sent: the connection ended first)")))
        << window->txtIM->toPlainText().toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "no box takes the next Enter";
}

TEST_F(ImWindowTest, LinesThatWentAfterTheServersLastWordAreMarkedWhenTheConnectionTurnsOutDead)
{
    frmAimIM *window = openedBySomeBuddy();
    for (const char *line : {"one", "two"}) {
        window->txtMessage->setText(QString::fromLatin1(line));
        pressReturn(window);
    }
    serverSays("UPDATE_BUDDY2:Some Buddy:T:0:0:0: O"); // after both: they travelled
    window->txtMessage->setText(QStringLiteral("three"));
    pressReturn(window);
    socket->fail(QStringLiteral("The server stopped answering"));
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(
        QStringLiteral("Me Myself: one\nMe Myself: two\n"
                       "Me Myself: three (perhaps not delivered: the connection was lost)")))
        << window->txtIM->toPlainText().toStdString();
}

} // namespace
