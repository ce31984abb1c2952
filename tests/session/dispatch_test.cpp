// Server messages to events: real lines, broken ones included.

#include "sessiontest.h"

namespace {

class Dispatch : public SessionTest
{
protected:
    void SetUp() override { signOn("me"); }
};

struct Row
{
    const char *payload;
    QStringList events; // empty: the message raises nothing
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.payload; }

class Messages : public Dispatch, public ::testing::WithParamInterface<Row>
{
};

TEST_P(Messages, RaiseTheirEventAfterIncomingPacket)
{
    const QByteArray bytes = data(GetParam().payload);
    deliver(bytes);
    EXPECT_EQ(log.packets, QList<QByteArray>({bytes}));
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_EQ(log.lines.first(), "IncomingPacket");
    EXPECT_EQ(log.events(), GetParam().events);
    EXPECT_TRUE(sock->written.isEmpty()) << "no message here is answered";
}

INSTANTIATE_TEST_SUITE_P(
    Everyday, Messages,
    ::testing::Values(
        Row{"SIGN_ON:TOC2.0", {}}, Row{"NICK:Some Body", {"ScreennameFormat Some Body"}},
        Row{"NICK:a:b", {"ScreennameFormat a:b"}},
        Row{"IM_IN_ENC2:Bob:F:F:T: O:F:L:en:meet at 10:30:15", {"InstantMessage Bob|meet at 10:30:15|F| O"}},
        Row{"IM_IN_ENC2:Bob:T:F:T:AU:F:L:en:", {"InstantMessage Bob||T|AU"}},
        Row{"IM_IN_ENC2:Bob:x:F:T:AU:F:L:en:<b>hi</b>", {"InstantMessage Bob|<b>hi</b>|T|AU"}},
        Row{"UPDATE_BUDDY2:Amy:T:10:1700000000:5: O:", {"BuddyUpdate Amy|T|10|1700000000|5| O"}},
        Row{"UPDATE_BUDDY2:Amy:F:0:0:0:", {"BuddyUpdate Amy|F|0|0|0|"}},
        Row{"UPDATE_BUDDY2:Amy:?:0:0:0: U:x", {"BuddyUpdate Amy|T|0|0|0| U"}},
        Row{"BUDDY_CAPS2:Amy:cap1,cap2:x", {"BuddyCapabilities Amy|cap1,cap2:x"}},
        Row{"BART2:Amy:0 2 abc:", {"BuddyBart Amy|0 2 abc:"}},
        Row{"CHAT_IN_ENC:42:Amy:F:A:en:hi: there", {"ChatMessage 42|Amy|hi: there"}},
        Row{"CHAT_UPDATE_BUDDY:42:T:a:b:c:d",
            {"ChatUserUpdate a|T|42", "ChatUserUpdate b|T|42", "ChatUserUpdate c|T|42", "ChatUserUpdate d|T|42"}},
        Row{"CHAT_UPDATE_BUDDY:42:F:a:b", {"ChatUserUpdate a|F|42"}},
        Row{"CHAT_UPDATE_BUDDY:42:t:a", {"ChatUserUpdate a|F|42"}},
        Row{"CHAT_INVITE:Room 1:42:Amy:come in: now", {"ChatInvite Room 1|42|Amy|come in: now"}},
        Row{"GOTO_URL:window:http://x/info?a=1", {"UserProfile http://x/info?a=1"}}, Row{"EVILED:05:", {"Warned 5|"}},
        Row{"EVILED:100:Amy", {"Warned 100|Amy"}}, Row{"ADMIN_NICK_STATUS:1", {"ScreenNameFormatted"}},
        Row{"ADMIN_PASSWD_STATUS", {"PasswordChanged"}},
        Row{"RVOUS_PROPOSE:Amy:uuid:cookie:1:1.2.3.4:5.6.7.8:9.9.9.9:4443:extra",
            {"RendevousRequest Amy|uuid|cookie|1.2.3.4|5.6.7.8|9.9.9.9|4443"}},
        Row{"CLIENT_EVENT2:Amy:2", {"TypingStatus Amy|2"}}, Row{"UPDATED2:b:x", {}}, Row{"NO_SUCH_THING:1:2", {}},
        Row{"im_in_enc2:Bob:F:F:T: O:F:L:en:hi", {}}, Row{"", {}}));

INSTANTIATE_TEST_SUITE_P(
    StoredLists, Messages,
    ::testing::Values(Row{"INSERTED2:b:Ally:amy:Friends", {"BuddyAdded Friends|amy|Ally"}},
                      Row{"INSERTED2:b:Ally:amy:Best:Friends", {"BuddyAdded Best:Friends|amy|Ally"}},
                      Row{"INSERTED2:p:pal:x", {"PrivateBuddyAdded pal:x"}},
                      Row{"INSERTED2:d:pest", {"BuddyBlocked pest"}}, Row{"INSERTED2:g:Work", {"GroupAdded Work"}},
                      Row{"INSERTED2:z:what", {}}, Row{"INSERTED2:B:Ally:amy:Friends", {}},
                      Row{"DELETED2:b:amy:Friends", {"BuddyRemoved Friends|amy"}},
                      Row{"DELETED2:p:pal:", {"PrivateBuddyRemoved pal"}},
                      Row{"DELETED2:p:pal", {"PrivateBuddyRemoved pal"}},
                      Row{"DELETED2:d:pest", {"BuddyUnblocked pest"}},
                      Row{"DELETED2:g:Work:x", {"GroupRemoved Work:x"}}, Row{"DELETED2:q:x:y", {}}));

INSTANTIATE_TEST_SUITE_P(
    Errors, Messages,
    ::testing::Values(Row{"ERROR:901:Amy", {"Error 901|Amy is not available"}},
                      Row{"ERROR:902:Amy", {"Error 902|Warning of Amy is not currently available"}},
                      Row{"ERROR:903",
                          {"Error 903|A message has been dropped, you are exceeding the server speed limit"}},
                      Row{"ERROR:911:x", {"Error 911|Error validating input"}},
                      Row{"ERROR:913:internal server error",
                          {"Error 913|The server ran into an internal error and could not complete "
                           "the request; try again in a moment"}},
                      Row{"ERROR:951:lobby:-1", {"Error 951|Could not join chat 'lobby': Possible Reset"}},
                      Row{"ERROR:951:lobby:24", {"Error 951|Could not join chat 'lobby': Chat Full"}},
                      Row{"ERROR:951:lobby:48", {"Error 951|Could not join chat 'lobby': Rated"}},
                      Row{"ERROR:951:lobby:74", {"Error 951|Could not join chat 'lobby': Ejected"}},
                      Row{"ERROR:951:lobby:240", {"Error 951|Could not join chat 'lobby': Unknown error"}},
                      Row{"ERROR:951:lobby:24:x", {"Error 951|Could not join chat 'lobby': Unknown error"}},
                      Row{"ERROR:980", {"Error 980|Invalid account or password"}},
                      Row{"ERROR:983:", {"Error 983|You are attempting to sign on again too soon"}},
                      Row{"ERROR:989:7", {"Error 989|The screenname or password you entered is not valid"}},
                      Row{"ERROR:989:17", {"Error 989|Sign on Blocked"}},
                      Row{"ERROR:989:99", {"Error 989|Unknown error code 989, sub error: 99"}},
                      Row{"ERROR:904", {"Error 904|Error code: 904"}},
                      Row{"ERROR:0901:x", {"Error 901|Error code: 0901"}}));

// Fields that are missing or not clean decimal numbers: no event, no crash.
INSTANTIATE_TEST_SUITE_P(
    Broken, Messages,
    ::testing::Values(Row{"NICK", {}}, Row{"IM_IN_ENC2:Bob:F:F:T: O:F:L:en", {}}, Row{"UPDATE_BUDDY2:Amy:T:10:100", {}},
                      Row{"UPDATE_BUDDY2:Amy:T:-1:100:0: O:", {}}, Row{"UPDATE_BUDDY2:Amy:T:40000:100:0: O:", {}},
                      Row{"UPDATE_BUDDY2:Amy:T:1:2147483648:0: O:", {}}, Row{"UPDATE_BUDDY2:Amy:T:1: 100:0: O:", {}},
                      Row{"UPDATE_BUDDY2:Amy:T::100:0: O:", {}}, Row{"CHAT_IN_ENC:+42:Amy:F:A:en:hi", {}},
                      Row{"CHAT_IN_ENC:42:Amy:F:A:en", {}}, Row{"CHAT_UPDATE_BUDDY:42:F", {}},
                      Row{"CHAT_UPDATE_BUDDY:x:T:a", {}}, Row{"CHAT_INVITE:Room:4 2:Amy:hi", {}},
                      Row{"CHAT_INVITE:Room:42:Amy", {}}, Row{"GOTO_URL:window", {}}, Row{"EVILED:5", {}},
                      Row{"EVILED:1e2:", {}}, Row{"RVOUS_PROPOSE:Amy:uuid:cookie:1:a:b:c", {}},
                      Row{"RVOUS_PROPOSE:Amy:uuid:cookie:1:a:b:c:99999999999", {}}, Row{"CLIENT_EVENT2:Amy", {}},
                      Row{"CLIENT_EVENT2:Amy:", {}}, Row{"BUDDY_CAPS2:Amy", {}}, Row{"INSERTED2:b:Ally:amy", {}},
                      Row{"INSERTED2", {}}, Row{"DELETED2:b:amy", {}}, Row{"ERROR", {}}, Row{"ERROR:abc", {}},
                      Row{"ERROR:99999", {}}, Row{"ERROR:901", {}}, Row{"ERROR:951:lobby", {}}, Row{"ERROR:989", {}}));

TEST_F(Dispatch, FrameTypesOtherThanDataAreHandledByType)
{
    deliver(frame(3, "x") + frame(4, "") + frame(9, "") + frame(65, "zz") + frame(5, ""));
    EXPECT_EQ(log.events(),
              QStringList({"Error 0|Unknown Channel Detected: \t", "Error 0|Unknown Channel Detected: A"}));
    EXPECT_EQ(log.packets.size(), 5);
    EXPECT_EQ(writtenFrames(sock->takeWritten()).size(), 1) << "only the keep-alive is answered";
}

TEST_F(Dispatch, ColonInTheHeaderDoesNotShiftFields)
{
    deliver(frame(2, "NICK:Bob", 0x3a3a));
    EXPECT_EQ(log.events(), QStringList({"ScreennameFormat Bob"}));
}

TEST_F(Dispatch, ChatTableHoldsElevenRoomsAndFreesTheFirstMatch)
{
    for (int id = 1; id <= 11; ++id)
        deliver(data("CHAT_JOIN:" + QByteArray::number(id) + ":room" + QByteArray::number(id)));
    deliver(data("CHAT_JOIN:12:room12"));
    EXPECT_EQ(log.events().last(), "JoinedChat room12|12");
    EXPECT_EQ(toc.LastChatID, 12);
    EXPECT_EQ(toc.GetChatName(12), "[No Chat Name Found for ID]") << "a full table stores nothing";
    EXPECT_EQ(toc.GetChatName(11), "room11");

    log.clear();
    deliver(data("CHAT_LEFT:5") + data("CHAT_LEFT:99"));
    EXPECT_EQ(log.events(), QStringList({"LeftChat 5", "LeftChat 99"}));
    EXPECT_EQ(toc.LastChatID, 12) << "leaving does not change the last joined chat";
    EXPECT_EQ(toc.GetChatName(5), "[No Chat Name Found for ID]");
    EXPECT_EQ(toc.GetChatName(0), "") << "the freed entry is found as chat 0";

    // The freed entry is taken again, even by a chat already entered; a leave
    // frees only the first entry holding the chat.
    deliver(data("CHAT_JOIN:7:again:with:colons"));
    EXPECT_EQ(toc.chatTable()[4].lngChatID, 7);
    EXPECT_EQ(toc.chatTable()[4].strChatName, "again:with:colons");
    deliver(data("CHAT_LEFT:7"));
    EXPECT_EQ(toc.chatTable()[4].lngChatID, 0);
    EXPECT_EQ(toc.chatTable()[6].lngChatID, 7);
    EXPECT_EQ(toc.GetChatName(7), "room7");
}

TEST_F(Dispatch, AChatNumberedZeroKeepsItsEntry)
{
    // Servers that number a connection's chats from 0: the first room must
    // survive the second join, talk by name and be the one a leave frees.
    deliver(data("CHAT_JOIN:0:first") + data("CHAT_JOIN:1:second"));
    EXPECT_EQ(toc.GetChatName(0), "first");
    EXPECT_EQ(toc.GetChatName(1), "second");
    takeLines();
    toc.SendChat("first", "hi");
    EXPECT_EQ(takeLines(), QList<QByteArray>{"toc_chat_send \"0\" \"hi\""});

    deliver(data("CHAT_LEFT:1") + data("CHAT_JOIN:2:third") + data("CHAT_LEFT:0"));
    EXPECT_EQ(toc.chatTable()[1].strChatName, "third");
    EXPECT_TRUE(toc.chatTable()[0].strChatName.isEmpty());
    EXPECT_EQ(toc.GetChatName(2), "third");
}

TEST_F(Dispatch, BrokenChatMessagesLeaveTheTableAlone)
{
    deliver(data("CHAT_JOIN:5:lobby"));
    log.clear();
    deliver(data("CHAT_JOIN:x:bad") + data("CHAT_JOIN:6") + data("CHAT_LEFT:5 ") + data("CHAT_LEFT"));
    EXPECT_TRUE(log.events().isEmpty());
    EXPECT_EQ(toc.LastChatID, 5);
    EXPECT_EQ(toc.GetChatName(5), "lobby");
}

} // namespace
