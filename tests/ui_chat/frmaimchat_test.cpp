// The chat-room window on its own: sending, Enter, clearing, the head count
// and leaving the room on close.

#include "chatslotfixture.h"
#include "conversation/membermenu.h"
#include "personactions.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using Shown = ScriptedDialogs::Shown;

class ChatWindowTest : public ChatSlotsTest
{
protected:
    frmAimChat *w = nullptr;

    void SetUp() override
    {
        ChatSlotsTest::SetUp();
        w = joinConfirmed(QStringLiteral("Lobby"), 17);
        session.dialogs.shown.clear();
    }
};

TEST_F(ChatWindowTest, SendPutsThePrefixInFrontAndClearsTheBoxOnlyWhenAsked)
{
    w->txtMessage->setPlainText(QStringLiteral("hello (all)"));
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_send \"17\" \"<b>hello \\(all\\)\""});
    EXPECT_EQ(w->txtMessage->toPlainText(), QStringLiteral("hello (all)"));
    EXPECT_FALSE(w->txtChat->toPlainText().contains(QStringLiteral("hello"))) << "only the server's echo shows";

    w->chkClear->setChecked(true);
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);
    EXPECT_EQ(session.sentLines().size(), 1);
    EXPECT_TRUE(w->txtMessage->toPlainText().isEmpty());

    // An empty box sends the prefix alone.
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_send \"17\" \"<b>\""});
}

TEST_F(ChatWindowTest, EnterSendsWithAnyModifiersAndNeverEntersALineBreak)
{
    w->txtMessage->setFocus();
    QTest::keyClicks(w->txtMessage, QStringLiteral("hi"));
    const QList<QPair<int, Qt::KeyboardModifiers>> presses{
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const auto &[key, modifiers] : presses) {
        QTest::keyClick(w->txtMessage, Qt::Key(key), modifiers);
        EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_send \"17\" \"<b>hi\""}) << key << ' ' << modifiers;
        EXPECT_EQ(w->txtMessage->toPlainText(), QStringLiteral("hi"));
    }

    w->chkClear->setChecked(true);
    QTest::keyClick(w->txtMessage, Qt::Key_Return);
    EXPECT_EQ(session.sentLines().size(), 1);
    EXPECT_TRUE(w->txtMessage->toPlainText().isEmpty());
    EXPECT_FALSE(w->cmdsndlol->isVisibleTo(w));
}

TEST_F(ChatWindowTest, AWindowWithoutARoomSendsNothingAndClosesSilently)
{
    frmAimChat *idle = chat.window(2);
    idle->txtMessage->setPlainText(QStringLiteral("anyone?"));
    idle->cmdsndlol->click();
    QTest::mouseClick(idle->cmdSend, Qt::LeftButton);
    EXPECT_TRUE(idle->close());
    EXPECT_TRUE(session.sentLines().isEmpty());
    EXPECT_TRUE(session.dialogs.shown.isEmpty());
}

TEST_F(ChatWindowTest, AMessageTooLongForOneCommandLineStaysInTheBoxWithAPlainNotice)
{
    w->chkClear->setChecked(true);
    const QString tooLong(2100, QLatin1Char('x'));
    w->txtMessage->setPlainText(tooLong);
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);

    EXPECT_TRUE(session.sentLines().isEmpty());
    EXPECT_EQ(w->txtMessage->toPlainText(), tooLong);
    EXPECT_TRUE(w->txtChat->toPlainText().contains(QStringLiteral("too long")))
        << w->txtChat->toPlainText().toStdString();

    // Escaping counts too: 1000 quote marks double to over 2000 bytes.
    w->txtMessage->setPlainText(QString(1020, QLatin1Char('"')));
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);
    EXPECT_TRUE(session.sentLines().isEmpty());

    w->txtMessage->setPlainText(QString(1900, QLatin1Char('x')));
    QTest::mouseClick(w->cmdSend, Qt::LeftButton);
    EXPECT_EQ(session.sentLines().size(), 1);
}

TEST_F(ChatWindowTest, ClearWindowEmptiesOnlyTheTranscript)
{
    session.serverSays("CHAT_UPDATE_BUDDY:17:T:Carol:Dave");
    w->txtMessage->setPlainText(QStringLiteral("draft"));
    QTest::mouseClick(w->cmdClearWindow, Qt::LeftButton);

    EXPECT_TRUE(w->txtChat->toPlainText().isEmpty());
    EXPECT_EQ(w->lstHere->count(), 2);
    EXPECT_EQ(w->lbhere->text(), QStringLiteral("2"));
    EXPECT_EQ(w->txtMessage->toPlainText(), QStringLiteral("draft"));
    EXPECT_EQ(w->chatid->text(), QStringLiteral("17"));
}

TEST_F(ChatWindowTest, ClosingAsksAndNoKeepsTheRoom)
{
    session.serverSays("CHAT_IN_ENC:17:Carol:F:A:en:stay a while");
    const QString transcript = w->txtChat->toPlainText();
    session.dialogs.yesNoAnswers << false;

    EXPECT_FALSE(w->close());

    ASSERT_EQ(session.dialogs.shown.size(), 1);
    EXPECT_EQ(session.dialogs.shown[0].kind, Shown::YesNo);
    EXPECT_EQ(session.dialogs.shown[0].text, QStringLiteral("Are you sure you want to leave the chatroom?"));
    EXPECT_EQ(session.dialogs.shown[0].title, QStringLiteral("Qiv"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->chatid->text(), QStringLiteral("17"));
    EXPECT_EQ(w->txtChat->toPlainText(), transcript);
    EXPECT_TRUE(session.sentLines().isEmpty());
    EXPECT_EQ(chat.existingWindow(1), w);
}

TEST_F(ChatWindowTest, ClosingWithYesLeavesTheRoomAndFreesTheSlotAtOnce)
{
    bool slotWasFreeWhenClosed = false;
    QObject::connect(w, &frmAimChat::closed, w, [&] {
        slotWasFreeWhenClosed
            = w->chatid->text().isEmpty() && w->chatname->text().isEmpty() && w->txtChat->toPlainText().isEmpty();
    });
    session.dialogs.yesNoAnswers << true;

    EXPECT_TRUE(w->close());

    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_leave \"17\""});
    EXPECT_TRUE(slotWasFreeWhenClosed);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(chat.existingWindow(1), nullptr);
}

namespace {
// Stands in for the buddy list's actions, which the member menu borrows.
struct RecordedActions final : PersonActions
{
    void sendMessage(const QByteArray &name) override { done << "message " + name; }
    void getInfo(const QByteArray &name) override { done << "info " + name; }
    void block(const QByteArray &name) override { done << "block " + name; }
    void unblock(const QByteArray &name) override { done << "unblock " + name; }
    QList<QByteArray> done;
};
} // namespace

TEST_F(ChatWindowTest, InviteAsksForNamesAndAMessageAndEveryMemberHasAMenu)
{
    session.dialogs.textAnswers << QStringLiteral(" Bob, Carol Ann ,") << QStringLiteral("come (in)");
    QTest::mouseClick(w->cmdInvite, Qt::LeftButton);
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{R"~(toc_chat_invite "17" "come \(in\)" "bob" "carolann")~"});
    EXPECT_TRUE(w->txtChat->toPlainText().endsWith(QStringLiteral("* You invited Bob, Carol Ann.*")));
    session.dialogs.textAnswers << QStringLiteral(" , ");
    QTest::mouseClick(w->cmdInvite, Qt::LeftButton);
    EXPECT_TRUE(session.sentLines().isEmpty()) << "no name, no invitation";

    RecordedActions people;
    session.context.people = &people;
    session.serverSays("CHAT_UPDATE_BUDDY:17:T:Bob:Pe St");
    // A right click must not select, and so mute, the member.
    const QRect pest = w->lstHere->visualItemRect(w->lstHere->item(1));
    QTest::mouseClick(w->lstHere->viewport(), Qt::RightButton, {}, pest.center());
    EXPECT_TRUE(w->lstHere->selectedItems().isEmpty());
    w->lstHere->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    for (const QString &item :
         {QStringLiteral("Send &Message"), QStringLiteral("Get &Info"), QStringLiteral("&Block")}) {
        QTest::keyClick(w->lstHere, Qt::Key_F10, Qt::ShiftModifier);
        QMenu *menu = w->memberMenu().menu();
        ASSERT_NE(menu, nullptr);
        QStringList items;
        for (QAction *action : menu->actions())
            items << action->text();
        EXPECT_EQ(items, QStringList({"Send &Message", "Get &Info", "&Block"}));
        menu->close();
        for (QAction *action : menu->actions()) {
            if (action->text() == item)
                action->trigger();
        }
    }
    EXPECT_EQ(people.done, (QList<QByteArray>{"message Pe St", "info Pe St", "block Pe St"}));
    session.context.people = nullptr;
}
