// Two real clients on the local network: sign-on, presence, instant messages,
// chat rooms, warnings, blocking, accounts and the resident bot.

#include "localnetwork.h"
#include "qivbot.h"
#include "updatenotice.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

TEST_F(LocalNetwork, PresenceComesAndGoesWithSignOnAwayAndSignOff)
{
    auto alice = signOn("Alice");
    const QList<QVariant> &config = alice->loggedIn.first();
    EXPECT_EQ(config[0].toByteArray(), "alice");
    EXPECT_EQ(config[1].value<QList<QByteArray>>(), (QList<QByteArray>{"[group]Buddies", "QivBot"}));
    ASSERT_EQ(alice->nick.size(), 1);
    EXPECT_EQ(alice->nick[0][0].toByteArray(), "alice");
    EXPECT_EQ(alice->presenceOf("QivBot"), std::make_pair(true, QByteArray(" O ")));

    auto bob = signOn("bob");
    EXPECT_EQ(bob->loggedIn[0][1].value<QList<QByteArray>>(), (QList<QByteArray>{"[group]Buddies", "QivBot", "alice"}));
    ASSERT_TRUE(waitFor([&] { return bob->presenceOf("alice").has_value(); }));
    EXPECT_EQ(bob->presenceOf("alice"), std::make_pair(true, QByteArray(" O ")));
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob").has_value(); }));
    EXPECT_EQ(alice->presenceOf("bob"), std::make_pair(true, QByteArray(" O ")));

    bob->sock.SetAwayMessage("out to lunch");
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob")->second == " OU"; }));
    const qsizetype updates = alice->buddies.size();
    bob->sock.SetAwayMessage("still out"); // no change of state, no news
    bob->sock.SetAwayMessage("");
    ASSERT_TRUE(waitFor([&] { return alice->presenceOf("bob")->second == " O "; }));
    EXPECT_EQ(alice->buddies.size(), updates + 1);

    bob->sock.LogOff();
    ASSERT_TRUE(waitFor([&] { return !alice->presenceOf("bob")->first; }));
    EXPECT_TRUE(alice->roundTrip());
}

TEST_F(LocalNetwork, InstantMessagesTravelBothWaysWithTheAutoFlag)
{
    auto alice = signOn("alice");
    auto bob = signOn("bob");

    alice->sock.SendIM("Bob", "meet at 10:30: <b>\"here\"</b> {ok} $5", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 1; }));
    EXPECT_EQ(bob->ims[0][0].toByteArray(), "alice");
    EXPECT_EQ(bob->ims[0][1].toByteArray(), "meet at 10:30: <b>\"here\"</b> {ok} $5");
    EXPECT_FALSE(bob->ims[0][2].toBool());
    EXPECT_EQ(bob->ims[0][3].toByteArray(), " O ");

    bob->sock.SetAwayMessage("away");
    bob->sock.SendIM("alice", "I am away", true);
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == 1; }));
    EXPECT_EQ(alice->ims[0][0].toByteArray(), "bob");
    EXPECT_EQ(alice->ims[0][1].toByteArray(), "I am away");
    EXPECT_TRUE(alice->ims[0][2].toBool());
    EXPECT_EQ(alice->ims[0][3].toByteArray(), " OU");

    alice->sock.SendIM("nobody", "hello?", false);
    ASSERT_TRUE(waitFor([&] { return alice->errors.size() == 1; }));
    EXPECT_EQ(alice->errors[0][0].value<qint16>(), 901);
    EXPECT_EQ(alice->errors[0][1].toByteArray(), "nobody is not available");
}

TEST_F(LocalNetwork, ChatRoomArrivalsMessagesAndDepartures)
{
    auto alice = signOn("alice");
    auto bob = signOn("bob");

    alice->sock.JoinChat("Party Room", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 1 && alice->chatUsers.size() == 1; }));
    const qint32 id = alice->joined[0][1].value<qint32>();
    EXPECT_EQ(alice->joined[0][0].toByteArray(), "Party Room");
    EXPECT_GE(id, 0);
    EXPECT_EQ(alice->chatUsers[0][0].toByteArray(), "alice");

    bob->sock.JoinChat("party room", 4);
    ASSERT_TRUE(waitFor([&] { return bob->chatUsers.size() == 2 && alice->chatUsers.size() == 2; }));
    EXPECT_EQ(bob->joined[0][0].toByteArray(), "Party Room");
    EXPECT_EQ(bob->joined[0][1].value<qint32>(), id);
    EXPECT_EQ(bob->chatUsers[0][0].toByteArray(), "alice");
    EXPECT_EQ(bob->chatUsers[1][0].toByteArray(), "bob");
    EXPECT_EQ(alice->chatUsers[1][0].toByteArray(), "bob");
    EXPECT_TRUE(alice->chatUsers[1][1].toBool());

    alice->sock.SendChat("Party Room", "time: 10:30");
    ASSERT_TRUE(waitFor([&] { return alice->chatMessages.size() == 1 && bob->chatMessages.size() == 1; }));
    for (TestClient *client : {alice.get(), bob.get()}) {
        EXPECT_EQ(client->chatMessages[0][0].value<qint32>(), id);
        EXPECT_EQ(client->chatMessages[0][1].toByteArray(), "alice");
        EXPECT_EQ(client->chatMessages[0][2].toByteArray(), "time: 10:30");
    }

    bob->sock.LeaveChat("Party Room");
    ASSERT_TRUE(waitFor([&] { return bob->leftChat.size() == 1 && alice->chatUsers.size() == 3; }));
    EXPECT_EQ(bob->leftChat[0][0].value<qint32>(), id);
    EXPECT_EQ(alice->chatUsers[2][0].toByteArray(), "bob");
    EXPECT_FALSE(alice->chatUsers[2][1].toBool());

    // Talking in a room one has left reaches nobody and is refused.
    bob->sock.SendChat({}, "still here?", id);
    ASSERT_TRUE(waitFor([&] { return bob->errors.size() == 1; }));
    EXPECT_EQ(bob->errors[0][0].value<qint16>(), 911);
    EXPECT_TRUE(alice->roundTrip());
    EXPECT_EQ(alice->chatMessages.size(), 1);

    // A dropped connection leaves its rooms; the empty room goes away.
    alice->sock.LogOff();
    ASSERT_TRUE(waitFor([&] { return server.handler().rooms().roomCount() == 1; }));
}

TEST_F(LocalNetwork, WarningsAndBlocking)
{
    auto alice = signOn("alice");
    auto bob = signOn("bob");

    // Only somebody who wrote to you can be warned, once per message.
    bob->sock.WarnUser("alice", false);
    ASSERT_TRUE(waitFor([&] { return bob->errors.size() == 1; }));
    EXPECT_EQ(bob->errors[0][0].value<qint16>(), 902);
    alice->sock.SendIM("bob", "one", false);
    alice->sock.SendIM("bob", "two", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 2; }));
    bob->sock.WarnUser("alice", false);
    ASSERT_TRUE(waitFor([&] { return alice->warned.size() == 1; }));
    EXPECT_EQ(alice->warned[0][0].toByteArray(), "10");
    EXPECT_EQ(alice->warned[0][1].toByteArray(), "bob");
    bob->sock.WarnUser("alice", true);
    ASSERT_TRUE(waitFor([&] { return alice->warned.size() == 2; }));
    EXPECT_EQ(alice->warned[1][0].toByteArray(), "13");
    EXPECT_EQ(alice->warned[1][1].toByteArray(), "");
    // Everybody sees the new level.
    ASSERT_TRUE(waitFor([&] {
        return !bob->buddies.isEmpty() && bob->buddies.last()[0].toByteArray() == "alice"
            && bob->buddies.last()[2].value<qint16>() == 13;
    }));
    bob->sock.WarnUser("QivBot", false);
    ASSERT_TRUE(waitFor([&] { return bob->errors.size() == 2; }));
    EXPECT_EQ(bob->errors[1][0].value<qint16>(), 902);

    alice->sock.SetPrivacy(4); // the deny list counts in "deny some" mode
    alice->sock.BlockUser("bob");
    alice->sock.SendIM("bob", "bye", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 3; })); // the block is in place
    bob->sock.SendIM("alice", "let me in", false);
    ASSERT_TRUE(bob->roundTrip());
    ASSERT_TRUE(alice->roundTrip());
    for (const QList<QVariant> &im : alice->ims)
        EXPECT_NE(im[0].toByteArray(), "bob");

    alice->sock.UnblockUser("bob");
    alice->sock.SendIM("bob", "come back", false);
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 5; }));
    bob->sock.SendIM("alice", "thanks", false);
    ASSERT_TRUE(waitFor([&] { return alice->ims.last()[0].toByteArray() == "bob"; }));
}

TEST_F(LocalNetwork, PasswordsBelongToTheFirstSignOnAndCanBeChanged)
{
    auto alice = signOn("alice", "first");
    alice->sock.ChangePassword("wrong", "second");
    ASSERT_TRUE(waitFor([&] { return alice->errors.size() == 1; }));
    EXPECT_EQ(alice->errors[0][0].value<qint16>(), 980);
    alice->sock.ChangePassword("first", "second");
    ASSERT_TRUE(waitFor([&] { return alice->passwordChanged.size() == 1; }));
    alice->sock.LogOff();

    TestClient intruder;
    for (const QByteArray &password : {QByteArray("first"), QByteArray("wrong")}) {
        intruder.errors.clear();
        login(intruder, "alice", password);
        ASSERT_TRUE(waitFor([&] { return intruder.errors.size() == 1; }));
        EXPECT_EQ(intruder.errors[0][0].value<qint16>(), 980);
        EXPECT_EQ(intruder.errors[0][1].toByteArray(), "Invalid account or password");
    }
    login(intruder, "QivBot", "");
    ASSERT_TRUE(waitFor([&] { return intruder.errors.size() == 1; }));
    EXPECT_TRUE(intruder.loggedIn.isEmpty());

    auto again = signOn("alice", "second");
    EXPECT_EQ(again->loggedIn.size(), 1);

    // Signing on elsewhere ends the older session; the newer one carries on.
    auto elsewhere = signOn("alice", "second");
    ASSERT_TRUE(waitFor([&] { return again->dropped.size() == 1; }));
    EXPECT_TRUE(elsewhere->roundTrip());
}

TEST_F(LocalNetwork, AnOverLongCommandClosesOnlyThatConnection)
{
    auto alice = signOn("alice");
    auto bob = signOn("bob");

    alice->sock.SendPacket(Flap::Data, "toc_bogus");
    ASSERT_TRUE(waitFor([&] { return alice->errors.size() == 1; }));
    EXPECT_EQ(alice->errors[0][0].value<qint16>(), 911);

    bob->sock.SendPacket(Flap::Data, "toc_send_im alice \"" + QByteArray(2100, 'x') + '"');
    ASSERT_TRUE(waitFor([&] { return bob->dropped.size() == 1; }));
    ASSERT_TRUE(waitFor([&] { return !alice->presenceOf("bob")->first; }));
    EXPECT_TRUE(alice->ims.isEmpty());
    EXPECT_TRUE(alice->roundTrip());
}

TEST_F(LocalNetwork, QivBotAnswersAndGreetsInTheLobby)
{
    auto alice = signOn("alice");
    alice->sock.SendIM("QivBot", "hi there", false);
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == 1; }));
    EXPECT_EQ(alice->ims[0][0].toByteArray(), "QivBot");
    EXPECT_FALSE(alice->ims[0][2].toBool());
    EXPECT_TRUE(alice->ims[0][1].toByteArray().contains("alice"));

    // An automatic reply gets no answer, or two robots could talk forever.
    alice->sock.SendIM("QivBot", "I am away", true);
    ASSERT_TRUE(alice->roundTrip());
    EXPECT_EQ(alice->ims.size(), 2);

    alice->sock.JoinChat("Lobby", 4);
    ASSERT_TRUE(waitFor([&] { return alice->chatMessages.size() == 1; }));
    EXPECT_EQ(alice->joined[0][0].toByteArray(), "lobby");
    ASSERT_EQ(alice->chatUsers.size(), 2);
    EXPECT_EQ(alice->chatUsers[0][0].toByteArray(), "QivBot");
    EXPECT_EQ(alice->chatUsers[1][0].toByteArray(), "alice");
    EXPECT_EQ(alice->chatMessages[0][1].toByteArray(), "QivBot");
    EXPECT_EQ(alice->chatMessages[0][2].toByteArray(), QivBot::greeting("alice"));

    // The lobby outlives its last human.
    alice->sock.LeaveChat("lobby");
    ASSERT_TRUE(waitFor([&] { return alice->leftChat.size() == 1; }));
    alice->sock.JoinChat("lobby", 4);
    ASSERT_TRUE(waitFor([&] { return alice->joined.size() == 2; }));
    EXPECT_EQ(alice->joined[1][1], alice->joined[0][1]);
}

TEST_F(LocalNetwork, TheUpdateCheckIsAnsweredOnTheTocPortAndTocStillWorks)
{
    QNetworkAccessManager http;
    auto get = [&](const QString &path) {
        QNetworkReply *reply = http.get(
            QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path))));
        EXPECT_TRUE(waitFor([reply] { return reply->isFinished(); }));
        reply->deleteLater();
        return std::make_pair(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll());
    };
    EXPECT_EQ(get(QStringLiteral("/glenvo/qiv/update.php?v=1.0.0")),
              std::make_pair(200,
                             QByteArray("Qiv " QIV_VERSION " is the latest version. "
                                        "This notice comes from your local TOC2 network.")));
    EXPECT_EQ(get(QStringLiteral("/elsewhere")).first, 404);

    // Anything but a complete, small GET header gets no notice.
    EXPECT_EQ(UpdateNotice::respond("GET /glenvo/qiv/update.php HTTP/1.1\r\nHost: x\r\n", "1.0.0"), std::nullopt);
    EXPECT_TRUE(UpdateNotice::respond("GET " + QByteArray(UpdateNotice::MaxRequestSize, 'a'), "1.0.0")
                    ->startsWith("HTTP/1.0 431"));
    EXPECT_TRUE(
        UpdateNotice::respond("POST /glenvo/qiv/update.php HTTP/1.1\r\n\r\n", "1.0.0")->startsWith("HTTP/1.0 400"));

    auto alice = signOn("alice");
    EXPECT_TRUE(alice->roundTrip());
}
