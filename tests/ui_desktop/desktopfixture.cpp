#include "desktopfixture.h"

#include "main/awaymessages.h"
#include "main/chatslots.h"
#include "prefs/preferenceslauncher.h"
#include "prefs/frmaimprefs.h"
#include "main/frmaimaway.h"
#include "serverframes.h"
#include "wirelines.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

void DesktopTest::SetUp()
{
    openMainWindow();
}

void DesktopTest::openMainWindow(const KeptPlaces &places, std::optional<ServerAddress> server)
{
    // Windows closed just before are deleted first, while what they use exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main.reset();
    socket = new FakeSocket;
    main = std::make_unique<frmAimlogin>(dialogs, windows, std::move(server), socket, places);
    main->setEndProgram([this] { ++endCalls; });
    main->show();
}

void DesktopTest::TearDown()
{
    // Windows that close themselves are deleted later; let that happen now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main.reset();
}

void DesktopTest::signOn(const QByteArray &name, const QByteArray &config)
{
    main->txtSn->setText(QString::fromUtf8(name));
    main->txtPw->setText(QStringLiteral("secret"));
    main->cmdLogin->click();
    socket->acceptConnection();
    socket->takeWritten(); // the FLAPON preamble, after whatever came before
    socket->deliver(ServerFrames::serverSignOnFrame());
    serverSays("SIGN_ON:TOC2.0");
    serverSays("NICK:" + name);
    serverSays(config);
    ASSERT_TRUE(main->Frame1->isVisible()) << "the buddy list should be up after sign-on";
    signOnLines = sentLines();
}

void DesktopTest::serverSays(const QByteArray &line)
{
    socket->deliver(ServerFrames::serverFrame(line));
}

QList<QByteArray> DesktopTest::sentLines()
{
    return commandLines(socket->takeWritten());
}

frmAimIM *DesktopTest::openConversation()
{
    serverSays("IM_IN_ENC2:Friend:F:F:T: O:F:L:en:are you there?");
    for (QWidget *window : windows.windows()) {
        if (auto *im = qobject_cast<frmAimIM *>(window))
            return im;
    }
    return nullptr;
}

frmAimChat *DesktopTest::joinRoom()
{
    dialogs.textAnswers << QStringLiteral("lobby") << QStringLiteral("4");
    main->imgChat->click();
    serverSays("CHAT_JOIN:17:lobby");
    serverSays("CHAT_UPDATE_BUDDY:17:T:QivBot:Friend:Some Body");
    serverSays("CHAT_IN_ENC:17:QivBot:F:A:en:Welcome to lobby, Some Body!");
    socket->takeWritten();
    return main->chatSlots().existingWindow(1);
}

frmAbout *DesktopTest::openAbout()
{
    main->cmdHelp->click();
    return main->findChild<frmAbout *>();
}

frmCredits *DesktopTest::openCredits()
{
    main->cmdCredits->click();
    return main->findChild<frmCredits *>();
}

QWidget *DesktopTest::openPreferences()
{
    main->stPrefs->trigger();
    return main->preferences().window();
}

QWidget *DesktopTest::goAway()
{
    main->awyDef->trigger();
    return &main->away().window();
}

std::unique_ptr<frmInt> DesktopTest::makeStartWindow()
{
    auto start = std::make_unique<frmInt>(dialogs, windows, QUrl(QStringLiteral("http://127.0.0.1:9/update")),
                                          [] { return nullptr; });
    start->setEndProgram([this] { ++endCalls; });
    return start;
}

void DesktopTest::activate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window, 2000)) << window->objectName().toStdString();
}
