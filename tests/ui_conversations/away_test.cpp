// Away messages: setting and ending the away state, and the automatic reply
// that each sender gets once per away period.

#include "conversationfixture.h"
#include "main/frmaimaway.h"
#include "productinfo.h"

#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <functional>

namespace {

class AwayTest : public ConversationTest
{
protected:
    QStringList answered()
    {
        QStringList names;
        for (int row = 0; row < away.window().lstAr->count(); ++row)
            names.append(away.window().lstAr->item(row)->text());
        return names;
    }
    void expectPresent()
    {
        EXPECT_FALSE(away.isAway());
        EXPECT_TRUE(lbAway.isHidden());
        EXPECT_FALSE(away.window().isVisible());
        EXPECT_TRUE(answered().isEmpty());
    }
    void goAway()
    {
        away.setDefaultAway();
        sentLines();
    }
};

const QByteArray DefaultReply = "I am away from my computer right now.";

struct ChoiceCase
{
    const char *name;
    std::function<void(AwayMessages &)> choose;
    QString customAnswer; // empty: no input box
    QString text;
    QByteArray line;
};

TEST_F(AwayTest, EachChoicePostsPrefixAndTextAndShowsTheTextAlone)
{
    const QList<ChoiceCase> cases = {
        {"default", &AwayMessages::setDefaultAway, {}, QString::fromLatin1(DefaultReply),
         R"(toc_set_away "<font>I am away from my computer right now.")"},
        {"advertise", &AwayMessages::setAdvertise, {},
         "I'm using Qiv - free aim client! Go check it out at " + ProductInfo::WebAddress,
         R"(toc_set_away "<font>I'm using Qiv - free aim client! Go check it out at )"
             + ProductInfo::WebAddress.toUtf8() + '"'},
        {"custom", &AwayMessages::setCustom, "Out for lunch (back at $2) \"really\"",
         "Out for lunch (back at $2) \"really\"",
         R"(toc_set_away "<font>Out for lunch \(back at \$2\) \"really\"")"},
    };
    for (const ChoiceCase &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        if (!c.customAnswer.isEmpty())
            dialogs.textAnswers = {c.customAnswer};
        c.choose(away);

        EXPECT_EQ(sentLines(), QList<QByteArray>{c.line});
        EXPECT_TRUE(away.isAway());
        EXPECT_FALSE(lbAway.isVisible()); // its panel is hidden; the state is still on
        EXPECT_TRUE(away.window().isVisible());
        EXPECT_EQ(away.window().txtAway->toPlainText(), c.text);
        EXPECT_EQ(away.awayText(), c.text);
        if (!c.customAnswer.isEmpty()) {
            ASSERT_EQ(dialogs.shown.size(), 1);
            EXPECT_EQ(dialogs.shown.first().text, QStringLiteral("Enter your away message:"));
            EXPECT_EQ(dialogs.shown.first().title, QStringLiteral("Away Message"));
            EXPECT_EQ(dialogs.defaultsOffered.last(), QString());
        }
    }
}

TEST_F(AwayTest, AnEmptyOrCancelledCustomAnswerChangesNothing)
{
    dialogs.textAnswers = {QString()};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    expectPresent();

    goAway();
    receiveIm("pal", "hi");
    sentLines();
    dialogs.textAnswers = {QString()};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_TRUE(away.isAway());
    EXPECT_EQ(away.awayText(), QString::fromLatin1(DefaultReply));
    EXPECT_EQ(answered(), QStringList{QStringLiteral("pal")});
}

TEST_F(AwayTest, EachSenderIsAnsweredOncePerAwayPeriodComparedByExactName)
{
    goAway();
    receiveIm("Some Body", "hi");
    EXPECT_EQ(sentLines(),
              QList<QByteArray>{R"(toc_send_im "somebody" "<font>I am away from my computer right now." auto)"});
    frmAimIM *window = conversations().first();
    EXPECT_EQ(window->txtIM->toPlainText(),
              "\nSome Body: hi\nMe Myself:(Auto) " + QString::fromLatin1(DefaultReply));
    EXPECT_EQ(runsOf(window->txtIM).mid(2),
              (QList<TextRun>{{QStringLiteral("Me Myself:(Auto) "), true, false, Red},
                          {QString::fromLatin1(DefaultReply), false, false, Black}}));

    receiveIm("Some Body", "hello?");
    EXPECT_TRUE(sentLines().isEmpty());

    // The same account written differently is another name to the answered
    // list; its window is open already, so the reply goes without the prefix.
    receiveIm("somebody", "still there?");
    EXPECT_EQ(sentLines(),
              QList<QByteArray>{R"(toc_send_im "somebody" "I am away from my computer right now." auto)"});
    EXPECT_EQ(answered(), (QStringList{QStringLiteral("Some Body"), QStringLiteral("somebody")}));

    // A new away period answers everybody again.
    away.imBack();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_set_away "")"});
    expectPresent();
    receiveIm("Some Body", "not away now");
    EXPECT_TRUE(sentLines().isEmpty());
    goAway();
    receiveIm("Some Body", "and now?");
    EXPECT_EQ(sentLines().size(), 1);
}

TEST_F(AwayTest, OnlyAConversationOpenedByTheMessageGetsTheStylePrefix)
{
    receiveIm("Early Bird", "before");
    goAway();
    txtFont.setText(QStringLiteral("<i>")); // a style change after going away
    receiveIm("Early Bird", "during");
    receiveIm("Late Comer", "during");
    EXPECT_EQ(sentLines(),
              (QList<QByteArray>{R"(toc_send_im "earlybird" "I am away from my computer right now." auto)",
                                 R"(toc_send_im "latecomer" "<i>I am away from my computer right now." auto)"}));
}

TEST_F(AwayTest, ClosingTheAwayWindowByItsFrameIsTheSameAsImBack)
{
    goAway();
    receiveIm("pal", "hi");
    sentLines();
    away.window().close();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_set_away "")"});
    expectPresent();
    receiveIm("pal", "hi again");
    EXPECT_TRUE(sentLines().isEmpty());
}

TEST_F(AwayTest, SigningOffEndsTheAwayStateWithoutTellingTheServer)
{
    goAway();
    receiveIm("pal", "hi");
    sentLines();
    away.signOff();
    EXPECT_TRUE(sentLines().isEmpty());
    expectPresent();
}

TEST_F(AwayTest, AnAwayMessageTooLongForTheServerIsRefusedWithABox)
{
    // `toc_set_away "<font>` + text + `"` is 21 bytes around the text.
    dialogs.textAnswers = {QString(2028, QLatin1Char('x'))};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    expectPresent();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown.last().kind, ScriptedDialogs::Shown::Notice);
    EXPECT_EQ(dialogs.shown.last().title, QStringLiteral("Qiv"));

    // Already away: the text in force stays.
    goAway();
    dialogs.textAnswers = {QString(2028, QLatin1Char('x'))};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(away.awayText(), QString::fromLatin1(DefaultReply));

    dialogs.textAnswers = {QString(2027, QLatin1Char('x'))};
    away.setCustom();
    ASSERT_EQ(sentLines().size(), 1);
    EXPECT_EQ(away.awayText().size(), 2027);
}

TEST_F(AwayTest, AnAutomaticReplyTooLongToSendIsReportedOnceInTheConversation)
{
    dialogs.textAnswers = {QString(2027, QLatin1Char('x'))};
    away.setCustom();
    sentLines();
    receiveIm("pal", "hi");
    receiveIm("pal", "hi again");
    EXPECT_TRUE(sentLines().isEmpty());
    const QList<TextRun> runs = runsOf(conversations().first()->txtIM);
    ASSERT_EQ(runs.size(), 5);
    EXPECT_TRUE(runs.at(2).italic);
    EXPECT_EQ(runs.at(2).text, QStringLiteral("No automatic reply was sent to pal: the away message is too long for the server."));
    EXPECT_EQ(runs.at(3).text, QStringLiteral("pal: "));
    EXPECT_EQ(answered(), QStringList{QStringLiteral("pal")});
}

TEST_F(AwayTest, TheAwayMenuOffersTheThreeChoices)
{
    QMenu mnuAwy;
    away.populateMenu(mnuAwy);
    const QList<QAction *> actions = mnuAwy.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions.at(0)->objectName(), QStringLiteral("awyDef"));
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("&Default Away"));
    EXPECT_EQ(actions.at(1)->objectName(), QStringLiteral("awyAd"));
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("&Advertise"));
    EXPECT_EQ(actions.at(2)->objectName(), QStringLiteral("awyCustom"));
    EXPECT_EQ(actions.at(2)->text(), QStringLiteral("&Custom"));

    actions.at(1)->trigger();
    EXPECT_EQ(away.awayText(), AwayMessages::advertiseText());
    EXPECT_TRUE(away.isAway());
}

} // namespace
