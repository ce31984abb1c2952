// Two people on one machine: two main windows sign on to the local network
// over real sockets and use it the way a person would, through the windows.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "main/chatslots.h"
#include "listednames.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "scripteddialogs.h"
#include "tocserver.h"
#include "uniformlistview.h"
#include "windowregistry.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int WaitMs = 5000;

// One person: their dialogs, their windows and their main window.
struct Person
{
    Person(quint16 port)
        : main(dialogs, windows, ServerAddress{QStringLiteral("127.0.0.1"), port})
    {
        main.show();
    }

    bool signOn(const QString &name)
    {
        main.txtSn->setText(name);
        main.txtPw->setText(QStringLiteral("pw-") + name);
        QTest::mouseClick(main.cmdLogin, Qt::LeftButton);
        return QTest::qWaitFor([this] { return main.Frame1->isVisible(); }, WaitMs);
    }

    QStringList buddies() const { return listedNames(*main.lstBuddyson); }

    frmAimIM *conversationWith(const QString &tag)
    {
        const int position = main.FormByTag(tag);
        return position < 0 ? nullptr : qobject_cast<frmAimIM *>(windows.windows().at(position));
    }

    ScriptedDialogs dialogs;
    WindowRegistry windows;
    frmAimlogin main;
};

class LocalNetworkWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        alice = std::make_unique<Person>(server.serverPort());
        bob = std::make_unique<Person>(server.serverPort());
        ASSERT_TRUE(alice->signOn(QStringLiteral("Alice")));
        ASSERT_TRUE(bob->signOn(QStringLiteral("Bob")));
    }

    TocServer server;
    std::unique_ptr<Person> alice;
    std::unique_ptr<Person> bob;
};

TEST_F(LocalNetworkWindows, PresenceConversationAndAwayReplyTravelBetweenTwoWindows)
{
    EXPECT_EQ(alice->main.windowTitle(), QStringLiteral("Qiv - alice's Buddy List"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return alice->buddies().contains(QStringLiteral("bob")); }, WaitMs))
        << alice->buddies().join(u',').toStdString();
    EXPECT_TRUE(alice->buddies().contains(QStringLiteral("QivBot")));

    // Bob opens a conversation by name and types markup, which arrives as he typed it.
    bob->dialogs.textAnswers << QStringLiteral(" Alice ");
    QTest::mouseClick(bob->main.imgIM, Qt::LeftButton);
    frmAimIM *bobsWindow = bob->conversationWith(QStringLiteral("alice"));
    ASSERT_NE(bobsWindow, nullptr);
    bobsWindow->txtMessage->setText(QStringLiteral("hi <b>there</b>"));
    QTest::keyClick(bobsWindow->txtMessage, Qt::Key_Return);

    frmAimIM *alicesWindow = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (alicesWindow = alice->conversationWith(QStringLiteral("bob"))); }, WaitMs));
    EXPECT_EQ(alicesWindow->windowTitle(), QStringLiteral("Qiv - bob"));
    EXPECT_EQ(alicesWindow->txtIM->toPlainText(), QStringLiteral("\nbob: hi <b>there</b>"));

    // Alice goes away: Bob's next message is answered once, automatically.
    alice->main.awyDef->trigger();
    ASSERT_FALSE(alice->main.lbAway->isHidden());
    bobsWindow->txtMessage->setText(QStringLiteral("still there?"));
    QTest::keyClick(bobsWindow->txtMessage, Qt::Key_Return);
    // It reads as an automatic reply on Bob's side too.
    const QString awayReply = QStringLiteral("alice:(Auto) I am away from my computer right now.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bobsWindow->txtIM->toPlainText().endsWith(awayReply); }, WaitMs))
        << bobsWindow->txtIM->toPlainText().toStdString();
    EXPECT_TRUE(alicesWindow->txtIM->toPlainText().endsWith(
        QStringLiteral("alice:(Auto) I am away from my computer right now.")));

    // Signing off takes Alice out of Bob's list and ends her away state.
    QTest::mouseClick(alice->main.cmdLogoff, Qt::LeftButton);
    EXPECT_TRUE(alice->main.lbAway->isHidden());
    EXPECT_TRUE(alice->main.Frame2->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bob->buddies().contains(QStringLiteral("alice")); }, WaitMs));
}

TEST_F(LocalNetworkWindows, ARoomSharedByTwoWindowsShowsArrivalsMessagesAndDepartures)
{
    for (Person *person : {alice.get(), bob.get()}) {
        person->dialogs.textAnswers << QStringLiteral("lobby") << QStringLiteral("4");
        QTest::mouseClick(person->main.imgChat, Qt::LeftButton);
    }
    frmAimChat *alicesRoom = alice->main.chatSlots().existingWindow(1);
    frmAimChat *bobsRoom = bob->main.chatSlots().existingWindow(1);
    ASSERT_TRUE(alicesRoom && bobsRoom);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alicesRoom->isVisible() && bobsRoom->isVisible(); }, WaitMs));
    EXPECT_EQ(alicesRoom->windowTitle(), QStringLiteral("Qiv - lobby"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return alicesRoom->txtChat->toPlainText().contains(QStringLiteral("* bob has entered the room.*")); },
        WaitMs));
    EXPECT_EQ(alicesRoom->lbhere->text(), QString::number(alicesRoom->lstHere->count()));

    // Bob's own message comes back to him and reaches Alice.
    bobsRoom->txtMessage->setPlainText(QStringLiteral("hello <i>room</i>"));
    QTest::keyClick(bobsRoom->txtMessage, Qt::Key_Return);
    for (frmAimChat *room : {alicesRoom, bobsRoom}) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return room->txtChat->toPlainText().contains(QStringLiteral("bob: hello <i>room</i>")); }, WaitMs))
            << room->txtChat->toPlainText().toStdString();
    }

    // Bob leaves by closing his window; Alice sees him go.
    bob->dialogs.yesNoAnswers << true;
    bobsRoom->close();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return alicesRoom->txtChat->toPlainText().contains(QStringLiteral("* bob has left the room.*")); },
        WaitMs));
}

} // namespace
