// Frames out, frames in: the byte layer of the session.

#include "sessiontest.h"

namespace {

class Transport : public SessionTest
{
protected:
    void connectNow()
    {
        sock->acceptConnection();
        sock->takeWritten();
    }
};

TEST_F(Transport, FramesCarryHeaderSequenceLengthAndNulOnlyOnData)
{
    connectNow();
    toc.SendPacket(2, "abc");
    toc.SendPacket(2, "");
    toc.SendPacket(1, QByteArray("\0\1xy", 4));
    toc.SendPacket(5, "");
    toc.SendPacket(2, "\xff\x80");
    EXPECT_EQ(sock->takeWritten(),
              QByteArray("*\x02\x00\x00\x00\x04"
                         "abc\0"
                         "*\x02\x00\x01\x00\x01\0"
                         "*\x01\x00\x02\x00\x04\0\1xy"
                         "*\x05\x00\x03\x00\x00"
                         "*\x02\x00\x04\x00\x03\xff\x80\0",
                         10 + 7 + 10 + 6 + 9));
}

TEST_F(Transport, NothingIsSentOrNumberedBeforeTheConnection)
{
    toc.SendPacket(2, "early");
    toc.SendIM("bob", "hi", false);
    EXPECT_TRUE(sock->written.isEmpty());
    connectNow();
    toc.SendPacket(2, "x");
    EXPECT_EQ(sock->takeWritten(), QByteArray("*\x02\0\0\0\2x\0", 8));
}

TEST_F(Transport, SequenceWrapsAfter65535AndRunsOnAcrossLogOffAndLogin)
{
    connectNow();
    for (int i = 0; i < 65536; ++i)
        toc.SendPacket(5, "");
    const QByteArray all = sock->takeWritten();
    EXPECT_EQ(all.mid(65535 * 6, 6), QByteArray("*\x05\xff\xff\0\0", 6));
    toc.SendPacket(5, "");
    EXPECT_EQ(sock->takeWritten(), QByteArray("*\x05\0\0\0\0", 6));

    toc.LogOff();
    toc.SendPacket(5, ""); // dropped: not connected, no number used
    toc.Login("a", "b", "host", 5190);
    connectNow();
    toc.SendPacket(5, "");
    EXPECT_EQ(sock->takeWritten(), QByteArray("*\x05\0\x01\0\0", 6));
}

TEST_F(Transport, OversizedPayloadIsDroppedWithoutUsingASequenceNumber)
{
    connectNow();
    toc.SendPacket(2, QByteArray(65535, 'a')); // 65536 with its NUL
    toc.SendPacket(1, QByteArray(65536, 'a'));
    EXPECT_TRUE(sock->takeWritten().isEmpty());

    toc.SendPacket(2, QByteArray(65534, 'a'));
    toc.SendPacket(1, QByteArray(65535, 'b'));
    const QList<QByteArray> frames = writtenFrames(sock->takeWritten());
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0].first(6), QByteArray("*\x02\0\0\xff\xff", 6));
    EXPECT_EQ(frames[1].first(6), QByteArray("*\x01\0\1\xff\xff", 6));
}

// A stream of varied frames, one of them with a colon as a header byte and one
// long enough to need both length bytes.
QList<QByteArray> sampleFrames()
{
    return {
        data("IM_IN_ENC2:bob:F:F:T: O:F:L:en:hello"),
        frame(5, ""),
        frame(2, "UPDATE_BUDDY2:amy:T:0:1000:0: O:", 58),
        data(QByteArray(300, 'x')),
        data("SIGN_ON:TOC2.0"),
    };
}

class Reassembly : public Transport, public ::testing::WithParamInterface<int>
{
};

TEST_P(Reassembly, EveryChunkingDeliversTheSameFramesInOrder)
{
    connectNow();
    const QList<QByteArray> frames = sampleFrames();
    sock->deliverInChunks(frames.join(), GetParam());
    EXPECT_EQ(log.packets, frames);
    EXPECT_EQ(toc.bufferedBytes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Chunks, Reassembly, ::testing::Values(1, 2, 3, 5, 6, 7, 64, 100000));

TEST_F(Transport, SplitHeadersAndPartialFramesWaitForTheirRest)
{
    connectNow();
    const QByteArray first = data("NICK:Bob");
    const QByteArray second = data("NICK:Amy");
    const QByteArray third = data("NICK:Cleo Patra");

    // Two whole frames and half of a third.
    deliver(first + second + third.first(9));
    EXPECT_EQ(log.events(), QStringList({"ScreennameFormat Bob", "ScreennameFormat Amy"}));
    EXPECT_EQ(toc.bufferedBytes(), 9);
    deliver(third.sliced(9));
    EXPECT_EQ(log.packets, QList<QByteArray>({first, second, third}));

    // 3 bytes, 4 bytes, then the rest: the header itself is split.
    log.clear();
    deliver(third.first(3));
    deliver(third.sliced(3, 4));
    EXPECT_TRUE(log.lines.isEmpty());
    deliver(third.sliced(7));
    EXPECT_EQ(log.packets, QList<QByteArray>({third}));
    EXPECT_EQ(toc.bufferedBytes(), 0);
}

TEST_F(Transport, ArrivalsWhileUnconnectedAreLeftUnread)
{
    deliver(data("NICK:Early"));
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST_F(Transport, KeepAliveIsAnsweredWithAnEmptyKeepAlive)
{
    connectNow();
    toc.SendPacket(2, "x"); // uses sequence 0
    sock->takeWritten();
    deliver(frame(5, "", 77));
    EXPECT_EQ(sock->takeWritten(), QByteArray("*\x05\0\1\0\0", 6));
    EXPECT_EQ(log.lines, QStringList({"IncomingPacket"}));
}

TEST_F(Transport, LogOffWithNobodySignedOnStillResetsTheSession)
{
    connectNow();
    deliver(data("CHAT_JOIN:77:lobby"));
    toc.LogOff();
    EXPECT_EQ(log.events(), QStringList({"JoinedChat lobby|77", "LoggedOut "}));
    EXPECT_FALSE(toc.isConnected());
    EXPECT_EQ(toc.LastChatID, 0);
    EXPECT_EQ(toc.GetChatName(77), "[No Chat Name Found for ID]");
    EXPECT_TRUE(sock->written.isEmpty()) << "nothing is sent on the way out";

    // The port falls back to 5190: a sign-on frame now asks for it.
    sock->acceptConnection();
    deliver(frame(1, ""));
    const QList<QByteArray> lines = commandLines(sock->takeWritten());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("toc2_login  5190   English ")) << lines[0].data();
}

TEST_F(Transport, LogOffReportsTheNormalizedNameOfTheSessionThatEnded)
{
    signOn("Some Body");
    toc.LogOff();
    EXPECT_EQ(log.events(), QStringList({"LoggedOut somebody"}));
    toc.LogOff();
    EXPECT_EQ(log.events().last(), "LoggedOut ");
}

TEST_F(Transport, SocketErrorIsReportedAndClosesWithoutLoggingOut)
{
    signOn();
    deliver(data("CHAT_JOIN:12:den"));
    const int closesBefore = sock->closeCalls;
    sock->fail("Connection reset");
    EXPECT_EQ(log.events(), QStringList({"JoinedChat den|12", "WinsockError Connection reset"}));
    EXPECT_EQ(sock->closeCalls, closesBefore + 1);
    EXPECT_EQ(toc.LastChatID, 12);
    EXPECT_EQ(toc.GetChatName(12), "den");
}

// A frame cut off by the end of a session must never be glued to the first
// bytes of the next one.
class CutOffFrame : public Transport, public ::testing::WithParamInterface<int>
{
};

TEST_P(CutOffFrame, DoesNotPrefixTheNextSession)
{
    connectNow();
    deliver(data("CONFIG2:g:Old\n"));
    deliver(data("IM_IN_ENC2:bob:F:F:T: O:F:L:en:cut off").first(12));
    switch (GetParam()) {
    case 0:
        toc.LogOff();
        break;
    case 1:
        toc.Login("a", "b", "h", 5190);
        break;
    case 2:
        sock->fail("gone");
        break;
    }
    EXPECT_EQ(toc.bufferedBytes(), 0);
    log.clear();
    toc.Login("a", "b", "h", 5190);
    connectNow();
    deliver(data("NICK:A") + data("CONFIG2:g:New\ndone:\n"));
    EXPECT_EQ(log.events(), QStringList({"ScreennameFormat A", "LoggedIn a|{[group]New}|{}|{}|{}||0"}));
}

std::string endName(const ::testing::TestParamInfo<int> &info)
{
    static const char *const names[] = {"LogOff", "Login", "SocketError"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(EndOfSession, CutOffFrame, ::testing::Values(0, 1, 2), endName);

} // namespace
