// The windows driven from the keyboard alone, with real key presses: Tab
// order, access keys, picture buttons and Escape.

#include "desktopfixture.h"

#include "main/awaymessages.h"
#include "main/frmaimaway.h"
#include "prefs/preferenceslauncher.h"
#include "prefs/frmaimprefs.h"
#include "uniformlistview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace {

class KeyboardTest : public DesktopTest
{
protected:
    // Object names of the controls Tab visits from first, first included,
    // until it comes back round (or after a bounded number of presses).
    static QStringList tabChain(QWidget *window, QWidget *first)
    {
        activate(window);
        first->setFocus(Qt::TabFocusReason);
        QStringList chain;
        for (int press = 0; press < 20; ++press) {
            QWidget *focus = QApplication::focusWidget();
            if (!focus || (press > 0 && focus == first))
                break;
            chain << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return chain;
    }

    static void pressEscape(QWidget *window)
    {
        activate(window);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
    }
};

TEST_F(KeyboardTest, TabWalksEachWindowTopToBottom)
{
    EXPECT_EQ(tabChain(main.get(), main->txtSn),
              QStringList({"txtSn", "txtPw", "cmdLogin", "chkRemember", "chkSignOnAgain", "cmdCredits", "cmdHelp"}));
    // The password box joins the chain only with "Remember me" ticked.
    main->chkRemember->setChecked(true);
    EXPECT_EQ(tabChain(main.get(), main->txtSn),
              QStringList({"txtSn", "txtPw", "cmdLogin", "chkRemember", "chkRememberPassword", "chkSignOnAgain",
                           "cmdCredits", "cmdHelp"}));
    signOn();
    EXPECT_EQ(
        tabChain(main.get(), main->lstBuddyson),
        QStringList({"lstBuddyson", "imgIM", "imgChat", "imgAway", "imgSetup", "cmdLogoff", "cmdCredits", "cmdHelp"}));

    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    // Links in the transcript are reached with its caret, not with Tab.
    serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:http://a.example/ and <a href=\"http://b.example/\">b</a>");
    EXPECT_EQ(tabChain(im, im->txtMessage),
              QStringList({"txtMessage", "cmdSend", "chkClear", "cmdWarn", "cmdBlock", "cmdHistory", "txtIM"}));

    frmAimChat *chat = joinRoom();
    ASSERT_NE(chat, nullptr);
    serverSays("CHAT_IN_ENC:17:Friend:F:A:en:see https://c.example/ too");
    EXPECT_EQ(tabChain(chat, chat->txtMessage),
              QStringList({"txtMessage", "cmdSend", "chkClear", "cmdClearWindow", "cmdInvite", "txtChat", "lstHere"}));

    const auto start = makeStartWindow();
    EXPECT_EQ(tabChain(start.get(), start->cmdStart), QStringList({"cmdStart", "cmdUpdate", "Image3"}));
}

TEST_F(KeyboardTest, FocusStartsWhereTheNextStepIs)
{
    // The start-up window opens on "Let's Go!", and Enter takes it.
    const auto start = makeStartWindow();
    activate(start.get());
    EXPECT_EQ(QApplication::focusWidget(), start->cmdStart);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(start->isVisible()) << "Enter should have gone on to the main window";
    EXPECT_EQ(endCalls, 0);

    // After sign-on the buddy list has it, not the buttons under the panels.
    activate(main.get());
    signOn();
    EXPECT_EQ(QApplication::focusWidget(), main->lstBuddyson);

    // A conversation opens with the cursor in its entry box.
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    activate(im);
    EXPECT_EQ(QApplication::focusWidget(), im->txtMessage);
}

TEST_F(KeyboardTest, AccessKeysReachTheSignOnFieldsTheRememberBoxesAndSignOn)
{
    activate(main.get());
    QTest::keyClick(main.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(main->txtPw->hasFocus());
    // "&Screenname" and "&Sign On" share Alt+S: presses alternate between them.
    QSet<QString> reached;
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(main.get(), Qt::Key_S, Qt::AltModifier);
        reached << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(reached, QSet<QString>({"txtSn", "cmdLogin"}));
    // Alt+W does nothing until Alt+M has ticked "Remember me". A check box
    // answers its key with an animated click, a moment later.
    QTest::keyClick(main.get(), Qt::Key_W, Qt::AltModifier);
    QTest::keyClick(main.get(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->chkRemember->isChecked(); }, 2000));
    EXPECT_FALSE(main->chkRememberPassword->isChecked());
    QTest::keyClick(main.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->chkRememberPassword->isChecked(); }, 2000));
    main->cmdLogin->setFocus();
    QTest::keyClick(main->cmdLogin, Qt::Key_Return);
    EXPECT_EQ(main->lbStat->text(), QStringLiteral("Connecting..."));
}

TEST_F(KeyboardTest, PictureMenusOpenAndTheirItemsAnswerTheirAccessKeys)
{
    signOn();
    activate(main.get());
    main->imgSetup->setFocus(Qt::TabFocusReason);
    QTest::keyClick(main->imgSetup, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->mnuSetup->isVisible(); }, 2000));
    QTest::keyClick(main->mnuSetup, Qt::Key_P);
    ASSERT_NE(main->preferences().window(), nullptr);
    EXPECT_TRUE(main->preferences().window()->isVisible());

    activate(main.get());
    main->imgAway->setFocus(Qt::TabFocusReason);
    QTest::keyClick(main->imgAway, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->mnuAwy->isVisible(); }, 2000));
    QTest::keyClick(main->mnuAwy, Qt::Key_D);
    EXPECT_TRUE(main->away().window().isVisible());
    EXPECT_TRUE(main->lbAway->isVisible());
}

TEST_F(KeyboardTest, SpaceOnAConversationPictureAsksFirst)
{
    signOn();
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    activate(im);
    dialogs.yesNoAnswers << false << true;
    im->cmdBlock->setFocus(Qt::TabFocusReason);
    QTest::keyClick(im->cmdBlock, Qt::Key_Space);
    im->cmdWarn->setFocus(Qt::TabFocusReason);
    QTest::keyClick(im->cmdWarn, Qt::Key_Space);
    ASSERT_GE(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure you want to block Friend?"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Are you sure you want to warn Friend?"));
    EXPECT_EQ(sentLines(), QList<QByteArray>({"toc_evil \"friend\" \"norm\""}));
}

TEST_F(KeyboardTest, EscapeLeavesInformationWindowsForGood)
{
    QPointer<QWidget> about = openAbout();
    QPointer<QWidget> credits = openCredits();
    ASSERT_TRUE(about && credits);
    for (QPointer<QWidget> *window : {&about, &credits}) {
        pressEscape(*window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isNull(); }, 2000)) << "not destroyed";
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(KeyboardTest, EscapeInPreferencesIsCancel)
{
    QWidget *window = openPreferences();
    auto *prefs = qobject_cast<frmAimPrefs *>(window);
    ASSERT_NE(prefs, nullptr);
    const QString before = main->txtFont->text();
    prefs->txtFface->setText(QStringLiteral("Georgia"));
    prefs->txtFface->setFocus();
    pressEscape(prefs);
    EXPECT_FALSE(prefs->isVisible());
    ASSERT_EQ(main->preferences().window(), prefs) << "Cancel hides, it does not destroy";
    EXPECT_EQ(prefs->txtFface->text(), QStringLiteral("Georgia")) << "typed text stays for next time";
    EXPECT_EQ(main->txtFont->text(), before) << "nothing is applied";
}

TEST_F(KeyboardTest, EscapeInTheAwayWindowIsImBack)
{
    signOn();
    QWidget *away = goAway();
    sentLines();
    pressEscape(away);
    EXPECT_FALSE(away->isVisible());
    EXPECT_FALSE(main->lbAway->isVisible());
    EXPECT_EQ(sentLines(), QList<QByteArray>({"toc_set_away \"\""}));
}

TEST_F(KeyboardTest, EscapeClosesAConversation)
{
    signOn();
    QPointer<frmAimIM> im = openConversation();
    ASSERT_TRUE(im);
    pressEscape(im);
    EXPECT_TRUE(QTest::qWaitFor([&] { return im.isNull(); }, 2000));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(KeyboardTest, EscapeInAChatRoomAsksBeforeLeaving)
{
    signOn();
    QPointer<frmAimChat> chat = joinRoom();
    ASSERT_TRUE(chat);
    chat->txtMessage->setFocus();
    dialogs.shown.clear(); // the join's own questions

    dialogs.yesNoAnswers << false;
    pressEscape(chat);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure you want to leave the chatroom?"));
    EXPECT_TRUE(chat && chat->isVisible()) << "No stays in the room";
    EXPECT_TRUE(sentLines().isEmpty());

    dialogs.yesNoAnswers << true;
    pressEscape(chat);
    EXPECT_EQ(sentLines(), QList<QByteArray>({"toc_chat_leave \"17\""}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return chat.isNull(); }, 2000));
}

TEST_F(KeyboardTest, EscapeOnTheStartWindowAsksToExit)
{
    const auto start = makeStartWindow();
    dialogs.yesNoAnswers << false << true;
    pressEscape(start.get());
    EXPECT_EQ(endCalls, 0);
    EXPECT_TRUE(start->isVisible());
    pressEscape(start.get());
    EXPECT_EQ(endCalls, 1);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure you want to exit?"));
}

} // namespace
