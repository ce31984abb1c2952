// From Login to LoggedIn: preamble, sign-on frame, login line, configuration.

#include "sessiontest.h"

#include "session/screenname.h"
#include "session/tocconfig.h"
#include "session/wirelog.h"

#include <QLoggingCategory>

namespace {

const QByteArray loginTail = " English  \"QuorTOCSock 2.0\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 58203917";

class SignOn : public SessionTest
{
};

TEST_F(SignOn, HandshakeSendsPreambleSignOnFrameAndLoginLine)
{
    toc.Login("Some Body", "a", "  toc.example ", 5191, "  auth.example ");
    EXPECT_EQ(sock->lastHost, "toc.example");
    EXPECT_EQ(sock->lastPort, 5191);
    EXPECT_TRUE(sock->written.isEmpty());

    sock->acceptConnection();
    EXPECT_EQ(sock->takeWritten(), "FLAPON\n\n");

    deliver(frame(1, QByteArray("\0\0\0\1", 4)));
    const QByteArray expected = QByteArray("*\x01\0\0\0\x10"
                                           "\0\0\0\1\0\1\0\x08"
                                           "somebody",
                                           22)
        + frame(2, "toc2_login auth.example 5191 somebody 0x35" + loginTail + '\0', 1);
    EXPECT_EQ(sock->takeWritten(), expected);
    EXPECT_EQ(log.lines, QStringList({"IncomingPacket"}));

    // Every sign-on frame is answered again, even mid-session.
    deliver(frame(1, ""));
    EXPECT_EQ(commandLines(sock->takeWritten()).size(), 1);
}

TEST_F(SignOn, LoginLineCarriesDefaultsAndRoastedPasswords)
{
    struct Row
    {
        QByteArray password, authServer, expectedStart;
    };
    const Row rows[] = {
        {"", "", "toc2_login login.oscar.aol.com 5190 me 0x English"},
        {"", "  ", "toc2_login login.oscar.aol.com 5190 me 0x English"},
        // "Tic/Toc" key restarts at the eighth character.
        {"aaaaaaaa", "a", "toc2_login a 5190 me 0x3508024e350e0235 English"},
        {"\xff", "a", "toc2_login a 5190 me 0xab English"},
    };
    for (const Row &row : rows) {
        toc.Login(" ME", row.password, "h", 5190, row.authServer);
        sock->acceptConnection();
        deliver(frame(1, ""));
        const QList<QByteArray> lines = takeLines();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].startsWith(row.expectedStart)) << lines[0].data();
        EXPECT_TRUE(lines[0].endsWith(loginTail));
    }
}

TEST_F(SignOn, RoastAndNormalizeMatchTheProtocol)
{
    EXPECT_EQ(ScreenName::RoastPassword(""), "0x");
    EXPECT_EQ(ScreenName::RoastPassword("Tic/Toc"), "0x00000000000000");
    EXPECT_EQ(ScreenName::NormalizeName(" Some  Body "), "somebody");
    EXPECT_EQ(ScreenName::NormalizeName("\xc3\x89ve"), "\xc3\x89ve") << "UTF-8 bytes survive";
}

TEST_F(SignOn, ConfigurationOverSeveralFramesEndsInOneLoggedInThenInitDone)
{
    toc.Login("Some Body", "pw", "h", 5190);
    sock->acceptConnection();
    deliver(frame(1, ""));
    deliver(data("SIGN_ON:TOC2.0") + data("NICK:Some Body"));
    sock->takeWritten();
    deliver(data("CONFIG2:m:1\ng:Friends\nb:amy\n"));
    deliver(data("CONFIG2:b:bob:::::x\np:pal\nd:pest\npref:a\npref:b\n"));
    EXPECT_EQ(log.events(), QStringList({"ScreennameFormat Some Body"}));
    EXPECT_TRUE(sock->written.isEmpty());

    deliver(data("CONFIG2:\nm:35\nzz:q\ng:Work\nb:cleo\ndone:\nb:after\n"));
    EXPECT_EQ(log.events().last(),
              "LoggedIn somebody|{[group]Friends,amy,bob:x,[group]Work,cleo}|{pest}|{pal}|{,zz:q}|b|3");
    EXPECT_EQ(takeLines(), QList<QByteArray>({"toc_init_done"}));
}

TEST_F(SignOn, LinesOfEveryKindLandInTheirLists)
{
    struct Row
    {
        QByteArray config, loggedIn;
    };
    const Row rows[] = {
        {"g:Friends\nb:buddya\nb:buddyb\ndone:\n", "{[group]Friends,buddya,buddyb}|{}|{}|{}||0"},
        {"b:buddyc:::::x\nb:a::::::b\ndone:\n", "{buddyc:x,a::b}|{}|{}|{}||0"},
        {"m:3\ndone:\n", "{}|{}|{}|{}||3"},
        {"m:\nm:x\ndone:\n", "{}|{}|{}|{}||0"},
        {"\n\ndone:\n", "{}|{}|{}|{,}||0"},
        {"done:\n", "{}|{}|{}|{}||0"},
        // A line that only starts like "done:" still ends the configuration.
        {"g:A\ndone:later\ng:B\ndone:\n", "{[group]A}|{}|{}|{}||0"},
        {"pref:x:y\np:p1\nd:d1\nd:d2\ndone:\n", "{}|{d1,d2}|{p1}|{}|x:y|0"},
    };
    for (const Row &row : rows) {
        signOn("me");
        deliver(data("CONFIG2:" + row.config));
        EXPECT_EQ(log.events(), QStringList({"LoggedIn me|" + QString::fromLatin1(row.loggedIn)})) << row.config.data();
        EXPECT_EQ(takeLines(), QList<QByteArray>({"toc_init_done"}));
    }
}

TEST_F(SignOn, AliasesStoredWithBuddiesAreKeptApartFromTheirNames)
{
    // Lines as Open OSCAR Server writes them: an alias, an alias and a note, a note only.
    signOn("me");
    QHash<QByteArray, QByteArray> seen;
    QObject::connect(&toc, &QuorTOCSock::LoggedIn, &toc, [&] { seen = toc.buddyAliases(); });
    deliver(data("CONFIG2:g:G\nb:Amy Lee:Best Pal\nb:bob:Bobby:::::met at work\nb:cleo:::::a note\ndone:\n"));
    EXPECT_EQ(seen, (QHash<QByteArray, QByteArray>{{"amylee", "Best Pal"}, {"bob", "Bobby"}}));
    for (const QByteArray entry : {"bob", "bob:Bobby", "bob:Bobby:met at work", "bob:"})
        EXPECT_EQ(TocConfigText::buddyName(entry), "bob") << entry.data();

    signOn("me");
    deliver(data("CONFIG2:b:bob\ndone:\n"));
    EXPECT_TRUE(toc.buddyAliases().isEmpty()) << "each sign-on brings its own";
}

TEST_F(SignOn, WhatTheLoggedInHandlerSendsGoesOutBeforeInitDone)
{
    QObject::connect(&toc, &QuorTOCSock::LoggedIn, &toc, [this] {
        EXPECT_TRUE(commandLines(sock->written).isEmpty()) << "init done came before the handler";
        toc.SetProfile("hello");
    });
    toc.Login("me", "pw", "h", 5190);
    sock->acceptConnection();
    sock->takeWritten();
    deliver(data("CONFIG2:done:\n"));
    EXPECT_EQ(takeLines(), QList<QByteArray>({"toc_set_info \"hello\"", "toc_init_done"}));
}

TEST_F(SignOn, DoneMarkerInsideALineCompletesWithoutLoggedIn)
{
    signOn("me");
    deliver(data("CONFIG2:b:xdone:\n"));
    EXPECT_TRUE(log.events().isEmpty());
    EXPECT_EQ(takeLines(), QList<QByteArray>({"toc_init_done"}));
}

TEST_F(SignOn, EndMarkerSplitAcrossFramesStillCompletesTheConfiguration)
{
    signOn("me");
    deliver(data("CONFIG2:g:A\nb:amy\ndo"));
    EXPECT_TRUE(log.events().isEmpty());
    deliver(data("CONFIG2:ne:\n"));
    EXPECT_EQ(log.events(), QStringList({"LoggedIn me|{[group]A,amy}|{}|{}|{}||0"}));
    EXPECT_EQ(takeLines(), QList<QByteArray>({"toc_init_done"}));
}

TEST_F(SignOn, AConfigurationThatNeverEndsIsNotKeptForever)
{
    signOn("me");
    const QByteArray chunk = "CONFIG2:" + QByteArray(60000, 'x');
    for (int i = 0; i < 40; ++i)
        deliver(data(chunk));
    // What was collected beyond the limit is gone: a later end starts afresh.
    deliver(data("CONFIG2:g:B\ndone:\n"));
    ASSERT_EQ(log.events().size(), 1);
    EXPECT_LT(log.events().first().size(), QuorTOCSock::MaxConfigSize);
}

TEST_F(SignOn, SignOnRefusalsAreErrors)
{
    toc.Login("me", "pw", "h", 5190);
    sock->acceptConnection();
    deliver(data("ERROR:980") + data("ERROR:983") + data("ERROR:989:7") + data("ERROR:989:17") + data("ERROR:989:170"));
    EXPECT_EQ(log.events(),
              QStringList({
                  "Error 980|Invalid account or password",
                  "Error 983|You are attempting to sign on again too soon",
                  "Error 989|The screenname or password you entered is not valid",
                  "Error 989|Sign on Blocked",
                  "Error 989|Unknown error code 989, sub error: 170",
              }));
}

// Everything the wire log writes while the test runs.
struct WireLogCapture
{
    WireLogCapture() { previous = qInstallMessageHandler(&WireLogCapture::keep); }
    ~WireLogCapture()
    {
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        lines().clear();
    }
    static QStringList &lines()
    {
        static QStringList kept;
        return kept;
    }
    static void keep(QtMsgType, const QMessageLogContext &context, const QString &text)
    {
        if (QByteArrayView(context.category) == "qiv.session.wire")
            lines().append(text);
    }
    QtMessageHandler previous;
};

TEST_F(SignOn, TheWireLogIsSilentUntilAskedAndNeverShowsAPassword)
{
    WireLogCapture capture;
    auto signOnAndChangePassword = [this] {
        toc.Login("me", "secret", "h", 5190);
        sock->acceptConnection();
        deliver(frame(1, ""));
        deliver(data("SIGN_ON:TOC2.0"));
        deliver(data("NO_SUCH_WORD:x"));
        deliver(data("CHAT_LEFT:not-a-number"));
        toc.ChangePassword("old secret", "new secret");
    };
    signOnAndChangePassword();
    EXPECT_TRUE(WireLogCapture::lines().isEmpty()) << WireLogCapture::lines().join('\n').toStdString();

    QLoggingCategory::setFilterRules(QLatin1String(WireLog::EnableRule));
    signOnAndChangePassword();
    const QString log = WireLogCapture::lines().join('\n');
    EXPECT_TRUE(log.contains(QStringLiteral("out FLAPON"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("toc2_login login.oscar.aol.com 5190 me ******** English")));
    EXPECT_TRUE(log.contains(QStringLiteral("in type 2 seq 0: SIGN_ON:TOC2.0")));
    EXPECT_TRUE(log.contains(QStringLiteral("unknown message: NO_SUCH_WORD:x")));
    EXPECT_TRUE(log.contains(QStringLiteral("unreadable message: CHAT_LEFT:not-a-number")));
    EXPECT_TRUE(log.contains(QStringLiteral("toc_change_passwd ********")));
    EXPECT_FALSE(log.contains(QString::fromLatin1(ScreenName::RoastPassword("secret"))));
    EXPECT_FALSE(log.contains(QStringLiteral("secret")));
}

} // namespace
