// Pictures of the windows for the user guide, taken from a real session over
// a scripted server: build/screenshots/guide/*.png.

#include "desktopfixture.h"

#include "history/frmhistory.h"
#include "main/buddyactions.h"
#include "main/buddyroster.h"
#include "options.h"
#include "prefs/frmaimprefs.h"
#include "uniformlistview.h"

#include <QCheckBox>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

class GuideScreenshots : public DesktopTest
{
protected:
    // Saves the window and checks the picture really shows it.
    static void save(QWidget *window, const char *name)
    {
        ASSERT_NE(window, nullptr) << name;
        window->show();
        // Text set just now is laid out before the picture is taken.
        if (window->layout())
            window->layout()->activate();
        const QString folder = QStringLiteral(QIV_GUIDE_SCREENSHOT_DIR);
        ASSERT_TRUE(QDir().mkpath(folder));
        const QImage picture = window->grab().toImage();
        EXPECT_EQ(picture.size() / picture.devicePixelRatio(), window->size()) << name;
        EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"))) << name;
    }
};

TEST_F(GuideScreenshots, TheWindowsOfAnOrdinarySession)
{
    const auto start = makeStartWindow();
    save(start.get(), "startup");

    main->txtSn->setText(QStringLiteral("Some Body"));
    main->txtPw->setText(QStringLiteral("secret"));
    save(main.get(), "signon");

    signOn();
    for (const char *buddy : {"Friend", "QivBot", "Alice Ng", "bob42"})
        serverSays(QByteArray("UPDATE_BUDDY2:") + buddy + ":T:0:1234567:0: O");
    EXPECT_EQ(main->lstBuddyson->model()->rowCount(), 4);
    main->lstBuddyson->setCurrentIndex(main->lstBuddyson->model()->index(0, 0));
    save(main.get(), "buddylist");

    // The buddy's menu, drawn over the window it opens from.
    main->buddyActions().showMenu("Friend", main->lstBuddyson->viewport()->mapToGlobal(QPoint(30, 12)));
    QMenu *menu = main->buddyActions().menu();
    ASSERT_NE(menu, nullptr);
    QPixmap withMenu = main->grab();
    {
        QPainter painter(&withMenu);
        painter.drawPixmap(menu->pos() - main->mapToGlobal(QPoint(0, 0)), menu->grab());
    }
    menu->close();
    ASSERT_TRUE(withMenu.save(QStringLiteral(QIV_GUIDE_SCREENSHOT_DIR "/buddymenu.png")));

    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    im->txtMessage->setText(QStringLiteral("Yes! Just got back."));
    QTest::keyClick(im->txtMessage, Qt::Key_Return);
    serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:Great, lunch at noon? The menu: http://lunch.example/today");
    im->txtMessage->setText(QStringLiteral("Sounds good"));
    save(im, "conversation");
    serverSays("CLIENT_EVENT2:Friend:2");
    save(im, "typing");

    frmAimChat *chat = joinRoom();
    ASSERT_NE(chat, nullptr);
    serverSays("CHAT_IN_ENC:17:Friend:F:A:en:hi everyone");
    serverSays("CHAT_IN_ENC:17:Some Body:F:A:en:hello!");
    chat->txtMessage->setPlainText(QStringLiteral("Who is up for a game?"));
    save(chat, "chatroom");

    auto *prefs = qobject_cast<frmAimPrefs *>(openPreferences());
    ASSERT_NE(prefs, nullptr);
    prefs->lbMenu[frmAimPrefs::FontPage]->click();
    save(prefs, "preferences");
}

TEST_F(GuideScreenshots, TheHistoryWindow)
{
    QTemporaryDir kept;
    openMainWindow(KeptPlaces{QString(), kept.path()});
    auto *prefs = qobject_cast<frmAimPrefs *>(openPreferences());
    ASSERT_NE(prefs, nullptr);
    prefs->chkHistory->setChecked(true);
    prefs->cmdOK->click();
    signOn();
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    for (const char *line : {"Me: Yes! Just got back.", "Friend: Great, lunch at noon?",
                             "Me: Sounds good, the usual place?", "Friend: See you there"}) {
        const QByteArray text(line);
        if (text.startsWith("Me: ")) {
            im->txtMessage->setText(QString::fromUtf8(text.mid(4)));
            QTest::keyClick(im->txtMessage, Qt::Key_Return);
        } else {
            serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:" + text.mid(8));
        }
    }
    frmAimChat *chat = joinRoom();
    ASSERT_NE(chat, nullptr);
    serverSays("CHAT_IN_ENC:17:Friend:F:A:en:anyone for lunch tomorrow?");

    auto *history = qobject_cast<frmHistory *>(openHistory());
    ASSERT_NE(history, nullptr);
    history->txtFind->setText(QStringLiteral("lunch"));
    history->Find();
    ASSERT_EQ(history->lstMatches->topLevelItemCount(), 2);
    history->lstMatches->setCurrentItem(history->lstMatches->topLevelItem(1));
    save(history, "history");
}

TEST_F(GuideScreenshots, TheBuddyListWithStatusAndWithGroups)
{
    signOn("Some Body",
           "CONFIG2:m:4\ng:Buddies\nb:Friend\nb:QivBot\ng:Work\nb:Alice Ng\nb:bob42\nb:Carol\n"
           "g:Family\nb:Mum\np:Alice Ng\np:Mum\nd:spammer99\ndone:\n");
    for (const char *line : {"UPDATE_BUDDY2:Friend:T:0:1234567:0: OU:", "UPDATE_BUDDY2:QivBot:T:0:1234567:0: O :",
                             "UPDATE_BUDDY2:Alice Ng:T:0:1234567:12: O :", "UPDATE_BUDDY2:bob42:T:0:1234567:125: O :"})
        serverSays(line);
    Options &options = main->context().options;
    options.apply({.showStatus = true});
    save(main.get(), "buddystatus");

    options.apply({.showStatus = true, .showGroups = true});
    main->buddyRoster().groups().setExpanded("Family", false);
    main->lstBuddyson->setCurrentIndex(main->lstBuddyson->model()->index(4, 0));
    save(main.get(), "buddygroups");
    options.apply({});

    auto *prefs = qobject_cast<frmAimPrefs *>(openPreferences());
    ASSERT_NE(prefs, nullptr);
    prefs->lbMenu[frmAimPrefs::BuddyListPage]->click();
    save(prefs, "buddyprefs");
    prefs->lbMenu[frmAimPrefs::PrivacyPage]->click();
    save(prefs, "privacy");
}

} // namespace
