// What a person does every day beyond the first sign-on: buddies added,
// removed, blocked and unblocked; a buddy's profile; answers to password and
// profile changes; warnings; and windows asking for attention.

#include "desktopfixture.h"

#include "attention.h"
#include "conversation/history.h"
#include "history/frmhistory.h"
#include "listednames.h"
#include "main/buddyactions.h"
#include "prefs/frmaimprefs.h"
#include "prefs/preferenceslauncher.h"
#include "main/conversationrouter.h"
#include "uniformlistview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace {

// The stored list puts Friend in a group of its own, and Pest on the deny list.
const QByteArray WorkConfig = "CONFIG2:m:1\ng:Buddies\nb:Pal\ng:Work\nb:Friend\nd:Pest\ndone:\n";

struct RecordingNotifier final : DesktopNotifier
{
    void notify(const QString &summary, const QString &body) override { shown << summary + QLatin1Char('|') + body; }
    QStringList shown;
};

class EverydayTest : public DesktopTest
{
protected:
    void online(const QByteArray &name) { serverSays("UPDATE_BUDDY2:" + name + ":T:0:1234567:0: O "); }
    void select(int row) { main->lstBuddyson->setCurrentIndex(main->lstBuddyson->model()->index(row, 0)); }
    QStringList menuItems() const
    {
        QStringList items;
        if (QMenu *menu = main->buddyActions().menu()) {
            for (QAction *action : menu->actions()) {
                if (!action->isSeparator())
                    items << action->text();
            }
        }
        return items;
    }
    void choose(const QString &item)
    {
        QMenu *menu = main->buddyActions().menu();
        ASSERT_NE(menu, nullptr);
        for (QAction *action : menu->actions()) {
            if (action->text() == item) {
                menu->close();
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item.toStdString();
    }
    QString notice() const { return main->lbNotice->isVisible() ? main->lbNotice->text() : QString(); }
};

TEST_F(EverydayTest, BuddiesAreAddedRemovedBlockedAndReachedFromTheKeyboard)
{
    activate(main.get());
    signOn("Some Body", WorkConfig);

    dialogs.textAnswers << QStringLiteral("Amy Lee") << QStringLiteral("Pals");
    main->stAddBuddy->trigger();
    EXPECT_EQ(sentLines(), QList<QByteArray>{"toc2_new_buddies \"g:Pals\nb:Amy Lee\n\""});
    EXPECT_EQ(dialogs.defaultsOffered.last(), QStringLiteral("Buddies"));
    EXPECT_FALSE(notice().isEmpty());

    online("Friend");
    select(0);
    QTest::keyClick(main->lstBuddyson, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(menuItems(),
              QStringList({"Send &Message", "Get &Info", "&Add Buddy...", "&Remove Buddy", "&Block", "&History..."}));
    main->buddyActions().menu()->actions().last()->trigger();
    ASSERT_NE(main->context().history.window(), nullptr);
    EXPECT_EQ(main->context().history.window()->lbConversation->text(), QStringLiteral("Conversation with Friend"));

    // Enter opens the conversation; the IM picture offers the selected name.
    main->buddyActions().menu()->close();
    QTest::keyClick(main->lstBuddyson, Qt::Key_Return);
    EXPECT_NE(main->FormByTag(QStringLiteral("friend")), -1);
    dialogs.textAnswers << QString();
    main->imgIM->click();
    EXPECT_EQ(dialogs.defaultsOffered.last(), QStringLiteral("Friend"));

    // Blocking from the menu asks first; then both the menu and the
    // conversation offer to undo it.
    QTest::keyClick(main->lstBuddyson, Qt::Key_Menu);
    dialogs.yesNoAnswers << true;
    choose(QStringLiteral("&Block"));
    // Everyone was allowed, so the privacy mode now keeps the people listed out.
    EXPECT_EQ(sentLines(), (QList<QByteArray>{R"(toc2_add_deny "friend")", "toc2_set_pdmode 4"}));
    EXPECT_TRUE(main->lbNotice->text().startsWith(QStringLiteral("Friend has been blocked. The people you block")));
    auto *im = qobject_cast<frmAimIM *>(windows.windows().value(main->FormByTag(QStringLiteral("friend"))));
    ASSERT_NE(im, nullptr);
    EXPECT_TRUE(im->cmdUnblock->isVisibleTo(im));
    main->buddyActions().showMenu("Friend", QPoint());
    EXPECT_TRUE(menuItems().contains(QStringLiteral("&Unblock")));
    main->buddyActions().menu()->close();
    im->cmdUnblock->click();
    // Pest, from the stored list, is still blocked: the privacy mode stays.
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc2_remove_deny "friend")"});
    EXPECT_FALSE(im->cmdUnblock->isVisibleTo(im));

    // The stored deny list counts from the sign-on on.
    main->buddyActions().showMenu("Pest", QPoint());
    EXPECT_TRUE(menuItems().contains(QStringLiteral("&Unblock")));
    main->buddyActions().menu()->close();

    // A removal names the group the stored list gave, and the entry goes.
    main->buddyActions().showMenu("Friend", QPoint());
    choose(QStringLiteral("&Remove Buddy"));
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc2_remove_buddy "Friend" "Work")"});
    EXPECT_EQ(main->lstBuddyson->model()->rowCount(), 0);
}

TEST_F(EverydayTest, AMessageForSomebodyOfflineIsMarkedAndCanGoWhenTheySignOn)
{
    signOn("Some Body", WorkConfig);
    auto *im = main->conversations().showConversation("Friend");
    im->txtMessage->setText(QStringLiteral("see you at 5?"));
    im->Send();
    EXPECT_TRUE(sentLines().isEmpty()) << "the server would drop it without a word";
    EXPECT_TRUE(im->txtIM->toPlainText().endsWith(QStringLiteral("see you at 5? (Friend is offline; not delivered)")));
    ASSERT_TRUE(im->cmdSendLater->isVisibleTo(im));
    im->cmdSendLater->click();
    EXPECT_TRUE(im->txtIM->toPlainText().endsWith(QStringLiteral("see you at 5? (goes when Friend signs on)")));
    EXPECT_FALSE(im->cmdSendLater->isVisibleTo(im));

    online("Friend");
    EXPECT_EQ(
        sentLines(),
        QList<QByteArray>{
            R"(toc_send_im "friend" "<body bgcolor=\"\"#EEEEEE\"\"><font face=\"\"Trebuchet MS\"\">see you at 5?")"});
    EXPECT_TRUE(im->txtIM->toPlainText().endsWith(QStringLiteral("Some Body: see you at 5?")));

    // Somebody who is no buddy: only the server can tell, and it is told in the conversation.
    auto *other = main->conversations().showConversation("Stranger");
    other->txtMessage->setText(QStringLiteral("hello?"));
    other->Send();
    EXPECT_EQ(sentLines().size(), 1);
    dialogs.shown.clear();
    serverSays("ERROR:901:stranger");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(other->txtIM->toPlainText().endsWith(QStringLiteral("hello? (Stranger is offline; not delivered)")));
    EXPECT_FALSE(other->cmdSendLater->isVisibleTo(other)) << "nothing would ever say they signed on";
}

TEST_F(EverydayTest, ABuddyStoredWithAnAliasShowsItAndIsRemovedByName)
{
    signOn("Some Body", "CONFIG2:g:Work\nb:Friend:Best <b>Pal</b>:::::met at work\nb:Other:::::a note\ndone:\n");
    online("Friend");
    online("Other");
    EXPECT_EQ(listedNames(*main->lstBuddyson), QStringList({"Best <b>Pal</b>", "Other"}));

    main->buddyActions().showMenu("Friend", QPoint());
    choose(QStringLiteral("&Remove Buddy"));
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc2_remove_buddy "Friend" "Work")"});
    EXPECT_EQ(main->lstBuddyson->model()->rowCount(), 1);
    // Added again, it is stored without the alias it had.
    dialogs.textAnswers << QStringLiteral("Friend") << QStringLiteral("Work");
    main->stAddBuddy->trigger();
    online("Friend");
    EXPECT_EQ(listedNames(*main->lstBuddyson), QStringList({"Other", "Friend"}));
}

TEST_F(EverydayTest, GetInfoOpensOnlyTheAnswerToTheUsersOwnRequest)
{
    signOn();
    QList<QUrl> opened;
    main->buddyActions().setUrlOpener([&](const QUrl &url) {
        opened << url;
        return true;
    });
    serverSays("GOTO_URL:profile:info?from=nobody"); // asked by nobody: ignored
    EXPECT_TRUE(opened.isEmpty());

    online("Friend");
    main->buddyActions().showMenu("Friend", QPoint());
    choose(QStringLiteral("Get &Info"));
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"(toc_get_info "friend")"});
    serverSays("GOTO_URL:profile:info?cookie=c1&user=friend");
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("http://toc.test:5190/info?cookie=c1&user=friend"))});
    EXPECT_EQ(notice(), QStringLiteral("Friend's profile is open in your browser."));

    main->buddyActions().getInfo("Friend");
    serverSays("GOTO_URL:profile:javascript:alert(1)");
    EXPECT_EQ(opened.size(), 1) << "only web locations are opened";

    // No browser would take it: the line says so instead of claiming it is open.
    main->buddyActions().setUrlOpener([](const QUrl &) { return false; });
    main->buddyActions().getInfo("Friend");
    serverSays("GOTO_URL:profile:info?cookie=c2&user=friend");
    EXPECT_EQ(notice(),
              QStringLiteral("Friend's profile could not be opened: http://toc.test:5190/info?cookie=c2&user=friend"));

    main->buddyActions().setInfoTimeout(20);
    main->buddyActions().getInfo("Friend");
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice() == QStringLiteral("No answer came for Friend's profile."); }));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(EverydayTest, PasswordProfileAndWarningsAreAnsweredInOneLine)
{
    signOn();
    auto *prefs = static_cast<frmAimPrefs *>(openPreferences());
    prefs->cmdChangepw->click();
    EXPECT_EQ(prefs->lbStatus->text(), QStringLiteral("Changing your password..."));
    serverSays("ADMIN_PASSWD_STATUS:0");
    EXPECT_EQ(prefs->lbStatus->text(), QStringLiteral("Your password has been changed."));

    // A wrong old password: the server's reason, and the session goes on.
    prefs->cmdChangepw->click();
    serverSays("ERROR:980");
    EXPECT_EQ(prefs->lbStatus->text(), QStringLiteral("Invalid account or password"));
    EXPECT_TRUE(main->Frame1->isVisible());
    dialogs.shown.clear();
    socket->fail(QStringLiteral("The server closed the connection"));
    EXPECT_EQ(dialogs.shown.size(), 1) << "a later loss is still news";

    signOn();
    prefs->cmdSetProfile->click();
    EXPECT_EQ(prefs->lbStatus->text(), QStringLiteral("Your profile has been set."));

    serverSays("EVILED:10:");
    EXPECT_EQ(notice(), QStringLiteral("Warned by anonymous: your warning level is now 10%."));
    serverSays("EVILED:25:<b>Bob</b>");
    EXPECT_EQ(notice(), QStringLiteral("Warned by <b>Bob</b>: your warning level is now 25%."));
    EXPECT_EQ(main->lbNotice->textFormat(), Qt::PlainText);
}

TEST_F(EverydayTest, AMessageForAWindowTheUserIsNotInAsksForAttention)
{
    RecordingNotifier notifier;
    main->context().attention.setNotifier(&notifier);
    signOn();
    frmAimIM *im = openConversation(); // a new window: news enough, no marker
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(notifier.shown, QStringList{"Friend|are you there?"});
    EXPECT_EQ(im->windowTitle(), QStringLiteral("Qiv - Friend"));

    activate(im);
    serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:while you look");
    EXPECT_EQ(notifier.shown.size(), 1) << "nothing for the window the user is in";

    activate(main.get());
    serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:<b>first</b> line\nsecond line");
    EXPECT_EQ(notifier.shown.last(), QStringLiteral("Friend|first line"));
    EXPECT_EQ(im->windowTitle(), Attention::CaptionMarker + QStringLiteral("Qiv - Friend"));
    activate(im);
    EXPECT_EQ(im->windowTitle(), QStringLiteral("Qiv - Friend"));
    main->context().attention.setNotifier(nullptr);
}

} // namespace
