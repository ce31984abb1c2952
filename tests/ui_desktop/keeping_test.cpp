// What Qiv keeps between runs: nothing unless asked, and with "Remember me"
// or "Keep a history" what a new main window needs to pick up again.

#include "desktopfixture.h"

#include "conversation/history.h"
#include "history/frmhistory.h"
#include "main/buddyroster.h"
#include "options.h"
#include "prefs/buddylistprefs.h"
#include "prefs/conversationprefs.h"
#include "prefs/frmaimprefs.h"
#include "uniformlistview.h"
#include "store/remembered.h"
#include "session/toccommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

namespace {
// The main window in the standard places, inside a home folder of the test's
// own, on a machine where no desktop keyring answers (keyring_test.cpp has one).
class KeepingTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        qputenv("HOME", home.path().toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.filePath(QStringLiteral("no-bus")).toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        openMainWindow(KeptPlaces::standard());
    }

    void TearDown() override
    {
        closeConversations();
        DesktopTest::TearDown();
        QStandardPaths::setTestModeEnabled(false);
        qputenv("HOME", savedHome);
        if (savedBus.isNull())
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        else
            qputenv("DBUS_SESSION_BUS_ADDRESS", savedBus);
    }

    void restart(std::optional<ServerAddress> server = std::nullopt)
    {
        closeConversations();
        openMainWindow(KeptPlaces::standard(), std::move(server));
    }

    void closeConversations()
    {
        for (QWidget *window : windows.windows()) {
            if (qobject_cast<frmAimIM *>(window))
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmAimPrefs *preferences() { return static_cast<frmAimPrefs *>(openPreferences()); }

    QStringList filesUnderHome() const
    {
        QStringList found;
        for (QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << QDir(home.path()).relativeFilePath(it.next());
        return found;
    }

    QByteArray settingsText() const
    {
        QFile file(KeptPlaces::standard().settingsFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QTemporaryDir home;
};
} // namespace

TEST_F(KeepingTest, NothingIsWrittenUnlessTheUserAsks)
{
    signOn();
    openConversation()->chkClear->setChecked(true);
    joinRoom()->chkClear->setChecked(true);
    preferences()->txtFface->setText(QStringLiteral("Verdana"));
    preferences()->cmdOK->click();
    EXPECT_EQ(filesUnderHome(), QStringList());

    restart();
    EXPECT_FALSE(main->chkRemember->isChecked());
    EXPECT_EQ(main->txtFont->text(), frmAimlogin::defaultFontPrefix());
    signOn();
    EXPECT_FALSE(openConversation()->chkClear->isChecked());
}

TEST_F(KeepingTest, RememberMeKeepsSignOnServerPreferencesAndClearBoxesAndThePasswordOnlyWhenAskedTwice)
{
    restart(ServerAddress{QStringLiteral("toc.example"), 9898});
    EXPECT_FALSE(main->chkRememberPassword->isEnabled());
    // Chosen before "Remember me" is ticked, and kept once it is.
    signOn("Some Body");
    preferences()->txtFface->setText(QStringLiteral("Verdana"));
    preferences()->privacyNone->setChecked(true);
    preferences()->buddyListPage->chkShowGroups->setChecked(true);
    preferences()->buddyListPage->txtIdleMinutes->setValue(25);
    preferences()->conversationsPage->chkTimestamps->setChecked(true);
    preferences()->cmdOK->click();
    const QString prefix = main->txtFont->text();
    openConversation()->chkClear->setChecked(true);
    joinRoom()->chkClear->setChecked(true);
    main->chkRemember->setChecked(true);

    restart();
    EXPECT_EQ(main->txtSn->text(), QStringLiteral("Some Body"));
    EXPECT_EQ(main->txtPw->text(), QStringLiteral("Password")) << "the password was not asked for";
    EXPECT_EQ(main->txtFont->text(), prefix);
    EXPECT_EQ(preferences()->txtFface->text(), QStringLiteral("Verdana"));
    EXPECT_TRUE(preferences()->buddyListPage->chkShowGroups->isChecked());
    EXPECT_EQ(main->context().options.idleMinutes(), 25);
    EXPECT_TRUE(preferences()->conversationsPage->chkTimestamps->isChecked());
    EXPECT_EQ(main->lstBuddyson->model(), &main->buddyRoster().groups());
    signOn("Some Body");
    EXPECT_EQ(socket->lastHost, QStringLiteral("toc.example"));
    EXPECT_TRUE(signOnLines.contains(TocCommand::setPdMode(2)));
    EXPECT_TRUE(openConversation()->chkClear->isChecked());
    EXPECT_TRUE(joinRoom()->chkClear->isChecked());

    // No keyring answers: kept in plain text, since the user says yes to that.
    dialogs.yesNoAnswers << true;
    main->chkRememberPassword->setChecked(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.yesNoAnswers.isEmpty(); }, 10000));
    EXPECT_TRUE(dialogs.shown.last().text.contains(QStringLiteral("unencrypted")));
    restart();
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->txtPw->text() == QStringLiteral("secret"); }, 10000));
    EXPECT_TRUE(main->chkRememberPassword->isChecked());
    // What the user types before the password arrives is what counts.
    restart();
    main->txtPw->clear();
    QTest::keyClicks(main->txtPw, QStringLiteral("typed"));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(main->txtPw->text(), QStringLiteral("typed"));

    // Unticking forgets all of it, the password first.
    main->chkRemember->setChecked(false);
    EXPECT_FALSE(main->chkRememberPassword->isChecked());
    EXPECT_EQ(filesUnderHome(), QStringList());
    restart();
    EXPECT_EQ(main->txtSn->text(), QStringLiteral("Screenname"));
    main->cmdLogin->click();
    EXPECT_EQ(socket->lastHost, QStringLiteral("127.0.0.1"));
}

TEST_F(KeepingTest, WithoutAKeyringAPasswordTheUserWillNotHaveUnencryptedIsNotKept)
{
    main->chkRemember->setChecked(true);
    main->txtPw->setText(QStringLiteral("hunter2"));
    dialogs.yesNoAnswers << false;
    main->chkRememberPassword->setChecked(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main->chkRememberPassword->isChecked(); }, 10000));
    EXPECT_EQ(main->lbStat->text(), QStringLiteral("Your password is not kept, since no desktop keyring answered."));
    signOn();
    EXPECT_FALSE(settingsText().contains("Password")) << settingsText().toStdString();
    restart();
    EXPECT_FALSE(main->chkRememberPassword->isChecked());
}

TEST_F(KeepingTest, AKeptHistoryIsShownWhenAConversationOrRoomOpensAgainAndInTheHistoryWindow)
{
    preferences()->chkHistory->setChecked(true);
    preferences()->cboKeepFor->setCurrentIndex(preferences()->cboKeepFor->findText(QStringLiteral("A week")));
    preferences()->cmdOK->click();
    signOn();
    frmAimIM *im = openConversation();
    im->txtMessage->setText(QStringLiteral("yes, here"));
    im->Send();
    joinRoom();

    restart(); // the choices are kept without "Remember me"
    EXPECT_EQ(preferences()->cboKeepFor->currentText(), QStringLiteral("A week"));
    signOn();
    im = openConversation();
    EXPECT_TRUE(im->txtIM->toPlainText().startsWith(
        QStringLiteral("\nHistory\nFriend: are you there?\nSome Body: yes, here\nFriend: are you there?")));
    EXPECT_TRUE(joinRoom()->txtChat->toPlainText().startsWith(
        QStringLiteral("You have just entered lobby\nHistory\nQivBot: Welcome to lobby, Some Body!\n")));
    im->cmdHistory->click();
    frmHistory *history = main->context().history.window();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->lbConversation->text(), QStringLiteral("Conversation with Friend"));
    EXPECT_TRUE(history->txtConversation->toPlainText().contains(QStringLiteral("Some Body: yes, here")));
    history->txtFind->setText(QStringLiteral("here"));
    history->Find();
    EXPECT_EQ(history->lstMatches->topLevelItemCount(), 1);

    preferences()->chkHistory->setChecked(false);
    preferences()->cmdOK->click();
    closeConversations();
    EXPECT_FALSE(openConversation()->txtIM->toPlainText().contains(QStringLiteral("History")));
    // The history stays, and so does the choice of how long it is kept.
    QStringList kept = filesUnderHome();
    kept.sort();
    EXPECT_EQ(
        kept,
        QStringList({".qttest/config/Qiv/Qiv.conf", ".qttest/share/Qiv/history/history.sqlite",
                     ".qttest/share/Qiv/history/history.sqlite-shm", ".qttest/share/Qiv/history/history.sqlite-wal"}));
}
