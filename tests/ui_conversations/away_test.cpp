// Away messages: setting and ending the away state, and the automatic reply
// each sender gets once per away period.

#include "conversationfixture.h"
#include "main/frmaimaway.h"
#include "productinfo.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

const QString DefaultText = QStringLiteral("I am away from my computer right now.");

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
        EXPECT_TRUE(lbAway.isHidden());
        EXPECT_FALSE(away.window().isVisible());
        EXPECT_TRUE(answered().isEmpty());
    }
    void goAway(const QString &custom = {})
    {
        dialogs.textAnswers = {custom};
        custom.isEmpty() ? away.setDefaultAway() : away.setCustom();
        sentLines();
    }
};

TEST_F(AwayTest, EachChoicePostsPrefixAndTextAndShowsTheTextAlone)
{
    const QString advert = "I'm using Qiv - free aim client! Go check it out at " + ProductInfo::WebAddress;
    const QString custom = QStringLiteral("Lunch (back at $2)");
    const QList<std::tuple<void (AwayMessages::*)(), QString, QByteArray>> choices = {
        {&AwayMessages::setDefaultAway, DefaultText, R"(toc_set_away "<font>I am away from my computer right now.")"},
        {&AwayMessages::setAdvertise, advert, "toc_set_away \"<font>" + advert.toUtf8() + '"'},
        {&AwayMessages::setCustom, custom, R"x(toc_set_away "<font>Lunch \(back at \$2\)")x"},
    };
    dialogs.textAnswers = {custom};
    for (const auto &[choose, text, line] : choices) {
        SCOPED_TRACE(text.toStdString());
        (away.*choose)();
        EXPECT_EQ(sentLines(), QList<QByteArray>{line});
        EXPECT_TRUE(away.isAway());
        EXPECT_TRUE(away.window().isVisible());
        EXPECT_EQ(away.window().txtAway->toPlainText(), text);
        EXPECT_EQ(away.awayText(), text);
    }
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Enter your away message:"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Away Message"));
    EXPECT_EQ(dialogs.defaultsOffered, QStringList{QString()});
}

TEST_F(AwayTest, AnEmptyCustomAnswerChangesNothing)
{
    dialogs.textAnswers = {QString()};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    expectPresent();

    goAway();
    dialogs.textAnswers = {QString()};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(away.awayText(), DefaultText);
}

TEST_F(AwayTest, EachSenderIsAnsweredOncePerAwayPeriodComparedByExactName)
{
    goAway();
    receiveIm("Some Body", "hi");
    EXPECT_EQ(sentLines(),
              QList<QByteArray>{R"(toc_send_im "somebody" "<font>I am away from my computer right now." auto)"});
    frmAimIM *window = conversations()[0];
    EXPECT_EQ(window->txtIM->toPlainText(), "\nSome Body: hi\nMe Myself:(Auto) " + DefaultText);
    EXPECT_EQ(runsOf(window->txtIM).mid(2),
              (QList<TextRun>{{QStringLiteral("Me Myself:(Auto) "), true, Red}, {DefaultText, false, Black}}));

    receiveIm("Some Body", "hello?");
    EXPECT_TRUE(sentLines().isEmpty());

    // Another spelling is another name to the answered list; its window is
    // open already, so the reply goes without the prefix.
    receiveIm("SOME BODY", "still there?");
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_send_im "somebody" "I am away from my computer right now." auto)"});
    EXPECT_EQ(answered(), (QStringList{QStringLiteral("Some Body"), QStringLiteral("SOME BODY")}));

    away.imBack();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_set_away "")"});
    expectPresent();
    receiveIm("Some Body", "not away now");
    EXPECT_TRUE(sentLines().isEmpty());

    goAway();
    receiveIm("Some Body", "and now?");
    EXPECT_EQ(sentLines().size(), 1);
}

TEST_F(AwayTest, AnAutomaticReplyReadsAsOneAndIsNeverAnsweredWithAnother)
{
    goAway();
    serverSays("IM_IN_ENC2:Other Away:T:F:T: OU:F:L:en:<b>gone</b> fishing");
    EXPECT_TRUE(sentLines().isEmpty()) << "two people away would trade away messages for ever";
    ASSERT_EQ(conversations().size(), 1);
    EXPECT_EQ(runsOf(conversations()[0]->txtIM),
              (QList<TextRun>{{QStringLiteral("Other Away:(Auto) "), true, Blue},
                              {QStringLiteral("gone fishing"), false, Black}}));
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
    // `toc_set_away "<font>` and `"` take 21 bytes: 2027 characters fit.
    goAway(QString(2028, QLatin1Char('x')));
    expectPresent();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].kind, ScriptedDialogs::Shown::Notice);
    EXPECT_TRUE(dialogs.shown[1].text.contains(QStringLiteral("too long")));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Qiv"));

    goAway();
    dialogs.textAnswers = {QString(2028, QLatin1Char('x'))};
    away.setCustom();
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(away.awayText(), DefaultText); // the text in force stays

    dialogs.textAnswers = {QString(2027, QLatin1Char('x'))};
    away.setCustom();
    EXPECT_EQ(sentLines().size(), 1);
}

TEST_F(AwayTest, AnAutomaticReplyTooLongToSendIsReportedOnceInTheConversation)
{
    goAway(QString(2027, QLatin1Char('x')));
    receiveIm("pal", "hi");
    receiveIm("pal", "hi again");
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(conversations()[0]->txtIM->toPlainText(),
              QStringLiteral("\npal: hi\nNo automatic reply was sent to pal: the away message is too long "
                             "for the server.\npal: hi again"));
    EXPECT_FALSE(runsOf(conversations()[0]->txtIM)[2].bold);
}

} // namespace
