// The conversation window: sending, Enter handling, block and warn, and the
// refusals for messages that cannot reach the server.

#include "conversationfixture.h"
#include "conversation/transcript.h"

#include <QCheckBox>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <functional>

namespace {

class ImWindowTest : public ConversationTest
{
protected:
    // A window opened by the correspondent, shown with capitals and a space.
    frmAimIM *openedBySomeBuddy()
    {
        receiveIm("Some Buddy", "hi");
        sentLines();
        return conversations().value(0);
    }
};

struct SendWay
{
    const char *name;
    std::function<void(frmAimIM *)> send;
};

const QList<SendWay> sendWays = {
    {"click", [](frmAimIM *w) { QTest::mouseClick(w->cmdSend, Qt::LeftButton); }},
    {"Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return); }},
    {"keypad Enter", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Enter, Qt::KeypadModifier); }},
    {"Shift+Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return, Qt::ShiftModifier); }},
    {"Ctrl+Return", [](frmAimIM *w) { QTest::keyClick(w->txtMessage, Qt::Key_Return, Qt::ControlModifier); }},
};

TEST_F(ImWindowTest, EveryWayOfSendingSendsOnceToTheNormalizedNameAndEchoesInRed)
{
    for (const SendWay &way : sendWays) {
        SCOPED_TRACE(way.name);
        frmAimIM *window = openedBySomeBuddy();
        ASSERT_NE(window, nullptr);
        window->txtMessage->setText(QStringLiteral("how are you?"));
        way.send(window);

        EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>how are you?")"});
        const QList<TextRun> runs = runsOf(window->txtIM);
        ASSERT_GE(runs.size(), 2);
        EXPECT_EQ(runs.at(runs.size() - 2), (TextRun{QStringLiteral("Me Myself: "), true, false, Red}));
        EXPECT_EQ(runs.last(), (TextRun{QStringLiteral("how are you?"), false, false, Black}));
        EXPECT_EQ(window->txtMessage->text(), QStringLiteral("how are you?"));
        delete window;
    }
}

TEST_F(ImWindowTest, ClearBoxAfterSendDecidesWhetherTheTextStaysForAnotherSend)
{
    frmAimIM *window = openedBySomeBuddy();
    window->txtMessage->setText(QStringLiteral("again"));
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
    EXPECT_EQ(sentLines(), (QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>again")",
                                              R"(toc_send_im "somebuddy" "<font>again")"}));

    window->chkClear->setChecked(true);
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
    EXPECT_EQ(sentLines().size(), 1);
    EXPECT_TRUE(window->txtMessage->text().isEmpty());

    // An empty box still sends the prefix alone and writes an empty own line.
    QTest::keyClick(window->txtMessage, Qt::Key_Return);
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebuddy" "<font>")"});
    EXPECT_EQ(runsOf(window->txtIM).last(), (TextRun{QStringLiteral("Me Myself: "), true, false, Red}));
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(QStringLiteral("\nMe Myself: ")));
}

TEST_F(ImWindowTest, OtherKeysDoNotSend)
{
    frmAimIM *window = openedBySomeBuddy();
    QTest::keyClicks(window->txtMessage, QStringLiteral("typing\t"));
    QTest::keyClick(window->txtMessage, Qt::Key_Escape);
    EXPECT_TRUE(sentLines().isEmpty());
}

TEST_F(ImWindowTest, AStyleChangeReachesWindowsAlreadyOpenAtTheirNextSend)
{
    receiveIm("first", "1");
    receiveIm("second", "2");
    sentLines();
    txtFont.setText(QStringLiteral("<font color=\"#FF0000\">"));
    for (frmAimIM *window : conversations()) {
        window->txtMessage->setText(QStringLiteral("x"));
        QTest::keyClick(window->txtMessage, Qt::Key_Return);
    }
    EXPECT_EQ(sentLines(), (QList<QByteArray>{R"(toc_send_im "first" "<font color=\"#FF0000\">x")",
                                              R"(toc_send_im "second" "<font color=\"#FF0000\">x")"}));
    // The transcript shows what was typed, never the prefix.
    EXPECT_EQ(runsOf(conversations().at(0)->txtIM).last().text, QStringLiteral("x"));
}

struct ActionCase
{
    const char *name;
    bool block; // otherwise warn
    bool answerYes;
    bool connected;
    QList<QByteArray> lines;
    QString notice;
};

TEST_F(ImWindowTest, BlockAndWarnAskFirstAndTellTheTruthAfterwards)
{
    const QList<ActionCase> cases = {
        {"block yes", true, true, true, {R"(toc2_add_deny "somebuddy")"}, "Some Buddy has been blocked!"},
        {"block no", true, false, true, {}, {}},
        {"block offline", true, true, false, {},
         "The request to block Some Buddy was not sent because Qiv is not signed on."},
        {"warn yes", false, true, true, {R"(toc_evil "somebuddy" "norm")"}, "Warning was sent to Some Buddy"},
        {"warn no", false, false, true, {}, {}},
        {"warn offline", false, true, false, {},
         "The warning to Some Buddy was not sent because Qiv is not signed on."},
    };
    for (const ActionCase &c : cases) {
        SCOPED_TRACE(c.name);
        if (!socket->isConnected()) {
            socket->acceptConnection();
            socket->takeWritten();
        }
        frmAimIM *window = openedBySomeBuddy();
        if (!c.connected)
            dropConnection();
        dialogs.shown.clear();
        dialogs.yesNoAnswers = {c.answerYes};
        QTest::mouseClick(c.block ? window->cmdBlock : window->cmdWarn, Qt::LeftButton);

        ASSERT_FALSE(dialogs.shown.isEmpty());
        const QString verb = c.block ? QStringLiteral("block") : QStringLiteral("warn");
        EXPECT_EQ(dialogs.shown.first().kind, ScriptedDialogs::Shown::YesNo);
        EXPECT_EQ(dialogs.shown.first().text, QStringLiteral("Are you sure you want to %1 Some Buddy?").arg(verb));
        EXPECT_EQ(dialogs.shown.first().title,
                  (c.block ? QStringLiteral("Block") : QStringLiteral("Warn")) + QStringLiteral(" Some Buddy"));
        EXPECT_EQ(sentLines(), c.lines);
        if (c.notice.isEmpty()) {
            EXPECT_EQ(dialogs.shown.size(), 1);
        } else {
            ASSERT_EQ(dialogs.shown.size(), 2);
            EXPECT_EQ(dialogs.shown.at(1).kind, ScriptedDialogs::Shown::Notice);
            EXPECT_EQ(dialogs.shown.at(1).text, c.notice);
            EXPECT_EQ(dialogs.shown.at(1).title, QStringLiteral("Qiv"));
        }
        delete window;
    }
}

TEST_F(ImWindowTest, AMessageTypedWhileSignedOffIsEchoedThenExplainedAndKept)
{
    frmAimIM *window = openedBySomeBuddy();
    window->chkClear->setChecked(true);
    dropConnection();
    window->txtMessage->setText(QStringLiteral("are you there?"));
    QTest::keyClick(window->txtMessage, Qt::Key_Return);

    EXPECT_TRUE(socket->written.isEmpty());
    const QList<TextRun> runs = runsOf(window->txtIM);
    ASSERT_GE(runs.size(), 3);
    EXPECT_EQ(runs.at(runs.size() - 3), (TextRun{QStringLiteral("Me Myself: "), true, false, Red}));
    EXPECT_EQ(runs.at(runs.size() - 2), (TextRun{QStringLiteral("are you there?"), false, false, Black}));
    EXPECT_EQ(runs.last().text, QStringLiteral("This message was not sent because Qiv is not signed on."));
    EXPECT_FALSE(runs.last().bold);
    EXPECT_TRUE(window->txtIM->toPlainText().endsWith(
        QStringLiteral("are you there?\nThis message was not sent because Qiv is not signed on.")));
    EXPECT_EQ(window->txtMessage->text(), QStringLiteral("are you there?"));
}

TEST_F(ImWindowTest, AMessageTooLongForTheServerIsNotSentNorShownAsSent)
{
    // The line is `toc_send_im "somebuddy" "<font>` + escaped text + `"`: 32
    // bytes around the text, and each "$" is escaped into two bytes.
    struct LengthCase
    {
        qsizetype dollars;
        bool sent;
    };
    for (const LengthCase c : {LengthCase{1008, true}, LengthCase{1009, false}}) {
        SCOPED_TRACE(c.dollars);
        frmAimIM *window = openedBySomeBuddy();
        const QList<TextRun> before = runsOf(window->txtIM);
        const QString typed(c.dollars, QLatin1Char('$'));
        window->chkClear->setChecked(true);
        window->txtMessage->setText(typed);
        QTest::keyClick(window->txtMessage, Qt::Key_Return);

        const QList<QByteArray> lines = sentLines();
        const QList<TextRun> added = runsOf(window->txtIM).mid(before.size());
        if (c.sent) {
            ASSERT_EQ(lines.size(), 1);
            EXPECT_EQ(lines.first().size(), 2048);
            EXPECT_EQ(added.size(), 2);
        } else {
            EXPECT_TRUE(lines.isEmpty());
            ASSERT_EQ(added.size(), 1);
            EXPECT_TRUE(added.first().italic);
            EXPECT_TRUE(added.first().text.contains(QStringLiteral("too long")));
            EXPECT_EQ(window->txtMessage->text(), typed);
        }
        delete window;
    }
}

TEST_F(ImWindowTest, ClosingAsksAndSendsNothingAndTheNextMessageStartsAfresh)
{
    QPointer<frmAimIM> window = openedBySomeBuddy();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(socket->written.isEmpty());
    EXPECT_EQ(router.FormByTag(QStringLiteral("somebuddy")), -1);

    receiveIm("Some Buddy", "back");
    ASSERT_EQ(conversations().size(), 1);
    EXPECT_EQ(conversations().first()->txtIM->toPlainText(), QStringLiteral("\nSome Buddy: back"));
}

} // namespace
