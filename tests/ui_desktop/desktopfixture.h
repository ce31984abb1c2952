#pragma once

// A main window signed on over a fake socket, and every other window opened
// the way a person opens it: from the main window's buttons, pictures and menus.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "fakesocket.h"
#include "info/frmabout.h"
#include "info/frmcredits.h"
#include "info/frmint.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class DesktopTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A new main window in place of the current one, as after a restart;
    // server nullopt leaves the choice to what was remembered.
    void openMainWindow(const KeptPlaces &places = KeptPlaces(),
                        std::optional<ServerAddress> server = ServerAddress{QStringLiteral("toc.test"), 5190});

    // Signs on as name through the whole server exchange; the buddy list shows.
    void signOn(const QByteArray &name = "Some Body",
                const QByteArray &config = "CONFIG2:m 1\ng Buddies\nb Friend\ndone:\n");
    void serverSays(const QByteArray &line);
    // Command lines the client wrote since the last call.
    QList<QByteArray> sentLines();

    frmAimIM *openConversation();   // an incoming message opens it
    frmAimChat *joinRoom();         // joined through the chat picture and the server's answer
    frmAbout *openAbout();          // the Help button
    frmCredits *openCredits();      // the Credits button
    QWidget *openPreferences();     // Setup menu, Preferences
    QWidget *goAway();              // Aways menu, Default Away
    std::unique_ptr<frmInt> makeStartWindow();

    // Shows window and makes it the active one, so key presses reach its shortcuts.
    static void activate(QWidget *window);

    ScriptedDialogs dialogs;
    WindowRegistry windows;
    FakeSocket *socket = nullptr;
    std::unique_ptr<frmAimlogin> main;
    int endCalls = 0;
    // The command lines the last signOn() wrote.
    QList<QByteArray> signOnLines;
};
