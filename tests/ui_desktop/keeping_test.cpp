// What Qiv keeps between runs: nothing unless asked, and with "Remember me"
// or "Keep a history" exactly what a new main window needs to pick up again.

#include "desktopfixture.h"

#include "main/chatslots.h"
#include "prefs/frmaimprefs.h"
#include "prefs/preferenceslauncher.h"
#include "remembered.h"
#include "toccommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>

namespace {
// Every file under folder, as paths relative to it.
QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    return found;
}

class KeepingTest : public DesktopTest
{
protected:
    // The standard places, inside a home folder of the test's own.
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            saved.append({variable, qgetenv(variable)});
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        places = KeptPlaces::standard();
        ASSERT_TRUE(places.settingsFile.startsWith(home.path()));
        openMainWindow(places);
    }

    void TearDown() override
    {
        closeConversations();
        DesktopTest::TearDown();
        QStandardPaths::setTestModeEnabled(false);
        for (const auto &[variable, value] : saved)
            qputenv(variable, value);
    }

    void restart(std::optional<ServerAddress> server = std::nullopt)
    {
        closeConversations();
        openMainWindow(places, std::move(server));
    }

    void closeConversations()
    {
        for (QWidget *window : windows.windows()) {
            if (qobject_cast<frmAimIM *>(window))
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmAimPrefs *confirmPreferences(const std::function<void(frmAimPrefs &)> &choose)
    {
        openPreferences();
        frmAimPrefs *prefs = main->preferences().window();
        choose(*prefs);
        prefs->cmdOK->click();
        return prefs;
    }

    QString settingsText() const
    {
        QFile file(places.settingsFile);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir home;
    QList<std::pair<const char *, QByteArray>> saved;
    KeptPlaces places;
};
} // namespace

TEST_F(KeepingTest, NothingIsWrittenUnlessTheUserAsks)
{
    signOn();
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    im->chkClear->setChecked(true);
    im->txtMessage->setText(QStringLiteral("hello"));
    im->Send();
    frmAimChat *room = joinRoom();
    ASSERT_NE(room, nullptr);
    room->chkClear->setChecked(true);
    confirmPreferences([](frmAimPrefs &prefs) {
        prefs.txtFface->setText(QStringLiteral("Verdana"));
        prefs.privacyNone->setChecked(true);
    });

    EXPECT_EQ(filesUnder(home.path()), QStringList());
    restart();
    EXPECT_FALSE(main->chkRemember->isChecked());
    EXPECT_FALSE(main->chkRememberPassword->isEnabled());
    EXPECT_EQ(main->txtSn->text(), QStringLiteral("Screenname"));
    EXPECT_EQ(main->txtFont->text(), frmAimlogin::defaultFontPrefix());
    signOn();
    EXPECT_FALSE(openConversation()->chkClear->isChecked());
}

TEST_F(KeepingTest, RememberMeKeepsTheSignOnFieldsAndThePasswordOnlyWhenAskedTwice)
{
    restart(ServerAddress{QStringLiteral("toc.example"), 9898});
    EXPECT_FALSE(main->chkRememberPassword->isEnabled());
    main->chkRemember->setChecked(true);
    EXPECT_TRUE(main->chkRememberPassword->isEnabled());
    signOn("Some Body");
    EXPECT_FALSE(settingsText().contains(QStringLiteral("secret")));

    restart();
    EXPECT_TRUE(main->chkRemember->isChecked());
    EXPECT_EQ(main->txtSn->text(), QStringLiteral("Some Body"));
    EXPECT_EQ(main->txtPw->text(), QStringLiteral("Password")) << "the password was not asked for";
    main->cmdLogin->click();
    EXPECT_EQ(socket->lastHost, QStringLiteral("toc.example"));
    EXPECT_EQ(socket->lastPort, 9898);

    main->chkRememberPassword->setChecked(true);
    main->txtPw->setText(QStringLiteral("secret"));
    main->cmdLogin->click();
    restart();
    EXPECT_EQ(main->txtPw->text(), QStringLiteral("secret"));
    EXPECT_TRUE(main->chkRememberPassword->isChecked());

    // Unticking forgets all of it, the password first.
    main->chkRemember->setChecked(false);
    EXPECT_FALSE(main->chkRememberPassword->isChecked());
    EXPECT_FALSE(QFile::exists(places.settingsFile));
    restart();
    EXPECT_EQ(main->txtSn->text(), QStringLiteral("Screenname"));
    EXPECT_EQ(main->txtPw->text(), QStringLiteral("Password"));
    main->cmdLogin->click();
    EXPECT_EQ(socket->lastHost, QStringLiteral("127.0.0.1"));
}

TEST_F(KeepingTest, RememberMeKeepsThePreferencesAndTheLastClearBoxChoices)
{
    // Chosen before "Remember me" is ticked, and kept once it is.
    signOn();
    confirmPreferences([](frmAimPrefs &prefs) {
        prefs.txtFface->setText(QStringLiteral("Verdana"));
        prefs.privacyNone->setChecked(true);
    });
    const QString prefix = main->txtFont->text();
    openConversation()->chkClear->setChecked(true);
    joinRoom()->chkClear->setChecked(true);
    main->cmdLogoff->click();
    main->chkRemember->setChecked(true);

    restart();
    EXPECT_EQ(main->txtFont->text(), prefix);
    openPreferences();
    frmAimPrefs *prefs = main->preferences().window();
    EXPECT_EQ(prefs->txtFface->text(), QStringLiteral("Verdana"));
    EXPECT_TRUE(prefs->privacyNone->isChecked());
    signOn();
    EXPECT_TRUE(signOnLines.contains(TocCommand::setPdMode(2)));
    EXPECT_TRUE(openConversation()->chkClear->isChecked());
    EXPECT_TRUE(joinRoom()->chkClear->isChecked());
}

TEST_F(KeepingTest, AKeptHistoryIsShownWhenAConversationOrRoomOpensAgain)
{
    confirmPreferences([](frmAimPrefs &prefs) { prefs.chkHistory->setChecked(true); });
    signOn();
    frmAimIM *im = openConversation();
    ASSERT_NE(im, nullptr);
    im->txtMessage->setText(QStringLiteral("yes, here"));
    im->Send();
    joinRoom();
    EXPECT_EQ(filesUnder(home.path() + QStringLiteral("/.qttest/share/Qiv/history")),
              QStringList({"friend.txt", "rooms/lobby.txt"}));

    restart();
    signOn();
    EXPECT_TRUE(main->preferences().window()->chkHistory->isChecked()) << "the choice is kept on its own";
    const QString conversation = openConversation()->txtIM->toPlainText();
    EXPECT_TRUE(conversation.startsWith(QStringLiteral("\nHistory\nFriend: are you there?\nsomebody: yes, here\n"
                                                       "Friend: are you there?")))
        << conversation.toStdString();
    const QString room = joinRoom()->txtChat->toPlainText();
    EXPECT_TRUE(room.startsWith(QStringLiteral("You have just entered lobby\nHistory\nQivBot: Welcome to lobby, "
                                               "Some Body!\n")))
        << room.toStdString();

    // Turned off, nothing more is kept and nothing is shown.
    confirmPreferences([](frmAimPrefs &prefs) { prefs.chkHistory->setChecked(false); });
    closeConversations();
    EXPECT_FALSE(openConversation()->txtIM->toPlainText().contains(QStringLiteral("History")));
    EXPECT_FALSE(QFile::exists(places.settingsFile));
}
