// However a session ends, no room stays open and no away state is left behind.

#include "conversation/frmaimchat.h"
#include "fakesocket.h"
#include "flap.h"
#include "main/awaymessages.h"
#include "main/chatslots.h"
#include "main/frmaimaway.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "scripteddialogs.h"
#include "windowregistry.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SessionEnd : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        socket = new FakeSocket;
        window = std::make_unique<frmAimlogin>(dialogs, windows, ServerAddress{QStringLiteral("toc.test"), 5190},
                                               socket);
        window->show();
        QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
        socket->acceptConnection();
        socket->deliver(Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4)));
        serverSays("CONFIG2:done:\n");
        ASSERT_TRUE(window->Frame1->isVisible());

        window->awyDef->trigger();
        dialogs.textAnswers << QStringLiteral("lobby") << QStringLiteral("4");
        QTest::mouseClick(window->imgChat, Qt::LeftButton);
        serverSays("CHAT_JOIN:7:lobby");
        room = window->chatSlots().existingWindow(1);
        ASSERT_TRUE(room && room->isVisible());
        serverSays("IM_IN_ENC2:Amy:F:F:T: O:F:L:en:hi");
        ASSERT_EQ(window->away().window().lstAr->count(), 1);
    }

    void serverSays(const QByteArray &line) { socket->deliver(Flap::buildFrame(Flap::Data, m_sequence++, line)); }

    ScriptedDialogs dialogs;
    WindowRegistry windows;
    FakeSocket *socket = nullptr;
    std::unique_ptr<frmAimlogin> window;
    QPointer<frmAimChat> room;

private:
    quint16 m_sequence = 1;
};

TEST_P(SessionEnd, ClosesRoomsWithoutAskingAndEndsTheAwayState)
{
    const QByteArray how = GetParam();
    if (how == "logoff")
        QTest::mouseClick(window->cmdLogoff, Qt::LeftButton);
    else if (how == "signed off elsewhere")
        serverSays("ERROR:904");
    else
        socket->fail(QStringLiteral("The server closed the connection"));

    EXPECT_TRUE(window->Frame2->isVisible());
    EXPECT_TRUE(window->lbAway->isHidden());
    EXPECT_FALSE(window->away().window().isVisible());
    EXPECT_EQ(window->away().window().lstAr->count(), 0);
    // Nothing but the closing notice was shown: no leave question.
    ASSERT_EQ(dialogs.shown.size(), 1 + 2); // the two join boxes, then the notice
    EXPECT_EQ(dialogs.shown.last().title, QStringLiteral("Error"));
    QTest::qWait(0);
    EXPECT_TRUE(room.isNull() || !room->isVisible());

    // The next sign-on starts present: nobody gets an automatic reply.
    socket->takeWritten();
    QTest::mouseClick(window->cmdLogin, Qt::LeftButton);
    socket->acceptConnection();
    socket->deliver(Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4)));
    serverSays("CONFIG2:done:\n");
    serverSays("IM_IN_ENC2:Amy:F:F:T: O:F:L:en:back?");
    EXPECT_FALSE(socket->written.contains("toc_send_im"));
    EXPECT_TRUE(window->lbAway->isHidden());
}

INSTANTIATE_TEST_SUITE_P(, SessionEnd, ::testing::Values("logoff", "signed off elsewhere", "lost connection"));

} // namespace
