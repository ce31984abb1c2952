// The chat-room window on its own: sending, Enter, clearing, the head count
// and leaving the room on close.

#include "chatslotfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
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
    EXPECT_TRUE(w->txtChat->toPlainText().contains(QStringLiteral("too long"))) << w->txtChat->toPlainText().toStdString();

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
        slotWasFreeWhenClosed = w->chatid->text().isEmpty() && w->chatname->text().isEmpty()
            && w->txtChat->toPlainText().isEmpty();
    });
    session.dialogs.yesNoAnswers << true;

    EXPECT_TRUE(w->close());

    EXPECT_EQ(session.sentLines(), QList<QByteArray>{"toc_chat_leave \"17\""});
    EXPECT_TRUE(slotWasFreeWhenClosed);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(chat.existingWindow(1), nullptr);
}
