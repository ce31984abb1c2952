// What people type arrives as typed and nothing is lost, on every server:
// the text itself (to Qiv and to a client that reads the HTML as HTML), a
// burst faster than the server's limits, a block, and a sign-on right after
// a sign-off.

#include "bareclient.h"
#include "blocklist.h"
#include "interopfixture.h"
#include "session/screenname.h"
#include "session/signonflow.h"
#include "session/toccommands.h"
#include "session/wiretext.h"

#include <QSet>
#include <QTextDocument>

namespace {

// How another client of the network reads a message: through an HTML reader
// of its own, Qt's here.
QString readAsHtml(const QByteArray &message)
{
    QTextDocument document;
    document.setHtml(WireText::fromWire(message));
    return document.toPlainText();
}

// The prefixes a message may start with: Qiv's default, the one the
// preferences build, and one an earlier Qiv built and "Remember me" kept.
const QString Prefixes[] = {
    QStringLiteral(R"(<body bgcolor=""#EEEEEE""><font face=""Trebuchet MS"">)"),
    QStringLiteral("<font face='Trebuchet MS' color=#000000><body bgcolor=#EEEEEE>"),
    QStringLiteral(R"(<font face="Trebuchet MS" color=#000000><body bgcolor=#EEEEEE>)"),
};

const QString Typed[] = {
    QStringLiteral("Did you see \"Casablanca\" yesterday?"),
    QStringLiteral("5 < 6 and 7 > 3, a<b and c>d, <grin>"),
    QStringLiteral("entities typed: &amp; &lt;b&gt; &#39; &quot;"),
    QStringLiteral("C:\\path\\ and \\\\ {braces} [x] (y) $HOME"),
    QStringLiteral("caf\u00e9 \u20ac \U0001F600"),
    QStringLiteral("  two  spaces, three   and the end  "),
};

// A message of x's whose command line to name is exactly the server's limit.
QString longestFor(const QByteArray &name, const QString &prefix)
{
    const QString base = QStringLiteral("x");
    const qsizetype line = TocCommand::sendIm(name, WireText::toWireHtml(prefix, base), false).size();
    return QString(base.size() + TocCommand::MaxCommandLength - line, QLatin1Char('x'));
}

TEST_P(Interop, WhatIsTypedArrivesAsTypedAtQivAndAtAClientReadingHtml)
{
    botAccount("alice", "secret1");
    botAccount("bob", "secret2");
    botAccount("carol", "secret3");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");
    alice->sock.setRateLimits(peer->limitsOfExempt());
    BareClient carol("carol", "secret3", QHostAddress::LocalHost);
    QList<QByteArray> carolRead;
    carol.onIm = [&](const QByteArray &, const QByteArray &message) { carolRead << message; };
    carol.login(peer->tocPort());
    ASSERT_TRUE(waitFor([&] { return carol.loggedIn; })) << carol.failure.toStdString();
    // Reachable only once the server has taken the client's toc_init_done.
    ASSERT_TRUE(waitFor([&] {
        alice->sock.SendIM("carol", "are you there?", false);
        return QTest::qWaitFor([&] { return !carolRead.isEmpty(); }, 200);
    }));
    QTest::qWait(200);
    carolRead.clear();

    QList<std::pair<QString, QString>> sent; // prefix, text
    for (const QString &prefix : Prefixes) {
        for (const QString &text : Typed)
            sent.append({prefix, text});
        sent.append({prefix, longestFor("carol", prefix)});
    }
    for (const auto &[prefix, text] : sent) {
        alice->sock.SendIM("bob", WireText::toWireHtml(prefix, text), false);
        alice->sock.SendIM("carol", WireText::toWireHtml(prefix, text), false);
    }
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == sent.size() && carolRead.size() == sent.size(); }))
        << bob->ims.size() << " and " << carolRead.size() << " of " << sent.size();
    for (qsizetype i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(sent[i].first.toStdString() + sent[i].second.left(60).toStdString());
        EXPECT_EQ(WireText::fromWireHtml(bob->ims[i][1].toByteArray()), sent[i].second);
        EXPECT_EQ(readAsHtml(carolRead[i]), sent[i].second);
    }

    // The other way: what another client writes as HTML reads as its text in Qiv.
    QList<QString> written;
    for (const QString &text : Typed) {
        if (text.simplified() == text) { // a plain client's HTML folds spaces; that is its own matter
            written << text;
            carol.sendIm("alice",
                         "<HTML><BODY><FONT FACE=\"Arial\">" + WireText::toWire(text.toHtmlEscaped())
                             + "</FONT></BODY></HTML>");
        }
    }
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == written.size(); }));
    for (qsizetype i = 0; i < written.size(); ++i)
        EXPECT_EQ(WireText::fromWireHtml(alice->ims[i][1].toByteArray()), written[i]);
}

TEST_P(Interop, TwentyMessagesTypedAsFastAsPossibleAllArriveInOrderWithoutADrop)
{
    account("alice", "secret1");
    account("bob", "secret2");
    auto alice = signOn("alice", "secret1");
    auto bob = signOn("bob", "secret2");
    for (int i = 1; i <= 20; ++i)
        alice->sock.trySendIM("bob", "message " + QByteArray::number(i), false);
    // The server's limit lets about seven through at once, then one every four seconds.
    ASSERT_TRUE(waitFor([&] { return bob->ims.size() == 20 || !alice->errors.isEmpty(); }, 120'000));
    for (int i = 0; i < bob->ims.size(); ++i)
        EXPECT_EQ(bob->ims[i][1].toByteArray(), "message " + QByteArray::number(i + 1));
    EXPECT_TRUE(alice->errors.isEmpty()) << "no 903: " << alice->errors.size();
    EXPECT_TRUE(alice->sock.isConnected());
}

TEST_P(Interop, ABlockKeepsThePersonOutUntilUnblocked)
{
    account("alice", "secret1");
    account("carol", "secret3");
    auto alice = signOn("alice", "secret1");
    BareClient carol("carol", "secret3", QHostAddress::LocalHost);
    carol.login(peer->tocPort());
    ASSERT_TRUE(waitFor([&] { return carol.loggedIn; })) << carol.failure.toStdString();

    // A new account allows everyone: the block switches the privacy mode on
    // its own, as the user blocks from a window.
    BlockList blocked(alice->sock);
    ASSERT_TRUE(QuorTOCSock::goesOut(blocked.block("carol")));
    ASSERT_TRUE(settle(*alice));
    carol.sendIm("alice", "let me in");
    QTest::qWait(500);
    ASSERT_TRUE(settle(*alice));
    EXPECT_TRUE(alice->ims.isEmpty());

    ASSERT_TRUE(QuorTOCSock::goesOut(blocked.unblock("carol")));
    ASSERT_TRUE(settle(*alice));
    carol.sendIm("alice", "thanks");
    ASSERT_TRUE(waitFor([&] { return alice->ims.size() == 1; }));
    EXPECT_EQ(alice->ims[0][1].toByteArray(), "thanks");
}

TEST_P(Interop, ASignOnRightAfterASignOffStillHearsOfEveryBuddy)
{
    for (const int buddies : {1, 500}) {
        SCOPED_TRACE(buddies);
        const QByteArray watcher = "watcher" + QByteArray::number(buddies);
        botAccount(watcher, "secret1");
        QList<QByteArray> names;
        for (int i = 0; i < buddies; ++i) {
            names << "pal" + QByteArray::number(buddies) + "x" + QByteArray::number(i);
            botAccount(names.last(), "secret2");
        }
        // The list is stored by a session of its own, well before the timed one.
        {
            auto storing = signOn(watcher, "secret1");
            storing->sock.setRateLimits(peer->limitsOfExempt());
            for (const QByteArray &line : TocCommand::newBuddies("Pals", names))
                storing->sock.SendPacket(2, line);
            ASSERT_TRUE(settle(*storing));
        }
        QTest::qWait(SignOnFlow::ReSignOnGapMs + 500);

        // Every buddy online, each from an address of its own (the server
        // limits sign-ons per address), fifty at a time (a crowd arriving at
        // once gets some of its connections closed).
        std::vector<std::unique_ptr<BareClient>> pals;
        for (int i = 0; i < buddies; ++i) {
            const QHostAddress from((127u << 24) | (20u << 16) | (quint32(i / 250) << 8) | quint32(i % 250 + 1));
            pals.push_back(std::make_unique<BareClient>(names[i], "secret2", from));
            pals.back()->login(peer->tocPort());
            if (i % 50 == 49 || i == buddies - 1) {
                ASSERT_TRUE(waitFor(
                    [&] {
                        return std::all_of(pals.begin(), pals.end(), [](const auto &pal) { return pal->loggedIn; });
                    },
                    30'000))
                    << names[i].toStdString() << ": " << pals.back()->failure.toStdString();
            }
        }

        TestClient client;
        client.sock.setRateLimits(peer->limitsOfExempt());
        SignOnFlow flow(client.sock);
        auto onlineSeen = [&] {
            QSet<QByteArray> seen;
            for (const QList<QVariant> &update : client.buddies) {
                if (update[1].toBool())
                    seen.insert(ScreenName::NormalizeName(update[0].toByteArray()));
            }
            return std::count_if(names.begin(), names.end(),
                                 [&](const QByteArray &name) { return seen.contains(name); });
        };
        flow.signOn(watcher, "secret1", "127.0.0.1", peer->tocPort());
        ASSERT_TRUE(waitFor([&] { return onlineSeen() == buddies; }, 60'000)) << onlineSeen();

        // Off and straight on again: the buddies are all heard of once more.
        flow.signOff();
        client.buddies.clear();
        flow.signOn(watcher, "secret1", "127.0.0.1", peer->tocPort());
        EXPECT_TRUE(waitFor([&] { return onlineSeen() == buddies; }, 60'000)) << onlineSeen() << " of " << buddies;
        flow.signOff();
    }
}

} // namespace
