// What the network tells about people, shown: details of every buddy, the
// status and groups looks of the buddy list, buddies announced, the user's own
// idle time told, and the name the server gives the user.

#include "desktopfixture.h"

#include "attention.h"
#include "main/buddyactions.h"
#include "main/buddyannouncer.h"
#include "main/buddyroster.h"
#include "main/desktopidle.h"
#include "main/idlereporter.h"
#include "options.h"
#include "prefs/buddylistprefs.h"
#include "prefs/frmaimprefs.h"
#include "uniformlistview.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTimer>

namespace {

// Today at 15:00, moved by hand.
qint64 afternoon() { return QDateTime(QDate::currentDate(), QTime(15, 0)).toMSecsSinceEpoch(); }

struct RecordingNotifier final : DesktopNotifier
{
    void notify(const QString &summary, const QString &body) override { shown << summary + QLatin1Char('|') + body; }
    QStringList shown;
};

struct FakeDesktop final : DesktopIdle
{
    void ask(Answer answer) override { answer(idleMs); }
    std::optional<qint64> idleMs;
};

class BuddyViewTest : public DesktopTest
{
protected:
    BuddyViewTest()
    {
        const Clock clock = [this] { return now; };
        main->buddyRoster().setClock(clock);
        main->buddyAnnouncer().setClock(clock);
        main->idleReporter().setClock(clock);
    }

    QAbstractItemModel *list() const { return main->lstBuddyson->model(); }
    QVariant at(int row, int role = Qt::DisplayRole) const { return list()->index(row, 0).data(role); }
    QStringList rows() const
    {
        QStringList shown;
        for (int row = 0; row < list()->rowCount(); ++row)
            shown << at(row).toString();
        return shown;
    }
    void choose(Options::Choices choices) { main->context().options.apply(choices); }
    QStringList menuItems() const
    {
        QStringList items;
        for (QAction *action : main->buddyActions().menu()->actions()) {
            if (!action->isSeparator())
                items << action->text();
        }
        return items;
    }
    void pick(const QString &item)
    {
        QMenu *menu = main->buddyActions().menu();
        menu->close();
        for (QAction *action : menu->actions()) {
            if (action->text() == item)
                action->trigger();
        }
    }
    QString notice() const { return main->lbNotice->text(); }

    qint64 now = afternoon();
    const qint32 twoFive = qint32(QDateTime(QDate::currentDate(), QTime(14, 5)).toSecsSinceEpoch());
};

TEST_F(BuddyViewTest, EveryBuddyTellsItsDetailsAndIdleTimesCountOnEachMinute)
{
    signOn();
    serverSays("UPDATE_BUDDY2:<b>Friend</b>:T:10:" + QByteArray::number(twoFive) + ":12: AU:");
    const QString since = QLocale().toString(QTime(14, 5), QLocale::ShortFormat);
    EXPECT_EQ(at(0, Qt::AccessibleDescriptionRole).toString(),
              QStringLiteral("<b>Friend</b>\nAway, idle 12m\nWarning level: 10%\nOnline since: ") + since
                  + QStringLiteral("\nAccount: AIM, administrator"));
    EXPECT_TRUE(at(0, Qt::ToolTipRole).toString().contains(QStringLiteral("&lt;b&gt;Friend&lt;/b&gt;\nAway")))
        << "a name is never markup";

    now += 61 * 60 * 1000;
    EXPECT_TRUE(at(0, Qt::AccessibleDescriptionRole).toString().contains(QStringLiteral("Away, idle 1h 13m")));
    // A new report starts the count again from what it says.
    serverSays("UPDATE_BUDDY2:<b>Friend</b>:T:0:0:0:AC :");
    EXPECT_EQ(at(0, Qt::AccessibleDescriptionRole).toString(),
              QStringLiteral("<b>Friend</b>\nAvailable\nWarning level: 0%\nAccount: AOL, wireless"));

    // Without the status look, a row is the name alone, as it always was.
    serverSays("UPDATE_BUDDY2:Pal:T:0:0:30: OU:");
    for (const int role : {int(Qt::DecorationRole), int(Qt::ForegroundRole), BuddyRoles::IdleText})
        EXPECT_FALSE(at(1, role).isValid()) << role;
    EXPECT_EQ(at(1, Qt::AccessibleTextRole).toString(), QStringLiteral("Pal"));
    UniformListView *view = main->lstBuddyson;
    const QImage drawn = view->viewport()->grab().toImage();
    QAbstractItemDelegate *ours = view->itemDelegate();
    QStyledItemDelegate plain;
    view->setItemDelegate(&plain);
    EXPECT_EQ(view->viewport()->grab().toImage(), drawn) << "drawn as a plain list row";
    view->setItemDelegate(ours);
}

TEST_F(BuddyViewTest, TheStatusLookDimsAwayBuddiesAndRedrawsIdleTimesWithoutMovingARow)
{
    signOn();
    for (const char *line : {"UPDATE_BUDDY2:Zed:T:0:0:0: O :", "UPDATE_BUDDY2:Away One:T:0:0:0: OU:",
                             "UPDATE_BUDDY2:Sleepy:T:0:0:125: O :"})
        serverSays(line);
    auto *prefs = static_cast<frmAimPrefs *>(openPreferences());
    prefs->lbMenu[frmAimPrefs::BuddyListPage]->click();
    EXPECT_FALSE(prefs->buddyListPage->chkShowStatus->isChecked()) << "off until the user turns it on";
    prefs->buddyListPage->chkShowStatus->setChecked(true);
    prefs->cmdOK->click();

    EXPECT_EQ(rows(), QStringList({"Zed", "Away One", "Sleepy"}));
    EXPECT_EQ(at(1, Qt::ForegroundRole).value<QColor>(), BuddyText::faint());
    EXPECT_FALSE(at(1, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(at(0, Qt::ForegroundRole).isValid());
    EXPECT_EQ(at(1, Qt::AccessibleTextRole).toString(), QStringLiteral("Away One, away"));
    EXPECT_EQ(at(2, BuddyRoles::IdleText).toString(), QStringLiteral("2h 5m"));
    EXPECT_EQ(at(2, Qt::AccessibleTextRole).toString(), QStringLiteral("Sleepy, idle 2h 5m"));

    EXPECT_TRUE(main->buddyRoster().minuteTimer().isActive());
    EXPECT_EQ(main->buddyRoster().minuteTimer().interval(), BuddyRoster::MinuteMs);
    QSignalSpy changed(list(), &QAbstractItemModel::dataChanged);
    QSignalSpy moved(list(), &QAbstractItemModel::layoutChanged);
    QSignalSpy removed(list(), &QAbstractItemModel::rowsRemoved);
    now += 60 * 1000;
    main->buddyRoster().refreshIdle(); // what each tick does
    EXPECT_EQ(at(2, BuddyRoles::IdleText).toString(), QStringLiteral("2h 6m"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(moved.count() + removed.count(), 0);
    EXPECT_EQ(rows(), QStringList({"Zed", "Away One", "Sleepy"}));
}

TEST_F(BuddyViewTest, TheGroupsViewListsStoredGroupsOpensAndClosesThemAndEditsThemOnTheServer)
{
    // amy lee is stored with an alias, which the list shows.
    signOn("Some Body", "CONFIG2:m:1\ng:Buddies\nb:Pal\ng:Work\nb:Zed\nb:Friend\nb:amy lee:Amy\ndone:\n");
    choose({.showGroups = true});
    serverSays("UPDATE_BUDDY2:Friend:T:0:0:0: O :");
    EXPECT_EQ(rows(), QStringList({"\u25BE Buddies (0/1)", "Pal", "\u25BE Work (1/3)", "Amy", "Friend", "Zed"}));
    EXPECT_EQ(at(1, Qt::ForegroundRole).value<QColor>(), BuddyText::faint()) << "offline is greyed";
    EXPECT_FALSE(at(4, Qt::ForegroundRole).isValid());
    EXPECT_EQ(at(1, Qt::AccessibleTextRole).toString(), QStringLiteral("Pal, offline"));

    // Headings open and close from the keyboard and by a click.
    UniformListView *view = main->lstBuddyson;
    view->setCurrentIndex(list()->index(3, 0));
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(view->currentIndex().row(), 2) << "Left goes from a buddy to its heading";
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(rows().last(), QStringLiteral("\u25B8 Work (1/3)"));
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(rows().size(), 6);
    QTest::keyClick(view, Qt::Key_Space);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(rows().size(), 6);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(list()->index(0, 0)).center());
    EXPECT_EQ(rows().mid(0, 2), QStringList({"\u25B8 Buddies (0/1)", "\u25BE Work (1/3)"}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(list()->index(0, 0)).center());

    // A buddy moves to another group: added there first, then taken out.
    main->buddyActions().showMenu("Friend", QPoint(), "Work");
    EXPECT_EQ(menuItems(),
              QStringList({"Send &Message", "Get &Info", "&Add Buddy...", "Mo&ve to Group...", "&Remove Buddy",
                           "&Block", "&History...", "Add &Group..."}));
    dialogs.textAnswers << QStringLiteral("Buddies");
    pick(QStringLiteral("Mo&ve to Group..."));
    EXPECT_EQ(dialogs.choicesOffered.last(), QStringList{"Buddies"});
    EXPECT_EQ(
        sentLines(),
        (QList<QByteArray>{"toc2_new_buddies \"g:Buddies\nb:Friend\n\"", R"~(toc2_remove_buddy "Friend" "Work")~"}));
    EXPECT_EQ(rows(), QStringList({"\u25BE Buddies (1/2)", "Friend", "Pal", "\u25BE Work (0/2)", "Amy", "Zed"}));

    // A rename is a new group holding the same buddies (and their aliases), listed last.
    main->buddyActions().showMenu(QByteArray(), QPoint(), "Work");
    EXPECT_EQ(menuItems(),
              QStringList({"&Add Buddy...", "&History...", "Add &Group...", "Re&name Group...", "Remove Gr&oup"}));
    dialogs.textAnswers << QStringLiteral("Old Work");
    pick(QStringLiteral("Re&name Group..."));
    EXPECT_EQ(
        sentLines(),
        (QList<QByteArray>{R"~(toc2_new_group "Old Work")~", "toc2_new_buddies \"g:Old Work\nb:amy lee:Amy\nb:Zed\n\"",
                           R"~(toc2_remove_buddy "amy lee" "Zed" "Work")~", R"~(toc2_del_group "Work")~"}));
    EXPECT_EQ(rows().mid(3), QStringList({"\u25BE Old Work (0/2)", "Amy", "Zed"}));

    // A name the server's lines cannot carry is refused; a removal asks first.
    dialogs.textAnswers << QStringLiteral("a:b");
    main->buddyActions().addGroup();
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_TRUE(notice().contains(QStringLiteral("colon")));
    dialogs.yesNoAnswers << true;
    main->buddyActions().removeGroup("Old Work");
    EXPECT_TRUE(dialogs.shown.last().text.contains(QStringLiteral("the 2 buddies")));
    EXPECT_EQ(
        sentLines(),
        (QList<QByteArray>{R"~(toc2_remove_buddy "amy lee" "Zed" "Old Work")~", R"~(toc2_del_group "Old Work")~"}));
    EXPECT_EQ(rows(), QStringList({"\u25BE Buddies (1/2)", "Friend", "Pal"}));

    // New buddies are offered the stored groups; a double click opens a conversation.
    dialogs.textAnswers << QStringLiteral("Amy") << QStringLiteral("Buddies");
    main->buddyActions().addBuddy();
    EXPECT_EQ(dialogs.choicesOffered.last(), QStringList{"Buddies"});
    EXPECT_EQ(rows(), QStringList({"\u25BE Buddies (1/3)", "Amy", "Friend", "Pal"}));
    const QPoint friendRow = view->visualRect(list()->index(2, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, friendRow);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, friendRow);
    EXPECT_NE(main->FormByTag(QStringLiteral("friend")), -1);
}

TEST_F(BuddyViewTest, BuddiesSigningOnAndOffAreAnnouncedOnlyWhenAskedAndNotAtSignOn)
{
    RecordingNotifier notifier;
    main->context().attention.setNotifier(&notifier);
    choose({.announceBuddies = true});
    signOn();
    serverSays("UPDATE_BUDDY2:Pal:T:0:0:0: O :"); // online before the user
    now += BuddyAnnouncer::QuietAfterSignOnMs;
    serverSays("UPDATE_BUDDY2:Pal:T:0:0:5: OU:"); // away, still online
    serverSays("UPDATE_BUDDY2:pal:F:0:0:0: O :"); // departures come under the plain name
    serverSays("UPDATE_BUDDY2:Zed:T:0:0:0: O :");
    EXPECT_EQ(notifier.shown, QStringList({"Pal|signed off", "Zed|signed on"}));
    choose({});
    serverSays("UPDATE_BUDDY2:Zed:F:0:0:0: O :");
    EXPECT_EQ(notifier.shown.size(), 2);
    main->context().attention.setNotifier(nullptr);
}

TEST_F(BuddyViewTest, TheUserIsToldIdleAfterTheChosenMinutesWithoutInputAndBackAtTheFirstInput)
{
    IdleReporter &idle = main->idleReporter();
    FakeDesktop desktop; // says nothing at first
    idle.setDesktopIdle(&desktop);
    signOn();
    now += 9 * 60 * 1000;
    idle.check();
    EXPECT_TRUE(sentLines().isEmpty());
    now += 60 * 1000;
    idle.check();
    idle.check();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"~(toc_set_idle "600")~"});
    QTest::keyClick(main->lstBuddyson, Qt::Key_Down);
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"~(toc_set_idle "0")~"});

    // Input elsewhere on the desktop counts, where the desktop says.
    now += 15 * 60 * 1000;
    desktop.idleMs = 2 * 60 * 1000;
    idle.check();
    EXPECT_TRUE(sentLines().isEmpty());
    desktop.idleMs = 20 * 60 * 1000;
    idle.check();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"~(toc_set_idle "900")~"});
    desktop.idleMs = 0;
    idle.check();
    EXPECT_EQ(sentLines(), QList<QByteArray>{R"~(toc_set_idle "0")~"});
    idle.setDesktopIdle(nullptr);

    // The minutes are the user's; turning the choice off says the user is back.
    choose({.tellIdle = true, .idleMinutes = 3});
    QTest::keyClick(main->lstBuddyson, Qt::Key_Up);
    now += 3 * 60 * 1000;
    idle.check();
    choose({.tellIdle = false});
    EXPECT_EQ(sentLines(), (QList<QByteArray>{R"~(toc_set_idle "180")~", R"~(toc_set_idle "0")~"}));
    now += 60 * 60 * 1000;
    idle.check();
    EXPECT_TRUE(sentLines().isEmpty());
}

TEST_F(BuddyViewTest, TheNameTheServerGivesIsTheOneShownEvenWhenItChangesLater)
{
    signOn("some body");
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Qiv - some body's Buddy List"));
    serverSays("NICK:Some B o d y");
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Qiv - Some B o d y's Buddy List"));
    EXPECT_EQ(main->strMyName, QStringLiteral("Some B o d y"));
    serverSays("NICK:Somebody Else");
    EXPECT_EQ(main->strMyName, QStringLiteral("Some B o d y")) << "another name is not the user's";
}

} // namespace
