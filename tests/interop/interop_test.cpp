// The same end-to-end list against every TOC2 server Qiv meets: real clients
// (QuorTOCSock over TCP) on a server process started for each test. Servers
// report display names ("Alice") where Qiv sends normalized ones ("alice"), so
// names are compared normalized.

#include "interopfixture.h"
#include "session/screenname.h"
#include "session/toccommands.h"
#include "session/tocconfig.h"
#include "testclient.h"

#include <QDateTime>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using ScreenName::sameName;

QList<QByteArray> normalized(const QList<QByteArray> &names)
{
    QList<QByteArray> result;
    for (const QByteArray &name : names)
        result.append(name.startsWith("[group]") ? name : ScreenName::NormalizeName(name));
    return result;
}

TEST_P(Interop, SignOnRefusesAWrongPasswordAndReadsTheStoredLists)
{
    account("Alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("Alice", "secret1");
    ASSERT_EQ(alice->nick.size(), 1);
    EXPECT_TRUE(sameName(alice->nick[0][0].toByteArray(), "alice"));
    EXPECT_EQ(alice->loggedIn[0][0].toByteArray(), "alice");
    alice->sock.AddBuddy("Friends", "bob");
    alice->sock.BlockUser("mallory");
    alice->sock.SetPrivacy(4);
    ASSERT_TRUE(settle(*alice));
    alice->sock.LogOff();

    TestClient intruder;
    login(intruder, "alice", "wrong1");
    ASSERT_TRUE(waitFor([&] { return intruder.errors.size() == 1; }));
    EXPECT_EQ(intruder.errors[0][0].value<qint16>(), 980);
    EXPECT_EQ(intruder.errors[0][1].toByteArray(), "Invalid account or password");
    EXPECT_TRUE(intruder.loggedIn.isEmpty());

    // The lists come back at the next sign-on, NICK before them.
    auto again = signOn("alice", "secret1");
    EXPECT_EQ(again->nick.size(), 1);
    const QList<QVariant> &config = again->loggedIn[0];
    const QList<QByteArray> buddyList = normalized(config[1].value<QList<QByteArray>>());
    const qsizetype friends = buddyList.indexOf("[group]Friends");
    ASSERT_GE(friends, 0) << ::testing::PrintToString(buddyList);
    EXPECT_TRUE(buddyList.sliced(friends).contains("bob"));
    EXPECT_EQ(normalized(config[2].value<QList<QByteArray>>()), QList<QByteArray>{"mallory"});
    EXPECT_EQ(config[6].value<qint16>(), 4);
}

TEST_P(Interop, PresenceFollowsTheStoredBuddyList)
{
    account("alice", "secret1");
    account("Bob", "secret2");
    auto alice = signOn("alice", "secret1");
    alice->sock.AddBuddy("Friends", "B o b"); // the same buddy, spelled another way
    ASSERT_TRUE(settle(*alice));

    auto bob = signOn("bob", "secret2");
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob").has_value(); }));
    EXPECT_TRUE(alice->presenceOf("bob")->first);
    EXPECT_EQ(alice->buddies.last()[2].value<qint16>(), 0); // warning level
    bob->sock.LogOff();
    ASSERT_TRUE(waitFor([&] { return !alice->presenceOf("bob")->first; }));

    // A removed buddy is no longer reported.
    alice->sock.RemoveBuddy("Friends", "B o b");
    ASSERT_TRUE(settle(*alice));
    const qsizetype updates = alice->buddies.size();
    bob = signOn("bob", "secret2");
    ASSERT_TRUE(settle(*alice));
    EXPECT_EQ(alice->buddies.size(), updates);
}

TEST_P(Interop, ABuddyStoredWithAnAliasIsKnownByItsNameAndShownByTheAlias)
{
    account("alice", "secret1");
    account("Bob", "secret2");
    auto alice = signOn("alice", "secret1");
    // What other clients of the network store: the buddy with a name to show.
    alice->sock.SendPacket(Flap::Data, TocCommand::newBuddies("Friends", "bob:Best Pal"));
    ASSERT_TRUE(settle(*alice));

    // A second sign-on reads it back while the first is still on (a sign-on
    // right after a sign-off can miss presence on Open OSCAR Server).
    auto again = signOn("alice", "secret1");
    ASSERT_EQ(again->loggedIn.size(), 1);
    QByteArray stored;
    for (const QByteArray &entry : again->loggedIn[0][1].value<QList<QByteArray>>()) {
        if (sameName(TocConfigText::buddyName(entry), "bob"))
            stored = TocConfigText::buddyName(entry);
    }
    ASSERT_FALSE(stored.isEmpty()) << ::testing::PrintToString(again->loggedIn[0][1].value<QList<QByteArray>>());
    EXPECT_EQ(again->sock.buddyAliases().value("bob"), "Best Pal");

    auto bob = signOn("bob", "secret2");
    ASSERT_TRUE(waitFor([&] { return again->presenceOf(stored).has_value(); }));
    EXPECT_TRUE(again->presenceOf(stored)->first);

    // Removed under the name stored, bob's sign-off is no longer news.
    again->sock.RemoveBuddy("Friends", stored);
    ASSERT_TRUE(settle(*again));
    const qsizetype updates = again->buddies.size();
    bob->sock.LogOff();
    ASSERT_TRUE(settle(*again));
    EXPECT_EQ(again->buddies.size(), updates);
}

TEST_P(Interop, InstantMessagesCarryEveryCharacterBothWays)
{
    account("alice", "secret1");
    account("bob", "secret2");
    account("carol", "secret3");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");

    const QList<QByteArray> messages{
        // A double quote followed by a space cuts the message short on Open
        // OSCAR Server (it reads arguments like CSV fields), so none is.
        "every special one: \\ $ ( ) [ ] { } < & : and a \"quoted\"-word",
        "at 10:30: <b>bold</b> <font color=\"#ff0000\">red</font> &amp;",
        "8-bit caf\xe9 na\xefve",
        "UTF-8 caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
        QByteArray(2048 - 20, 'x'), // the command line is 2048 bytes, the limit
    };
    for (const QByteArray &message : messages)
        alice->sock.SendIM("bob", message, false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == messages.size(); }));
    for (qsizetype i = 0; i < messages.size(); ++i) {
        EXPECT_TRUE(sameName(bob->ims[i][0].toByteArray(), "alice"));
        EXPECT_EQ(bob->ims[i][1].toByteArray(), messages[i]);
        EXPECT_FALSE(bob->ims[i][2].toBool());
    }

    bob->sock.SetAwayMessage("out");
    bob->sock.SendIM("Alice", "I am away", true);
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == 1; }));
    EXPECT_TRUE(sameName(alice->ims[0][0].toByteArray(), "bob"));
    EXPECT_EQ(alice->ims[0][1].toByteArray(), "I am away");
    EXPECT_TRUE(alice->ims[0][2].toBool());

    // Nobody gets a message for someone offline; a server may say so.
    alice->sock.SendIM("carol", "hello?", false);
    ASSERT_TRUE(settle(*alice));
    for (const QList<QVariant> &error : alice->errors) {
        EXPECT_EQ(error[0].value<qint16>(), 901);
        EXPECT_EQ(error[1].toByteArray(), "carol is not available");
    }
    alice->sock.SendIM("bob", "still here", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == messages.size() + 1; }));
}

TEST_P(Interop, ChatRoomsWithMembersMessagesAndThreeAtOnce)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");

    alice->sock.JoinChat("Party Room", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 1 && alice->chatUsers.size() == 1; }));
    EXPECT_EQ(alice->joined[0][0].toByteArray().toLower(), "party room");
    const qint32 aliceRoom = alice->joined[0][1].value<qint32>();
    bob->sock.JoinChat("party room", 4);
    ASSERT_TRUE(waitFor([&] { return bob->chatUsers.size() == 2 && alice->chatUsers.size() == 2; }));
    EXPECT_TRUE(sameName(alice->chatUsers[1][0].toByteArray(), "bob"));
    EXPECT_TRUE(alice->chatUsers[1][1].toBool());

    // Two more rooms: the first one still talks by name.
    alice->sock.JoinChat("Second", 4);
    alice->sock.JoinChat("Third", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 3; }));
    alice->sock.SendChat("Party Room", "time: 10:30 {ok}");
    alice->sock.SendChat("Third", "in the third");
    ASSERT_TRUE(waitFor([&] { return alice->chatMessages.size() == 2 && bob->chatMessages.size() == 1; }));
    EXPECT_EQ(alice->chatMessages[0][0].value<qint32>(), aliceRoom);
    EXPECT_EQ(alice->chatMessages[0][2].toByteArray(), "time: 10:30 {ok}");
    EXPECT_EQ(alice->chatMessages[1][0].value<qint32>(), alice->joined[2][1].value<qint32>());
    EXPECT_EQ(bob->chatMessages[0][0].value<qint32>(), bob->joined[0][1].value<qint32>());
    EXPECT_TRUE(sameName(bob->chatMessages[0][1].toByteArray(), "alice"));
    EXPECT_EQ(bob->chatMessages[0][2].toByteArray(), "time: 10:30 {ok}");

    bob->sock.LeaveChat(bob->joined[0][0].toByteArray());
    ASSERT_TRUE(waitFor([&] { return bob->leftChat.size() == 1 && alice->chatUsers.size() == 5; }));
    EXPECT_EQ(bob->leftChat[0][0], bob->joined[0][1]);
    EXPECT_TRUE(sameName(alice->chatUsers[4][0].toByteArray(), "bob"));
    EXPECT_FALSE(alice->chatUsers[4][1].toBool());
    EXPECT_EQ(alice->chatUsers[4][2].value<qint32>(), aliceRoom);
}

TEST_P(Interop, TypingNewsAndChatInvitationsReachTheOtherSide)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");

    for (const qint16 state : {QuorTOCSock::Typing, QuorTOCSock::TextTyped, QuorTOCSock::NothingTyped})
        alice->sock.SendTypingStatus("Bob", state);
    ASSERT_TRUE(waitFor([&] { return bob->typing.size() == 3; }));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(sameName(bob->typing[i][0].toByteArray(), "alice"));
    EXPECT_EQ(bob->typing[0][1].value<qint16>(), QuorTOCSock::Typing);
    EXPECT_EQ(bob->typing[1][1].value<qint16>(), QuorTOCSock::TextTyped);
    EXPECT_EQ(bob->typing[2][1].value<qint16>(), QuorTOCSock::NothingTyped);

    alice->sock.JoinChat("Book Club", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 1; }));
    const qint32 room = alice->joined[0][1].value<qint32>();
    alice->sock.InviteUsers("", "come and talk", "Bob", room);
    ASSERT_TRUE(waitFor([&] { return bob->invites.size() == 1; }));
    EXPECT_EQ(bob->invites[0][0].toByteArray().toLower(), "book club");
    EXPECT_TRUE(sameName(bob->invites[0][2].toByteArray(), "alice"));
    EXPECT_EQ(bob->invites[0][3].toByteArray(), "come and talk");

    bob->sock.AcceptChatInvite(bob->invites[0][1].value<qint32>());
    ASSERT_TRUE(waitFor([&] { return bob->joined.size() == 1 && alice->chatUsers.size() >= 2; }));
    EXPECT_EQ(bob->joined[0][0].toByteArray().toLower(), "book club");
    EXPECT_TRUE(sameName(alice->chatUsers.last()[0].toByteArray(), "bob"));
    EXPECT_TRUE(alice->errors.isEmpty() && bob->errors.isEmpty());
}

TEST_P(Interop, WarningsBlockingAndPrivacy)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");

    // Only somebody who wrote to you can be warned. (The refusal, ERROR 902,
    // comes without the name from Open OSCAR Server, so Qiv cannot report it.)
    bob->sock.WarnUser("alice", false);
    ASSERT_TRUE(settle(*bob));
    EXPECT_TRUE(alice->warned.isEmpty());
    alice->sock.SendIM("bob", "hi", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 1; }));
    bob->sock.WarnUser("alice", false);
    ASSERT_TRUE(waitFor([&] { return alice->warned.size() == 1; }));
    EXPECT_EQ(alice->warned[0][0].toByteArray(), "10");
    EXPECT_TRUE(sameName(alice->warned[0][1].toByteArray(), "bob"));

    // Blocking keeps bob out once the privacy mode denies the listed names.
    alice->sock.SetPrivacy(4);
    alice->sock.BlockUser("bob");
    ASSERT_TRUE(settle(*alice));
    bob->sock.SendIM("alice", "let me in", false);
    ASSERT_TRUE(settle(*bob));
    ASSERT_TRUE(settle(*alice));
    EXPECT_TRUE(alice->ims.isEmpty());

    alice->sock.UnblockUser("bob");
    ASSERT_TRUE(settle(*alice));
    bob->sock.SendIM("alice", "thanks", false);
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == 1; }));
}

TEST_P(Interop, PrivacyModesKeepOutWhomTheyShouldAndTheStoredListsComeBack)
{
    account("alice", "secret1");
    account("bob", "secret2");
    account("carol", "secret3");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");
    auto carol = signOn("carol", "secret3");
    // Both on alice's list: Open OSCAR Server applies a mode only to people
    // on one of the user's lists (or who have the user on one of theirs).
    alice->sock.AddBuddy("Friends", "bob");
    alice->sock.AddBuddy("Friends", "carol");
    using Check = QuorTOCSock::SendCheck;
    EXPECT_EQ(alice->sock.tryAddPrivateUser("Carol"), Check::Sendable);
    EXPECT_EQ(alice->sock.tryAddPrivateUser("Dave"), Check::Sendable);
    EXPECT_EQ(alice->sock.tryBlockUser("mallory"), Check::Sendable);
    ASSERT_TRUE(settle(*alice));

    // Whether each of bob and carol gets a message through to alice now.
    auto reaches = [&](std::initializer_list<TestClient *> senders) {
        const qsizetype before = alice->ims.size();
        for (TestClient *sender : senders) {
            sender->sock.SendIM("alice", "knock knock", false);
            EXPECT_TRUE(settle(*sender));
        }
        EXPECT_TRUE(settle(*alice));
        QList<QByteArray> through;
        for (const QList<QVariant> &im : alice->ims.sliced(before))
            through.append(ScreenName::NormalizeName(im[0].toByteArray()));
        return through;
    };
    const std::pair<qint16, QList<QByteArray>> modes[] = {
        {3, {"carol"}}, // the allow list only
        {2, {}},
        {5, {"bob", "carol"}},
    };
    for (const auto &[mode, through] : modes) {
        alice->sock.SetPrivacy(mode);
        ASSERT_TRUE(settle(*alice));
        EXPECT_EQ(reaches({bob.get(), carol.get()}), through) << mode;
    }
    // Off the buddy list, carol is kept out by "allow only my buddies".
    alice->sock.RemoveBuddy("Friends", "carol");
    ASSERT_TRUE(settle(*alice));
    EXPECT_EQ(reaches({bob.get(), carol.get()}), QList<QByteArray>{"bob"});

    EXPECT_EQ(alice->sock.tryRemovePrivateUser("carol"), Check::Sendable);
    ASSERT_TRUE(settle(*alice));
    EXPECT_TRUE(alice->errors.isEmpty()) << ::testing::PrintToString(alice->errors);
    alice->sock.LogOff();

    auto again = signOn("alice", "secret1");
    const QList<QVariant> &config = again->loggedIn[0];
    EXPECT_EQ(normalized(config[3].value<QList<QByteArray>>()), QList<QByteArray>{"dave"});
    EXPECT_EQ(normalized(config[2].value<QList<QByteArray>>()), QList<QByteArray>{"mallory"});
    EXPECT_EQ(config[6].value<qint16>(), 5);
}

TEST_P(Interop, ProfileNameFormatAndPasswordChange)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");

    alice->sock.SetProfile("I like <b>TOC</b>");
    bob->sock.GetProfile("Alice");
    ASSERT_TRUE(waitFor([&] { return bob->profiles.size() == 2; }));
    EXPECT_TRUE(bob->profiles[1][0].toByteArray().contains("alice"));

    alice->sock.FormatUserName("Al Ice");
    ASSERT_TRUE(waitFor([&] { return alice->nickFormatted.size() == 1 && alice->nick.size() == 2; }));
    EXPECT_EQ(alice->nick[1][0].toByteArray(), "Al Ice");

    alice->sock.ChangePassword("wrong1", "secret9");
    ASSERT_TRUE(waitFor([&] { return alice->errors.size() == 1; }));
    EXPECT_EQ(alice->errors[0][0].value<qint16>(), 980);
    EXPECT_TRUE(alice->passwordChanged.isEmpty());
    alice->sock.ChangePassword("secret1", "secret9");
    ASSERT_TRUE(waitFor([&] { return alice->passwordChanged.size() == 1; }));
    alice->sock.LogOff();

    TestClient old;
    login(old, "alice", "secret1");
    ASSERT_TRUE(waitFor([&] { return old.errors.size() == 1; }));
    EXPECT_EQ(old.errors[0][0].value<qint16>(), 980);
    auto renewed = signOn("alice", "secret9");
    EXPECT_TRUE(sameName(renewed->nick[0][0].toByteArray(), "alice"));
}

TEST_P(Interop, EveryRefusedSignOnReadsAsASentenceAndTheNextSignOnWorks)
{
    account("alice", "secret1");
    auto refusal = [](const TestClient &client) {
        const QByteArray text = client.errors.isEmpty() ? QByteArray() : client.errors[0][1].toByteArray();
        EXPECT_FALSE(text.isEmpty() || text.startsWith("Error code")) << text.toStdString();
        EXPECT_TRUE(client.loggedIn.isEmpty());
        return client.errors.isEmpty() ? 0 : client.errors[0][0].value<qint16>();
    };

    // As many sessions of one name as the server keeps, and one more.
    std::vector<std::unique_ptr<TestClient>> places;
    for (int i = 0; i < peer->sessionsPerName(); ++i)
        places.push_back(signOn("alice", "secret1"));
    TestClient extra;
    login(extra, "alice", "secret1");
    ASSERT_TRUE(waitFor([&] { return !extra.loggedIn.isEmpty() || !extra.errors.isEmpty(); }));
    if (peer->sessionsPerName() > 1)
        EXPECT_EQ(refusal(extra), 980);
    else
        EXPECT_TRUE(extra.errors.isEmpty());

    // Without a password: a refusal (980), or on Open OSCAR Server its
    // internal error (913), which it gives for whatever fails inside it.
    TestClient blank;
    login(blank, "alice", "");
    ASSERT_TRUE(waitFor([&] { return !blank.errors.isEmpty(); }));
    const qint16 code = refusal(blank);
    EXPECT_TRUE(code == 980 || code == 913) << code;

    // Once a place is free, the name signs on again; the server may take a
    // moment to see that place go.
    places.front()->sock.LogOff();
    TestClient next;
    for (int attempt = 0; attempt < 3 && next.loggedIn.isEmpty(); ++attempt) {
        next.errors.clear();
        login(next, "alice", "secret1");
        waitFor([&] { return !next.loggedIn.isEmpty() || !next.errors.isEmpty(); });
    }
    EXPECT_EQ(next.loggedIn.size(), 1);

    // Sign-ons from one address beyond what the server takes in a minute.
    if (const int limit = peer->signOnsPerAddress(); limit > 0) {
        std::vector<std::unique_ptr<TestClient>> more;
        while (int(more.size()) <= limit) {
            more.push_back(std::make_unique<TestClient>());
            login(*more.back(), "bob", "secret2");
            ASSERT_TRUE(waitFor([&] { return !more.back()->errors.isEmpty(); }));
            if (more.back()->errors[0][0].value<qint16>() == 983)
                break;
        }
        EXPECT_EQ(refusal(*more.back()), 983);
        // The same client asks again and is answered the same way.
        more.back()->errors.clear();
        login(*more.back(), "alice", "secret1");
        ASSERT_TRUE(waitFor([&] { return !more.back()->errors.isEmpty(); }));
        EXPECT_EQ(refusal(*more.back()), 983);
    }
}

TEST_P(Interop, AStoppedServerIsReportedAndSignOnWorksOnceItIsBack)
{
    account("alice", "secret1");
    auto alice = signOn("alice", "secret1");
    peer->stop();
    ASSERT_TRUE(waitFor([&] { return alice->dropped.size() == 1; }));
    EXPECT_FALSE(alice->dropped[0][0].toByteArray().isEmpty());
    EXPECT_FALSE(alice->sock.isConnected());

    const QString failure = peer->start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    alice->loggedIn.clear();
    login(*alice, "alice", "secret1");
    ASSERT_TRUE(waitFor([&] { return alice->loggedIn.size() == 1; }));
}

// The groups of a stored list as (group, buddies), buddies normalized.
QList<std::pair<QByteArray, QList<QByteArray>>> storedGroups(const QList<QByteArray> &buddyList)
{
    QList<std::pair<QByteArray, QList<QByteArray>>> groups;
    for (const QByteArray &entry : buddyList) {
        if (entry.startsWith("[group]"))
            groups.append({entry.mid(7), {}});
        else if (!groups.isEmpty())
            groups.last().second.append(ScreenName::NormalizeName(entry.split(':').first()));
    }
    return groups;
}

TEST_P(Interop, StoredGroupsAreAddedRenamedAndRemovedAndBuddiesMoved)
{
    account("alice", "secret1");
    for (const QByteArray name : {"bob", "carol", "dave"})
        account(name, "secret2");
    auto alice = signOn("alice", "secret1");
    using Check = QuorTOCSock::SendCheck;
    EXPECT_EQ(alice->sock.tryAddGroup("Work"), Check::Sendable);
    alice->sock.AddBuddy("Friends", "Bob");
    alice->sock.AddBuddy("Friends", "carol");
    alice->sock.AddBuddy("Gone", "dave");
    ASSERT_TRUE(settle(*alice));
    // Characters TOC2 escapes, in a group a buddy is then taken out of.
    EXPECT_EQ(alice->sock.tryRenameGroup("Friends", "Pals (old) [$]", {"bob", "carol"}), Check::Sendable);
    EXPECT_EQ(alice->sock.tryMoveBuddy("carol", "Pals (old) [$]", "Work"), Check::Sendable);
    EXPECT_EQ(alice->sock.tryRemoveGroup("Gone", {"dave"}), Check::Sendable);
    EXPECT_EQ(alice->sock.tryAddGroup("Empty"), Check::Sendable);
    ASSERT_TRUE(settle(*alice));
    EXPECT_TRUE(alice->errors.isEmpty()) << ::testing::PrintToString(alice->errors);
    alice->sock.LogOff();

    // What the server kept is what the next sign-on reads. (The local
    // network also lists everybody else in a group of its own, Buddies.)
    auto again = signOn("alice", "secret1");
    auto groups = storedGroups(again->loggedIn[0][1].value<QList<QByteArray>>());
    groups.removeIf([](const auto &group) { return group.first == "Buddies"; });
    using Groups = QList<std::pair<QByteArray, QList<QByteArray>>>;
    EXPECT_EQ(groups, (Groups{{"Work", {"carol"}}, {"Pals (old) [$]", {"bob"}}, {"Empty", {}}}));
}

TEST_P(Interop, PresenceTellsAwayIdleAndSinceWhenABuddyIsOnline)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    alice->sock.AddBuddy("Friends", "bob");
    ASSERT_TRUE(settle(*alice));
    auto bob = signOn("bob", "secret2");
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob").has_value(); }));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    EXPECT_LE(qAbs(alice->buddies.last()[3].value<qint32>() - now), 60) << "online since";
    EXPECT_EQ(alice->buddies.last()[4].value<qint32>(), 0);

    auto lastIdle = [&] { return alice->buddies.last()[4].value<qint32>(); };
    EXPECT_EQ(bob->sock.trySetIdleTime(12), QuorTOCSock::SendCheck::Sendable);
    ASSERT_TRUE(waitFor([&] { return lastIdle() == 12; }));
    bob->sock.SetAwayMessage("out to lunch");
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob")->second.mid(2, 1) == "U"; }));
    EXPECT_TRUE(alice->presenceOf("bob")->first);
    bob->sock.trySetIdleTime(0);
    ASSERT_TRUE(waitFor([&] { return lastIdle() == 0; }));
}

TEST_P(Interop, OneInvitationReachesEveryNameGiven)
{
    account("alice", "secret1");
    account("bob", "secret2");
    account("Carol", "secret3");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");
    auto carol = signOn("carol", "secret3");
    alice->sock.JoinChat("Book Club", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 1; }));
    EXPECT_EQ(alice->sock.tryInviteUsers(alice->joined[0][1].value<qint32>(), "read with us", {"Bob", "C a r o l"}),
              QuorTOCSock::SendCheck::Sendable);
    ASSERT_TRUE(waitFor([&] { return bob->invites.size() == 1 && carol->invites.size() == 1; }));
    EXPECT_EQ(carol->invites[0][3].toByteArray(), "read with us");
    EXPECT_TRUE(sameName(carol->invites[0][2].toByteArray(), "alice"));
}

INSTANTIATE_TEST_SUITE_P(Servers, Interop, ::testing::Values("local", "oscar"),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

} // namespace
