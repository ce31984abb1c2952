// Joining rooms: the two input boxes, the choice of a free slot and the
// server's confirmation that shows the slot's window.

#include "chatslotfixture.h"

using Shown = ScriptedDialogs::Shown;

TEST_F(ChatSlotsTest, FirstJoinAsksTwiceAndOpensWindowOneOnlyWhenConfirmed)
{
    startJoin(QStringLiteral("<b>Lobby</b> & co"), QStringLiteral("4"));

    ASSERT_EQ(session.dialogs.shown.size(), 2);
    EXPECT_EQ(session.dialogs.shown[0].text, QStringLiteral("Chat name:"));
    EXPECT_EQ(session.dialogs.shown[0].title, QStringLiteral("Buddy Chat"));
    EXPECT_EQ(session.dialogs.shown[1].text, QStringLiteral("Exchange(Leave this if you don't know what it is.):"));
    EXPECT_EQ(session.dialogs.shown[1].title, QStringLiteral("BuddyChat"));
    EXPECT_EQ(session.dialogs.defaultsOffered, (QStringList{QString(), QStringLiteral("4")}));
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_join \"4\" \"<b>Lobby</b> & co\""});
    EXPECT_EQ(chat.strChatSlot, QStringLiteral("1"));
    EXPECT_EQ(chat.tmpChat, QStringLiteral("<b>Lobby</b> & co"));

    frmAimChat *w = chat.existingWindow(1);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible()) << "the window waits for the server";

    session.serverSays("CHAT_JOIN:1234:<b>Lobby</b> & co");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->objectName(), QStringLiteral("frmAimChat1"));
    // Server text stays text: no markup is read from the room name.
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Qiv - <b>Lobby</b> & co"));
    EXPECT_EQ(w->txtChat->toPlainText(), QStringLiteral("You have just entered <b>Lobby</b> & co"));
    EXPECT_EQ(w->chatid->text(), QStringLiteral("1234"));
    EXPECT_EQ(w->chatname->text(), QStringLiteral("<b>Lobby</b> & co"));
    EXPECT_EQ(chat.strChatID1, QStringLiteral("1234"));
    EXPECT_TRUE(session.windows.windows().contains(w));
}

TEST_F(ChatSlotsTest, JoinsFillTheSlotsInOrderAndAFourthIsRefused)
{
    const QStringList rooms{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
    for (int slot = 1; slot <= ChatSlots::SlotCount; ++slot) {
        frmAimChat *joined = joinConfirmed(rooms[slot - 1], slot * 11);
        EXPECT_EQ(chat.strChatSlot, QString::number(slot));
        EXPECT_EQ(joined, chat.existingWindow(slot));
        EXPECT_TRUE(joined->isVisible());
    }
    EXPECT_EQ(chat.existingWindow(3)->objectName(), QStringLiteral("frmAimChat3"));
    EXPECT_EQ(chat.strChatID2, QStringLiteral("22"));
    session.dialogs.shown.clear();

    startJoin(QStringLiteral("four"), QStringLiteral("4"));

    ASSERT_EQ(session.dialogs.shown.size(), 3);
    EXPECT_EQ(session.dialogs.shown[2].kind, Shown::Notice);
    EXPECT_EQ(session.dialogs.shown[2].text, QStringLiteral("You are already in three chats!"));
    EXPECT_EQ(session.dialogs.shown[2].title, QStringLiteral("Qiv"));
    EXPECT_TRUE(session.sentLines().isEmpty());
    EXPECT_EQ(chat.strChatSlot, QStringLiteral("3"));
    EXPECT_EQ(chat.tmpChat, QStringLiteral("three"));
}

TEST_F(ChatSlotsTest, AnAcceptedInvitationTakesAFreeSlotAndAFullHandIsToldSo)
{
    frmAimChat *first = joinConfirmed(QStringLiteral("one"), 11);
    session.dialogs.shown.clear();
    session.dialogs.yesNoAnswers << false << true;
    session.serverSays("CHAT_INVITE:Book Club:42:<i>Alice</i>:come <b>talk</b>");
    EXPECT_TRUE(session.sentLines().isEmpty()) << "declined";
    session.serverSays("CHAT_INVITE:Book Club:42:<i>Alice</i>:come <b>talk</b>");
    ASSERT_EQ(session.dialogs.shown.size(), 2);
    EXPECT_EQ(session.dialogs.shown[1].text, QStringLiteral("Alice invites you to Book Club: come talk"));
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{R"(toc_chat_accept "42")"});
    session.serverSays("CHAT_JOIN:42:Book Club");
    frmAimChat *second = chat.existingWindow(2);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->chatname->text(), QStringLiteral("Book Club"));
    EXPECT_EQ(first->chatid->text(), QStringLiteral("11"));

    joinConfirmed(QStringLiteral("three"), 33);
    session.dialogs.shown.clear();
    session.serverSays("CHAT_INVITE:Fourth:44:Bob:and one more");
    ASSERT_EQ(session.dialogs.shown.size(), 1);
    EXPECT_EQ(session.dialogs.shown[0].kind, Shown::Notice);
    EXPECT_EQ(session.dialogs.shown[0].text,
              QStringLiteral("Bob invites you to Fourth, but you are already in three chats!"));
    EXPECT_TRUE(session.sentLines().isEmpty());
}

TEST_F(ChatSlotsTest, AnEmptyAnswerStillShowsBothBoxesAndSendsNothing)
{
    const QList<QPair<QString, QString>> answers{
        {QString(), QStringLiteral("4")},
        {QStringLiteral("Lobby"), QString()},
        {QString(), QString()},
    };
    for (const auto &[room, exchange] : answers) {
        session.dialogs.shown.clear();
        startJoin(room, exchange);
        EXPECT_EQ(session.dialogs.shown.size(), 2) << room.toStdString();
        EXPECT_TRUE(session.sentLines().isEmpty()) << room.toStdString();
        EXPECT_TRUE(chat.strChatSlot.isEmpty());
    }
}

TEST_F(ChatSlotsTest, AnExchangeThatIsNotASixteenBitNumberIsRefusedAndTheSlotStaysFree)
{
    for (const QString &exchange : {QStringLiteral("four"), QStringLiteral("70000"), QStringLiteral("4.5")}) {
        session.dialogs.shown.clear();
        startJoin(QStringLiteral("Lobby"), exchange);
        ASSERT_EQ(session.dialogs.shown.size(), 3) << exchange.toStdString();
        EXPECT_EQ(session.dialogs.shown[2].kind, Shown::Notice);
        EXPECT_EQ(session.dialogs.shown[2].title, QStringLiteral("Error"));
        EXPECT_TRUE(session.dialogs.shown[2].text.contains(QStringLiteral("must be a number")));
        EXPECT_TRUE(session.sentLines().isEmpty()) << exchange.toStdString();
        EXPECT_TRUE(chat.strChatSlot.isEmpty());
        EXPECT_TRUE(chat.window(1)->chatname->text().isEmpty());
    }

    // Spaces around a number are no reason to refuse it.
    startJoin(QStringLiteral("Lobby"), QStringLiteral(" 5 "));
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_join \"5\" \"Lobby\""});
}

TEST_F(ChatSlotsTest, AFreedSlotIsTakenAgainAndItsTranscriptIsEmptiedAtTheJoin)
{
    frmAimChat *first = joinConfirmed(QStringLiteral("one"), 11);
    joinConfirmed(QStringLiteral("two"), 22);
    session.dialogs.yesNoAnswers << true;
    first->close();
    session.sentLines();

    startJoin(QStringLiteral("again"), QStringLiteral("4"));
    EXPECT_EQ(chat.strChatSlot, QStringLiteral("1"));
    frmAimChat *fresh = chat.existingWindow(1);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, first) << "a closed window is never reused";
    EXPECT_TRUE(fresh->txtChat->toPlainText().isEmpty());
}
