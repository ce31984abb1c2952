#include "desktopfixture.h"

#include "conversation/history.h"
#include "history/frmhistory.h"
#include "main/awaymessages.h"
#include "main/chatslots.h"
#include "prefs/preferenceslauncher.h"
#include "prefs/frmaimprefs.h"
#include "main/frmaimaway.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

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

QWidget *DesktopTest::openHistory()
{
    if (auto *item = main->findChild<QAction *>(QStringLiteral("stHistory")))
        item->trigger();
    return main->context().history.window();
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
