// The server's pure pieces: the messages it writes as the client reads them,
// accounts and privacy, rooms, and the frame-header peek the server relies on.

#include "chatrooms.h"
#include "fakesocket.h"
#include "session/flap.h"
#include "printers.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "servermessages.h"
#include "serverframes.h"
#include "userdirectory.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
// Feeds server messages to a real client that has just signed on.
struct ClientUnderTest
{
    FakeSocket *socket = new FakeSocket;
    QuorTOCSock sock{socket};

    ClientUnderTest()
    {
        sock.Login("me", "pw", "host", 5190);
        socket->acceptConnection();
    }
    void receive(const QByteArray &message) { socket->deliver(ServerFrames::serverFrame(message)); }
};
} // namespace

TEST(ServerMessages, LongConfigurationIsCutAtLineEndsAndReadAsOne)
{
    QList<QByteArray> buddies;
    for (int i = 0; i < 300; ++i)
        buddies.append("buddy" + QByteArray::number(i));
    const QList<QByteArray> frames = ServerMessage::config({{"Buddies", buddies}}, {"pal"}, {"pest"}, 4);
    ASSERT_GT(frames.size(), 1);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        EXPECT_LE(frames[i].size(), int(sizeof "CONFIG2:") - 1 + ServerMessage::MaxConfigChunk);
        EXPECT_EQ(frames[i].contains("done:\n"), i == frames.size() - 1) << i;
        EXPECT_TRUE(frames[i].endsWith('\n')) << i;
    }

    ClientUnderTest client;
    QSignalSpy loggedIn(&client.sock, &QuorTOCSock::LoggedIn);
    for (const QByteArray &frame : frames)
        client.receive(frame);
    ASSERT_EQ(loggedIn.size(), 1);
    const auto buddyList = loggedIn[0][1].value<QList<QByteArray>>();
    ASSERT_EQ(buddyList.size(), 301);
    EXPECT_EQ(buddyList.first(), "[group]Buddies");
    EXPECT_EQ(buddyList.last(), "buddy299");
    EXPECT_EQ(loggedIn[0][2].value<QList<QByteArray>>(), QList<QByteArray>{"pest"});
    EXPECT_EQ(loggedIn[0][3].value<QList<QByteArray>>(), QList<QByteArray>{"pal"});
    EXPECT_EQ(loggedIn[0][6].value<qint16>(), 4);
}

TEST(ServerMessages, FreeTextWithColonsReachesTheClientWhole)
{
    ClientUnderTest client;
    QSignalSpy ims(&client.sock, &QuorTOCSock::InstantMessage);
    QSignalSpy chat(&client.sock, &QuorTOCSock::ChatMessage);
    QSignalSpy joined(&client.sock, &QuorTOCSock::JoinedChat);
    QSignalSpy buddy(&client.sock, &QuorTOCSock::BuddyUpdate);
    QSignalSpy warned(&client.sock, &QuorTOCSock::Warned);

    client.receive(ServerMessage::imIn("Some Body", true, true, "at 10:30: <b>x</b>"));
    client.receive(ServerMessage::chatJoin(7, "room: with colon"));
    client.receive(ServerMessage::chatIn(7, "bob", "a:b:c"));
    client.receive(ServerMessage::updateBuddy({"bob", true, 20, 1234, 0, true}));
    client.receive(ServerMessage::eviled(13, {}));

    ASSERT_EQ(ims.size(), 1);
    EXPECT_EQ(ims[0][0].toByteArray(), "Some Body");
    EXPECT_EQ(ims[0][1].toByteArray(), "at 10:30: <b>x</b>");
    EXPECT_TRUE(ims[0][2].toBool());
    EXPECT_EQ(ims[0][3].toByteArray(), " OU");
    ASSERT_EQ(joined.size(), 1);
    EXPECT_EQ(joined[0][0].toByteArray(), "room: with colon");
    ASSERT_EQ(chat.size(), 1);
    EXPECT_EQ(chat[0][2].toByteArray(), "a:b:c");
    ASSERT_EQ(buddy.size(), 1);
    EXPECT_TRUE(buddy[0][1].toBool());
    EXPECT_EQ(buddy[0][2].value<qint16>(), 20);
    EXPECT_EQ(buddy[0][5].toByteArray(), " OU");
    ASSERT_EQ(warned.size(), 1);
    EXPECT_EQ(warned[0][0].toByteArray(), "13");
    EXPECT_EQ(warned[0][1].toByteArray(), "");
}

TEST(UserDirectory, FirstSignOnSetsThePasswordAndResidentsCannotBeTaken)
{
    UserDirectory directory;
    directory.addResident("QivBot");
    const QByteArray pw = ScreenName::RoastPassword("secret");
    using R = UserDirectory::LoginResult;
    EXPECT_EQ(directory.checkLogin("alice", pw), R::Accepted);
    EXPECT_EQ(directory.checkLogin("alice", pw), R::Accepted);
    EXPECT_EQ(directory.checkLogin("Al Ice", ScreenName::RoastPassword("other")), R::WrongPassword);
    EXPECT_EQ(directory.displayName("alice"), "alice");
    EXPECT_EQ(directory.checkLogin("qivbot", ScreenName::RoastPassword("")), R::WrongPassword);

    for (const QByteArray &name :
         {QByteArray(""), QByteArray("a:b"), QByteArray("a\"b"), QByteArray("a\nb"), QByteArray(33, 'x')})
        EXPECT_EQ(directory.checkLogin(name, pw), R::InvalidName) << name.toStdString();

    EXPECT_FALSE(directory.changePassword("alice", ScreenName::RoastPassword("wrong"), pw));
    EXPECT_TRUE(directory.changePassword("alice", pw, ScreenName::RoastPassword("new")));
    EXPECT_EQ(directory.checkLogin("alice", pw), R::WrongPassword);
    EXPECT_EQ(directory.checkLogin("alice", ScreenName::RoastPassword("new")), R::Accepted);
}

TEST(UserDirectory, PrivacyModesDecideWhoGetsThrough)
{
    UserDirectory directory;
    directory.checkLogin("alice", "0x");
    directory.addDeny("alice", "pest");
    directory.addPermit("alice", "friend");
    struct Case
    {
        int mode;
        bool pest;
        bool friendly;
        bool stranger;
    };
    const Case cases[] = {
        {UserDirectory::PermitAll, false, false, false}, // the deny list waits for DenySome
        {UserDirectory::DenyAll, true, true, true},
        {UserDirectory::PermitSome, true, false, true},
        {UserDirectory::DenySome, true, false, false},
        {UserDirectory::PermitBuddies, true, true, true}, // none of them is an account
    };
    for (const Case &c : cases) {
        directory.setPrivacyMode("alice", c.mode);
        EXPECT_EQ(directory.blocks("alice", "pest"), c.pest) << c.mode;
        EXPECT_EQ(directory.blocks("alice", "friend"), c.friendly) << c.mode;
        EXPECT_EQ(directory.blocks("alice", "stranger"), c.stranger) << c.mode;
    }
    directory.setPrivacyMode("alice", 9); // ignored
    EXPECT_EQ(directory.privacyMode("alice"), UserDirectory::PermitBuddies);
}

TEST(UserDirectory, DeletingAGroupTakesItsBuddiesOffTheListUnlessAnotherGroupHoldsThem)
{
    UserDirectory directory;
    for (const QByteArray name : {"alice", "bob", "carol", "dave"})
        directory.checkLogin(name, "0x");
    EXPECT_TRUE(directory.addGroup("alice", "Empty"));
    EXPECT_FALSE(directory.addGroup("alice", "a\nb"));
    directory.addBuddy("alice", "Work", "bob");
    directory.addBuddy("alice", "Pals", "bob");
    directory.addBuddy("alice", "Pals", "carol");
    using Groups = QList<UserDirectory::BuddyGroup>;
    EXPECT_EQ(directory.filedGroupsOf("alice"), (Groups{{"Empty", {}}, {"Work", {"bob"}}, {"Pals", {"bob", "carol"}}}));

    EXPECT_TRUE(directory.removeGroup("alice", "Pals"));
    EXPECT_FALSE(directory.removeGroup("alice", "Pals"));
    EXPECT_TRUE(directory.hasBuddy("alice", "bob"));
    EXPECT_FALSE(directory.hasBuddy("alice", "carol"));
    // The shared group goes with everybody in it.
    EXPECT_TRUE(directory.removeGroup("alice", UserDirectory::SharedGroup));
    EXPECT_EQ(directory.buddiesOf("alice"), QList<QByteArray>());
    EXPECT_TRUE(directory.hasBuddy("alice", "bob"));

    for (int n = 0; directory.addGroup("alice", "G" + QByteArray::number(n)); ++n)
        ASSERT_LT(n, UserDirectory::MaxGroups);
}

TEST(ChatRooms, RoomsAreFoundRegardlessOfCaseAndVanishWhenEmpty)
{
    ChatRooms rooms;
    const qint32 lobby = rooms.addPermanentRoom("lobby", "qivbot");
    EXPECT_EQ(lobby, 0); // the first room is chat 0, as on the real network
    const ChatRooms::Join first = rooms.join("  Party Room ", "alice");
    EXPECT_EQ(first.result, ChatRooms::JoinResult::Joined);
    EXPECT_EQ(first.id, 1);
    EXPECT_EQ(rooms.room(1)->name, "Party Room");
    EXPECT_EQ(rooms.join("party room", "bob").id, 1);
    EXPECT_EQ(rooms.join("PARTY ROOM", "bob").result, ChatRooms::JoinResult::AlreadyInside);
    EXPECT_EQ(rooms.room(1)->members, (QList<QByteArray>{"alice", "bob"}));
    EXPECT_EQ(rooms.join("   ", "bob").result, ChatRooms::JoinResult::InvalidName);
    EXPECT_EQ(rooms.join("a\nb", "bob").result, ChatRooms::JoinResult::InvalidName);

    EXPECT_FALSE(rooms.leave(1, "carol"));
    EXPECT_TRUE(rooms.leave(1, "alice"));
    EXPECT_TRUE(rooms.leave(1, "bob"));
    EXPECT_EQ(rooms.room(1), nullptr);
    EXPECT_EQ(rooms.join("party room", "bob").id, 2); // a new room, a new ID

    EXPECT_TRUE(rooms.leave(lobby, "qivbot"));
    EXPECT_NE(rooms.room(lobby), nullptr);

    for (int i = 0; i < ChatRooms::MaxMembers; ++i)
        rooms.join("crowd", "user" + QByteArray::number(i));
    EXPECT_EQ(rooms.join("crowd", "late").result, ChatRooms::JoinResult::Full);
}

TEST(FrameSplitter, PeekShowsTheHeaderBeforeThePayloadArrives)
{
    Flap::FrameSplitter splitter;
    const QByteArray frame = Flap::buildFrame(Flap::Data, 0x1234, QByteArray(300, 'x'));
    splitter.append(frame.first(5));
    EXPECT_FALSE(splitter.peekHeader());
    splitter.append(frame.sliced(5, 1));
    const auto header = splitter.peekHeader();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->marker, '*');
    EXPECT_EQ(header->type, Flap::Data);
    EXPECT_EQ(header->sequence, 0x1234);
    EXPECT_EQ(header->length, 300);
    EXPECT_FALSE(splitter.next());
    splitter.append(frame.sliced(6) + "#\x05");
    EXPECT_EQ(splitter.next(), frame);
    EXPECT_FALSE(splitter.peekHeader()); // two bytes of the next header only
}
