// Room traffic written into the slot windows: messages, muting, arrivals and
// departures, the server's removal notice and signing off.

#include "chatslotfixture.h"

#include <QColor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPointer>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

using Shown = ScriptedDialogs::Shown;

namespace {
// The character format of the transcript run that starts with text.
std::optional<QTextCharFormat> formatOfRun(const QTextEdit *view, const QString &text)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().startsWith(text))
                return it.fragment().charFormat();
        }
    }
    return std::nullopt;
}

QStringList members(const frmAimChat *w)
{
    QStringList names;
    for (int row = 0; row < w->lstHere->count(); ++row)
        names << w->lstHere->item(row)->text();
    return names;
}
} // namespace

TEST_F(ChatSlotsTest, OwnEchoedMessagesAreRedEverybodyElsesBlueAndMarkupIsRemoved)
{
    frmAimChat *w = joinConfirmed(QStringLiteral("Lobby"), 7);
    session.serverSays("CHAT_IN_ENC:7:Me Myself:F:A:en:<font color=\"#00ff00\">my words</font>");
    session.serverSays("CHAT_IN_ENC:7:<b>Some Body</b>:F:A:en:<i>hi</i> 2 < 3: yes");

    const QString transcript = w->txtChat->toPlainText();
    EXPECT_TRUE(transcript.contains(QStringLiteral("Me Myself: my words"))) << transcript.toStdString();
    EXPECT_TRUE(transcript.contains(QStringLiteral("Some Body: hi 2 < 3: yes"))) << transcript.toStdString();

    const auto own = formatOfRun(w->txtChat, QStringLiteral("Me Myself: "));
    const auto other = formatOfRun(w->txtChat, QStringLiteral("Some Body: "));
    const auto body = formatOfRun(w->txtChat, QStringLiteral("hi 2"));
    ASSERT_TRUE(own && other && body);
    EXPECT_EQ(own->foreground().color(), QColor(0xFF, 0, 0));
    EXPECT_EQ(other->foreground().color(), QColor(0, 0, 0xFF));
    EXPECT_EQ(own->fontWeight(), QFont::Bold);
    EXPECT_EQ(body->foreground().color(), QColor(0, 0, 0));
    EXPECT_EQ(body->fontWeight(), QFont::Normal);
}

TEST_F(ChatSlotsTest, SelectingAMemberMutesEverySpellingOfTheName)
{
    frmAimChat *w = joinConfirmed(QStringLiteral("Lobby"), 7);
    session.serverSays("CHAT_UPDATE_BUDDY:7:T:Bob Smith:Carol");
    w->lstHere->item(0)->setSelected(true);

    session.serverSays("CHAT_IN_ENC:7:Bob Smith:F:A:en:first");
    session.serverSays("CHAT_IN_ENC:7:bobsmith:F:A:en:second");
    session.serverSays("CHAT_IN_ENC:7:BOB SMI TH:F:A:en:third");
    session.serverSays("CHAT_IN_ENC:7:Carol:F:A:en:fourth");
    w->lstHere->item(0)->setSelected(false);
    session.serverSays("CHAT_IN_ENC:7:bobsmith:F:A:en:fifth");

    const QString transcript = w->txtChat->toPlainText();
    for (const char *muted : {"first", "second", "third"})
        EXPECT_FALSE(transcript.contains(QLatin1String(muted))) << muted;
    EXPECT_TRUE(transcript.contains(QStringLiteral("Carol: fourth")));
    EXPECT_TRUE(transcript.contains(QStringLiteral("bobsmith: fifth")));
}

TEST_F(ChatSlotsTest, ArrivalsListEveryTimeAndDeparturesRemoveEveryMatchingEntry)
{
    frmAimChat *w = joinConfirmed(QStringLiteral("Lobby"), 7);
    session.serverSays("CHAT_UPDATE_BUDDY:7:T:Bob Smith");
    session.serverSays("CHAT_UPDATE_BUDDY:7:T:Bob Smith:<i>Eve</i>");
    EXPECT_EQ(members(w), (QStringList{"Bob Smith", "Bob Smith", "<i>Eve</i>"}));
    EXPECT_EQ(w->lbhere->text(), QStringLiteral("3"));
    EXPECT_EQ(w->txtChat->toPlainText().count(QStringLiteral("* Bob Smith has entered the room.*")), 2);
    EXPECT_TRUE(w->txtChat->toPlainText().contains(QStringLiteral("* <i>Eve</i> has entered the room.*")));

    const QString before = w->txtChat->toPlainText();
    session.serverSays("CHAT_UPDATE_BUDDY:7:F:Nobody Here");
    EXPECT_EQ(w->txtChat->toPlainText(), before);
    EXPECT_EQ(w->lbhere->text(), QStringLiteral("3"));

    session.serverSays("CHAT_UPDATE_BUDDY:7:F:bobsmith");
    EXPECT_EQ(members(w), QStringList{"<i>Eve</i>"});
    EXPECT_EQ(w->lbhere->text(), QStringLiteral("1"));
    EXPECT_EQ(w->txtChat->toPlainText().count(QStringLiteral("* bobsmith has left the room.*")), 2);
}

TEST_F(ChatSlotsTest, TrafficForAnUnknownRoomGoesToWindowThreeCreatedHidden)
{
    frmAimChat *first = joinConfirmed(QStringLiteral("one"), 11);
    session.serverSays("CHAT_IN_ENC:99:Stranger:F:A:en:lost words");
    session.serverSays("CHAT_UPDATE_BUDDY:98:T:Wanderer");

    EXPECT_FALSE(first->txtChat->toPlainText().contains(QStringLiteral("lost words")));
    frmAimChat *third = chat.existingWindow(3);
    ASSERT_NE(third, nullptr);
    EXPECT_FALSE(third->isVisible());
    EXPECT_TRUE(third->txtChat->toPlainText().contains(QStringLiteral("Stranger: lost words")));
    EXPECT_EQ(members(third), QStringList{"Wanderer"});
    EXPECT_NE(chat.existingWindow(2), nullptr) << "every member update looks at all three windows";
}

TEST_F(ChatSlotsTest, TheServersRemovalTellsTheUserAndClosesWithoutASecondQuestion)
{
    frmAimChat *w = joinConfirmed(QStringLiteral("Lobby"), 7);
    session.serverSays("CHAT_LEFT:7");

    ASSERT_EQ(session.dialogs.shown.size(), 3);
    EXPECT_EQ(session.dialogs.shown[2].kind, Shown::Notice);
    EXPECT_EQ(session.dialogs.shown[2].text,
              QStringLiteral("You have been lagged out, kicked out, scrolled out, or banned from chat: Lobby"));
    EXPECT_EQ(session.dialogs.shown[2].title, QStringLiteral("Qiv"));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(chat.existingWindow(1), nullptr);
    EXPECT_TRUE(session.sentLines().isEmpty()) << "the server already took the user out";
    EXPECT_EQ(chat.strChatID1, QStringLiteral("7"));

    // Once the user has left by closing the window, the server's word is silent.
    frmAimChat *again = joinConfirmed(QStringLiteral("Lobby"), 8);
    session.dialogs.yesNoAnswers << true;
    again->close();
    session.dialogs.shown.clear();
    session.serverSays("CHAT_LEFT:8");
    session.serverSays("CHAT_LEFT:12345");
    EXPECT_TRUE(session.dialogs.shown.isEmpty());
}

TEST_F(ChatSlotsTest, ASessionEndingWhileARoomAsksOrTellsClosesTheRoomOnce)
{
    // The session ends inside the box's own event loop, as a dropped
    // connection would while a real box is up: the window is closed and deleted.
    auto signOffWhileOpen = [this] {
        session.dialogs.whileOpen = [this] {
            chat.closeAllForSignOff();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
    };

    QPointer<frmAimChat> removed = joinConfirmed(QStringLiteral("Lobby"), 7);
    signOffWhileOpen();
    session.serverSays("CHAT_LEFT:7");
    EXPECT_TRUE(removed.isNull());
    EXPECT_EQ(chat.existingWindow(1), nullptr);

    QPointer<frmAimChat> asked = joinConfirmed(QStringLiteral("Lobby"), 8);
    signOffWhileOpen();
    session.dialogs.yesNoAnswers << true;
    asked->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(asked.isNull());
    EXPECT_TRUE(session.sentLines().isEmpty()) << "a room the session already ended is not left again";
    EXPECT_EQ(chat.existingWindow(1), nullptr);
}

TEST_F(ChatSlotsTest, ARoomWhoseNameIsNotUtf8IsLeftByItsId)
{
    startJoin(QStringLiteral("Caf\u00e9"), QStringLiteral("4"));
    session.sentLines();
    session.serverSays("CHAT_JOIN:9:Caf\xe9"); // the server's Latin-1 spelling
    frmAimChat *w = chat.existingWindow(1);
    ASSERT_NE(w, nullptr);
    session.dialogs.yesNoAnswers << true;
    w->close();
    EXPECT_EQ(session.sentLines(), QList<QByteArray>{R"(toc_chat_leave "9")"});
}

TEST_F(ChatSlotsTest, SigningOffClosesAllThreeWindowsWithoutQuestionsOrLeaving)
{
    joinConfirmed(QStringLiteral("one"), 11);
    joinConfirmed(QStringLiteral("two"), 22);
    joinConfirmed(QStringLiteral("three"), 33);
    session.dialogs.shown.clear();

    chat.closeAllForSignOff();

    EXPECT_TRUE(session.dialogs.shown.isEmpty());
    EXPECT_TRUE(session.sentLines().isEmpty());
    for (int slot = 1; slot <= ChatSlots::SlotCount; ++slot)
        EXPECT_EQ(chat.existingWindow(slot), nullptr) << slot;
    EXPECT_EQ(chat.strChatID3, QStringLiteral("33"));
}

TEST_F(ChatSlotsTest, BusyRoomPicture)
{
    frmAimChat *w = joinConfirmed(QStringLiteral("Qiv Lounge"), 7);
    session.serverSays("CHAT_UPDATE_BUDDY:7:T:Some Body:Carol Ann:memyself:Dave");
    session.serverSays("CHAT_IN_ENC:7:Some Body:F:A:en:has anybody tried the new build?");
    session.serverSays("CHAT_IN_ENC:7:memyself:F:A:en:<b>yes</b>, it connects fine here");
    session.serverSays("CHAT_IN_ENC:7:Carol Ann:F:A:en:same, though my list took a while to fill in");
    session.serverSays("CHAT_UPDATE_BUDDY:7:F:Dave");
    w->txtMessage->setPlainText(QStringLiteral("see you all later"));
    saveScreenshot(w, QStringLiteral("chat_room"));
    EXPECT_EQ(w->lbhere->text(), QStringLiteral("3"));
}
