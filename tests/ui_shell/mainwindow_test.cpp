// The main window driven like a person would, against a scripted server.

#include "listednames.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "screenshots.h"
#include "serverframes.h"
#include "signedonwindow.h"
#include "session/toccommands.h"
#include "uniformlistview.h"
#include "wirelines.h"
#include "session/wiretext.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using ServerFrames::serverFrame;

namespace {

class MainWindowTest : public ::testing::Test, protected SignedOnWindow
{
protected:
    MainWindowTest()
        : SignedOnWindow(ServerAddress{QStringLiteral("toc.test"), 5191})
    {
    }

    void typeInto(QLineEdit *box, const QString &text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void buddy(const QByteArray &name, bool online)
    {
        socket->deliver(serverFrame("UPDATE_BUDDY2:" + name + (online ? ":T" : ":F") + ":0:1234567:0: O"));
    }

    QStringList buddies() const { return listedNames(*window->lstBuddyson); }

    bool onSignOnPanel() const { return window->Frame2->isVisible() && !window->Frame1->isVisible(); }
    bool onBuddyListPanel() const { return !window->Frame2->isVisible() && window->Frame1->isVisible(); }
};

TEST_F(MainWindowTest, SignsOnFromTheTypedFieldsAndSetsTheDefaultProfileBeforeInitDone)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv"));
    EXPECT_TRUE(onSignOnPanel());
    EXPECT_EQ(windows.windows(), QList<QWidget *>{window.get()});
    saveScreenshot(window.get(), QStringLiteral("main-sign-on"));

    QSignalSpy signedOn(window.get(), &frmAimlogin::signedOn);
    typeInto(window->txtSn, QStringLiteral("Some Body"));
    typeInto(window->txtPw, QStringLiteral("secret"));
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("Connecting..."));
    EXPECT_EQ(socket->lastHost, QStringLiteral("toc.test"));
    EXPECT_EQ(socket->lastPort, 5191);

    socket->acceptConnection();
    socket->deliver(ServerFrames::serverSignOnFrame());
    EXPECT_EQ(commandLines(socket->takeWritten()),
              QList<QByteArray>{TocCommand::login(QuorTOCSock::DefaultAuthServer, 5191, "somebody",
                                                  ScreenName::RoastPassword("secret"))});
    socket->deliver(serverFrame("SIGN_ON:TOC2.0"));
    socket->deliver(serverFrame("NICK:Some Body"));
    socket->deliver(serverFrame("CONFIG2:m 1\ng Buddies\n"));
    EXPECT_TRUE(onSignOnPanel()) << "sign-on ends only with the end of the configuration";
    socket->deliver(serverFrame("CONFIG2:b friend\ndone:\n"));

    const QByteArray profile = "<body bgcolor=\"#EEEEEE\"><font face=\"Trebuchet MS\">I'm using <a href=\""
        + WireText::toWire(ProductInfo::WebAddress) + "\">Qiv</a></font></body>";
    EXPECT_EQ(commandLines(socket->takeWritten()), (QList<QByteArray>{TocCommand::setInfo(profile), "toc_init_done"}));
    EXPECT_TRUE(onBuddyListPanel());
    EXPECT_FALSE(window->lbAway->isVisible());
    // The name as the server spells it (NICK), not as it was typed.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - Some Body's Buddy List"));
    EXPECT_EQ(window->strMyName, QStringLiteral("Some Body"));
    ASSERT_EQ(signedOn.count(), 1);
    EXPECT_EQ(signedOn.at(0).at(0).toString(), QStringLiteral("Some Body"));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    buddy("Some Buddy", true);
    buddy("Another Friend", true);
    window->lbAway->show();
    saveScreenshot(window.get(), QStringLiteral("main-buddy-list"));
}

TEST_F(MainWindowTest, ThePrefixAndTheContextAreWhatOtherWindowsGet)
{
    const QString prefix = window->txtFont->text();
    EXPECT_EQ(prefix, QStringLiteral("<body bgcolor=\"\"#EEEEEE\"\"><font face=\"\"Trebuchet MS\"\">"));
    EXPECT_EQ(prefix.size(), 54);
    EXPECT_FALSE(window->txtFont->isVisible());
    AppContext &context = window->context();
    EXPECT_EQ(&context.btoc, window->btoc);
    EXPECT_EQ(&context.txtFont, window->txtFont);
    EXPECT_EQ(&context.windows, &windows);
    EXPECT_EQ(&context.dialogs, static_cast<Dialogs *>(&dialogs));
}

TEST_F(MainWindowTest, ServerErrorsAreShownAsPlainTextAndOnlySignOffSwitchesPanels)
{
    // A refused password leaves the user on the sign-on panel to try again.
    typeInto(window->txtSn, QStringLiteral("Some Body"));
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    socket->acceptConnection();
    socket->deliver(serverFrame("ERROR:980"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(
        dialogs.shown[0].text,
        QStringLiteral("Invalid account or password, or this screen name is signed on in too many places already"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(
        window->lbStat->text(),
        QStringLiteral("Invalid account or password, or this screen name is signed on in too many places already"));
    EXPECT_TRUE(onSignOnPanel());

    signOn();
    dialogs.shown.clear();
    // Another error keeps the buddy list; its server text is never markup.
    socket->deliver(serverFrame("ERROR:901:<b>bob</b>"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("<b>bob</b> is not available"));
    EXPECT_TRUE(onBuddyListPanel());
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("<b>bob</b> is not available"));
    EXPECT_EQ(window->lbStat->textFormat(), Qt::PlainText);

    // 904: the server signed this session off.
    socket->deliver(serverFrame("ERROR:904"));
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Some Body was signed off!"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Error"));
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("Some Body was signed off!"));
    EXPECT_TRUE(onSignOnPanel());
}

TEST_F(MainWindowTest, LogoffShowsItsBoxThenTheSignOnPanelWithoutTheAwayIndicator)
{
    signOn();
    window->lbAway->show();
    QSignalSpy signedOff(window.get(), &frmAimlogin::signedOff);
    const int closesBefore = socket->closeCalls;

    QTest::mouseClick(window->cmdLogoff, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Some Body was signed off!"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("Some Body was signed off!"));
    EXPECT_TRUE(onSignOnPanel());
    EXPECT_TRUE(window->lbAway->isHidden());
    EXPECT_GT(socket->closeCalls, closesBefore);
    EXPECT_EQ(signedOff.count(), 1);

    // The old list stays (hidden) until the next sign-on empties it.
    buddy("Late Buddy", true);
    EXPECT_EQ(buddies(), QStringList{});
}

TEST_F(MainWindowTest, ALostConnectionIsReportedLikeASignOffByTheServer)
{
    // Refused while signing on: the status line says why.
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    socket->fail(QStringLiteral("The server refused the connection"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("The server refused the connection"));
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("The server refused the connection"));
    EXPECT_TRUE(onSignOnPanel());

    // Dropped while signed on: back to the sign-on panel, not a dead list.
    signOn();
    ASSERT_TRUE(onBuddyListPanel());
    socket->fail(QStringLiteral("The server closed the connection"));
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("The server closed the connection"));
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("The server closed the connection"));
    EXPECT_TRUE(onSignOnPanel());
}

TEST_F(MainWindowTest, AnErrorThatEndsTheSessionIsOneBoxThoughTheServerHangsUpAfterIt)
{
    for (const QByteArray code : {"980", "983", "989", "913:internal server error"}) {
        SCOPED_TRACE(code.data());
        dialogs.shown.clear();
        QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
        socket->acceptConnection();
        socket->deliver(serverFrame("ERROR:" + code));
        socket->fail(QStringLiteral("The server closed the connection"));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(window->lbStat->text(), dialogs.shown[0].text) << "the server's reason stays in the status line";
        EXPECT_TRUE(onSignOnPanel());
    }

    signOn();
    dialogs.shown.clear();
    socket->deliver(serverFrame("ERROR:904"));
    socket->fail(QStringLiteral("The server closed the connection"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(window->lbStat->text(), QStringLiteral("Some Body was signed off!"));

    // The next session's own loss is news again.
    signOn();
    dialogs.shown.clear();
    socket->fail(QStringLiteral("The server closed the connection"));
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST_F(MainWindowTest, ClosingAsksAndOnlyYesEndsTheProgram)
{
    signOn();
    dialogs.yesNoAnswers = {false};
    window->close();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].kind, ScriptedDialogs::Shown::YesNo);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Are you sure you want to exit?"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Qiv"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(onBuddyListPanel());
    EXPECT_EQ(endCalls, 0);

    socket->takeWritten();
    dialogs.yesNoAnswers = {true};
    window->close();
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(socket->takeWritten().isEmpty()) << "nothing more is sent on the way out";
}

struct PlaceholderCase
{
    const char *box;
    const char *text;
    bool click;
    const char *after;
};

TEST_F(MainWindowTest, OnlyAClickOnTheExactPlaceholderClearsIt)
{
    const PlaceholderCase cases[] = {
        {"txtSn", "Screenname", true, ""},
        {"txtSn", "screenname", true, "screenname"},
        {"txtSn", "Screenname ", true, "Screenname "},
        {"txtSn", "Screenname", false, "Screenname"},
        {"txtPw", "Password", true, ""},
        {"txtPw", "PASSWORD", true, "PASSWORD"},
        {"txtPw", "Password", false, "Password"},
        {"txtPw", "Password", true, ""},
    };
    for (const PlaceholderCase &c : cases) {
        auto *box = window->findChild<QLineEdit *>(QLatin1String(c.box));
        ASSERT_NE(box, nullptr) << c.box;
        box->setText(QLatin1String(c.text));
        if (c.click) {
            QTest::mouseClick(box, Qt::LeftButton);
        } else {
            // Reaching the box from the keyboard leaves the text alone.
            box->setFocus(Qt::TabFocusReason);
            QTest::keyClick(box, Qt::Key_End);
        }
        EXPECT_EQ(box->text(), QLatin1String(c.after)) << c.box << " '" << c.text << "' click=" << c.click;
    }
    EXPECT_EQ(window->txtPw->echoMode(), QLineEdit::Password);

    // Typed straight in, a name replaces the placeholder however the box got the keyboard.
    window->txtSn->setText(QStringLiteral("Screenname"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->txtPw->setFocus(Qt::OtherFocusReason);
    window->txtSn->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(window->txtSn, QStringLiteral("Some Body"));
    EXPECT_EQ(window->txtSn->text(), QStringLiteral("Some Body"));
}

TEST_F(MainWindowTest, KeyboardAndPictureLaunchersReachTheirTargets)
{
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), 2000));
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(window->txtPw->hasFocus());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(window->txtSn->hasFocus());
    EXPECT_EQ(window->txtSn->text(), QStringLiteral("Screenname")) << "focus alone keeps the placeholder";

    QTest::mouseDClick(window->Image1, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ohi mr leet!"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Qiv"));

    signOn();
    QTest::mouseClick(window->imgAway, Qt::LeftButton);
    EXPECT_TRUE(window->mnuAwy->isVisible());
    window->mnuAwy->hide();
    QTest::mouseClick(window->imgSetup, Qt::LeftButton);
    EXPECT_TRUE(window->mnuSetup->isVisible());
    window->mnuSetup->hide();
    EXPECT_EQ(window->awyDef->text(), QStringLiteral("&Default Away"));
    EXPECT_EQ(window->stPrefs->text(), QStringLiteral("&Preferences"));
    for (QToolButton *picture : {window->imgIM, window->imgChat, window->imgAway, window->imgSetup}) {
        EXPECT_FALSE(picture->accessibleName().isEmpty()) << picture->objectName().toStdString();
        EXPECT_NE(picture->focusPolicy() & Qt::TabFocus, 0) << picture->objectName().toStdString();
    }

    // Help and Credits each open one window, registered in opening order.
    QTest::mouseClick(window->cmdHelp, Qt::LeftButton);
    QTest::mouseClick(window->cmdHelp, Qt::LeftButton);
    QTest::mouseClick(window->cmdCredits, Qt::LeftButton);
    const QList<QWidget *> open = windows.windows();
    ASSERT_EQ(open.size(), 3);
    EXPECT_EQ(open[1]->objectName(), QStringLiteral("frmAbout"));
    EXPECT_TRUE(open[1]->isVisible());
    EXPECT_EQ(open[2]->objectName(), QStringLiteral("frmCredits"));
    EXPECT_TRUE(open[2]->isVisible());
}

TEST_F(MainWindowTest, BuddyUpdatesKeepOneEntryPerNormalizedName)
{
    signOn();
    buddy("First Pal", true);
    buddy("Some Buddy", true);
    buddy("Third Pal", true);
    buddy("somebuddy", true); // same buddy, spelled differently: moves to the end
    EXPECT_EQ(buddies(), (QStringList{"First Pal", "Third Pal", "somebuddy"}));

    buddy("Never Seen", false);
    buddy("some.buddy", true); // a dot is not a space: another buddy
    buddy("FIRSTPAL", false);
    EXPECT_EQ(buddies(), (QStringList{"Third Pal", "somebuddy", "some.buddy"}));

    buddy("First Pal", true); // back online: a new entry at the end
    buddy("<i>Odd</i>", true);
    EXPECT_EQ(buddies(), (QStringList{"Third Pal", "somebuddy", "some.buddy", "First Pal", "<i>Odd</i>"}));

    // Signing on again starts from an empty list.
    QTest::mouseClick(window->cmdLogoff, Qt::LeftButton);
    EXPECT_EQ(buddies().size(), 5);
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    EXPECT_TRUE(buddies().isEmpty());
}

TEST_F(MainWindowTest, ALargeBuddyListStaysConsistent)
{
    signOn();
    constexpr int count = 10000;
    for (int i = 0; i < count; ++i)
        buddy("Buddy " + QByteArray::number(i), true);
    // Every buddy reported again under another spelling replaces its entry.
    for (int i = 0; i < count; i += 2)
        buddy("buddy" + QByteArray::number(i), true);
    for (int i = 1; i < count; i += 4)
        buddy("BUDDY " + QByteArray::number(i), false);
    const QStringList listed = buddies();
    ASSERT_EQ(listed.size(), count - count / 4);
    EXPECT_EQ(listed.first(), QStringLiteral("Buddy 3"));
    EXPECT_EQ(listed.last(), QStringLiteral("buddy9998"));
}

} // namespace
