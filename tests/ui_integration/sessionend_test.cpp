// However a session ends, no room stays open and no away state is left behind.

#include "conversation/frmaimchat.h"
#include "main/awaymessages.h"
#include "main/chatslots.h"
#include "main/frmaimaway.h"
#include "main/frmaimlogin.h"
#include "printers.h"
#include "signedonwindow.h"

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

class SessionEnd : public ::testing::TestWithParam<const char *>, protected SignedOnWindow
{
protected:
    void SetUp() override
    {
        signOn("Some Body", "CONFIG2:done:\n");
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

    QPointer<frmAimChat> room;
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
    signOn("Some Body", "CONFIG2:done:\n");
    serverSays("IM_IN_ENC2:Amy:F:F:T: O:F:L:en:back?");
    EXPECT_FALSE(socket->written.contains("toc_send_im"));
    EXPECT_TRUE(window->lbAway->isHidden());
}

INSTANTIATE_TEST_SUITE_P(, SessionEnd, ::testing::Values("logoff", "signed off elsewhere", "lost connection"));

} // namespace
