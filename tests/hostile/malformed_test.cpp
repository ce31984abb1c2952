// Server messages that are cut short, carry words where numbers belong, or
// name commands nobody knows: none of them may show anything, and the
// session must read on as if they had not been sent.

#include "conversation/frmaimchat.h"
#include "hostilesession.h"
#include "session/quortocsock.h"

#include <QLabel>
#include <QListWidget>
#include <QTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Garbage
{
    const char *what;
    QList<QByteArray> messages;
};

const QList<Garbage> garbage = {
    {"buddy updates with fields missing",
     {"UPDATE_BUDDY2", "UPDATE_BUDDY2:", "UPDATE_BUDDY2:ghost", "UPDATE_BUDDY2:ghost:T:0:0:0"}},
    {"buddy updates with words for numbers",
     {"UPDATE_BUDDY2:ghost:T:abc:0:0: O", "UPDATE_BUDDY2:ghost:T:-1:0:0: O", "UPDATE_BUDDY2:ghost:T: 1:0:0: O",
      "UPDATE_BUDDY2:ghost:T:0:99999999999:0: O", "UPDATE_BUDDY2:ghost:T:40000:0:0: O",
      "UPDATE_BUDDY2:ghost:T:0:0:0x1: O"}},
    {"instant messages with fields missing", {"IM_IN_ENC2", "IM_IN_ENC2:ghost", "IM_IN_ENC2:ghost:F:F:T: O:F:L:en"}},
    {"chat joins without a usable ID",
     {"CHAT_JOIN", "CHAT_JOIN:", "CHAT_JOIN:5", "CHAT_JOIN:12x:Room", "CHAT_JOIN::Room", "CHAT_JOIN:-5:Room"}},
    {"chat traffic without a usable ID",
     {"CHAT_IN_ENC:x1:ghost:F:F:en:hi", "CHAT_IN_ENC:1:ghost:F", "CHAT_UPDATE_BUDDY:5:T",
      "CHAT_UPDATE_BUDDY:five:T:ghost", "CHAT_UPDATE_BUDDY:5", "CHAT_LEFT", "CHAT_LEFT:", "CHAT_LEFT:1e3",
      "CHAT_INVITE:Room:x:ghost:come"}},
    {"errors without a usable code or argument",
     {"ERROR", "ERROR:", "ERROR:abc:x", "ERROR:70000:x", "ERROR:901", "ERROR:951:Room", "ERROR:989", "ERROR: 980"}},
    {"commands nobody knows",
     {"", ":", "FOO:bar", "im_in_enc2:ghost:F:F:T: O:F:L:en:hi", "UPDATE_BUDDY2 :ghost:T:0:0:0: O", "INSERTED2:z:x",
      "INSERTED2:b:alias", "DELETED2:b:onlybuddy", "DELETED2", "EVILED:lots:ghost", "CLIENT_EVENT2:ghost:x"}},
};

TEST(MalformedServerMessages, ShowNothingAndLeaveTheSessionReading)
{
    for (const Garbage &g : garbage) {
        SCOPED_TRACE(g.what);
        HostileSession s;
        ASSERT_TRUE(s.signOn());
        const QStringList before = s.buddies();
        const QString status = s.window->lbStat->text();

        for (const QByteArray &message : g.messages)
            s.server.sendData(message);
        ASSERT_TRUE(s.sentinelGetsThrough());

        EXPECT_EQ(s.buddies(), before + QStringList{QStringLiteral("sentinel1")});
        EXPECT_TRUE(s.notices().isEmpty()) << s.notices().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(s.conversations().isEmpty());
        for (int slot = 1; slot <= 3; ++slot)
            EXPECT_EQ(s.shownChat(slot), nullptr) << "slot " << slot;
        EXPECT_EQ(s.window->lbStat->text(), status);
        EXPECT_TRUE(s.window->Frame1->isVisible());
        EXPECT_TRUE(s.window->btoc->isConnected());
        EXPECT_EQ(s.window->btoc->LastChatID, 0);
        EXPECT_EQ(s.bufferedBytes(), 0);
    }
}

TEST(MalformedServerMessages, FramesOfEveryTypeAreSortedOutByTheirTypeByte)
{
    struct Frame
    {
        const char *what;
        quint8 type;
        QByteArray payload;
        QString shown; // the notice "Error|..." it must give, or empty for none
    };
    const QList<Frame> frames = {
        {"error frame", 3, "IM_IN_ENC2:ghost:F:F:T: O:F:L:en:hi", {}},
        {"sign-off frame", 4, "IM_IN_ENC2:ghost:F:F:T: O:F:L:en:hi", {}},
        {"keep-alive with a payload", 5, "UPDATE_BUDDY2:ghost:T:0:0:0: O", {}},
        {"empty data frame", 2, {}, {}},
        {"data frame of NULs", 2, QByteArray(40, '\0'), {}},
        {"frame type 9", 9, "IM_IN_ENC2:ghost:F:F:T: O:F:L:en:hi",
         QStringLiteral("Error|Unknown Channel Detected: \t")},
        {"frame type that reads as a tag", '<', "b>", QStringLiteral("Error|Unknown Channel Detected: <")},
        {"frame type 255", 255, {}, QStringLiteral("Error|Unknown Channel Detected: \u00ff")},
    };
    for (const Frame &f : frames) {
        SCOPED_TRACE(f.what);
        HostileSession s;
        ASSERT_TRUE(s.signOn());
        s.server.sendFrame(f.type, f.payload);
        ASSERT_TRUE(s.sentinelGetsThrough());

        EXPECT_EQ(s.notices(), f.shown.isEmpty() ? QStringList() : QStringList{f.shown});
        EXPECT_EQ(s.window->lbStat->textFormat(), Qt::PlainText);
        if (!f.shown.isEmpty()) {
            EXPECT_EQ(s.window->lbStat->text(), f.shown.section(QLatin1Char('|'), 1));
        }
        EXPECT_TRUE(s.conversations().isEmpty());
        EXPECT_FALSE(s.buddies().contains(QStringLiteral("ghost")));
        EXPECT_TRUE(s.window->Frame1->isVisible()) << "an odd frame does not end the session";
        EXPECT_TRUE(s.window->btoc->isConnected());
    }
}

TEST(MalformedServerMessages, TwelveChatJoinsFillTheTableButStillReachTheThirdWindow)
{
    HostileSession s;
    ASSERT_TRUE(s.signOn());
    // Nobody asked for these rooms, so no slot was chosen: they land in slot 3.
    for (int n = 1; n <= 12; ++n)
        s.server.sendData("CHAT_JOIN:" + QByteArray::number(100 + n) + ":Room " + QByteArray::number(n));
    s.server.sendData("CHAT_IN_ENC:112:pal:F:F:en:still here");
    ASSERT_TRUE(s.sentinelGetsThrough());

    const TocChatTable &table = s.window->btoc->chatTable();
    for (int i = 0; i < TocChatTable::Size; ++i)
        EXPECT_EQ(table[i].lngChatID, 101 + i) << "entry " << i;
    EXPECT_EQ(s.window->btoc->LastChatID, 112);
    EXPECT_EQ(s.shownChat(1), nullptr);
    EXPECT_EQ(s.shownChat(2), nullptr);
    frmAimChat *room = s.shownChat(3);
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->windowTitle(), QStringLiteral("Qiv - Room 12"));
    EXPECT_EQ(room->txtChat->toPlainText(), QStringLiteral("You have just entered Room 12\npal: still here"));
    EXPECT_TRUE(s.notices().isEmpty());
}

} // namespace
