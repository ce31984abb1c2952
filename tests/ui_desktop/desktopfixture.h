#pragma once

// A main window signed on over a fake socket, and every other window opened
// the way a person opens it: from the main window's buttons, pictures and menus.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "info/frmabout.h"
#include "info/frmcredits.h"
#include "info/frmint.h"
#include "printers.h"
#include "signedonwindow.h"

#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

class DesktopTest : public ::testing::Test, protected SignedOnWindow
{
protected:
    frmAimIM *openConversation(); // an incoming message opens it
    frmAimChat *joinRoom(); // joined through the chat picture and the server's answer
    frmAbout *openAbout(); // the Help button
    frmCredits *openCredits(); // the Credits button
    QWidget *openPreferences(); // Setup menu, Preferences
    QWidget *openHistory(); // Setup menu, History...
    QWidget *goAway(); // Aways menu, Default Away
    std::unique_ptr<frmInt> makeStartWindow();

    // Shows window and makes it the active one, so key presses reach its shortcuts.
    static void activate(QWidget *window);

    std::unique_ptr<frmAimlogin> &main = window;
};
