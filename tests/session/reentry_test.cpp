// Handlers that end the session or run a nested event loop while the session
// is still cutting frames out of an arrival.

#include "sessiontest.h"

namespace {

class Reentry : public SessionTest
{
protected:
    void SetUp() override { signOn("me"); }

    const QByteArray first = data("IM_IN_ENC2:a:F:F:T: O:F:L:en:one");
    const QByteArray second = data("IM_IN_ENC2:b:F:F:T: O:F:L:en:two");
    const QByteArray third = data("NICK:Three");
};

TEST_F(Reentry, LogOffInAHandlerDropsTheRestOfTheArrival)
{
    QObject::connect(&toc, &QuorTOCSock::InstantMessage, &toc, [this] { toc.LogOff(); });
    deliver(first + second + third);
    EXPECT_EQ(log.events(), QStringList({"InstantMessage a|one|F| O", "LoggedOut me"}));
    EXPECT_EQ(toc.bufferedBytes(), 0);
}

TEST_F(Reentry, LoginInAHandlerStartsTheNextSessionClean)
{
    QObject::connect(
        &toc, &QuorTOCSock::InstantMessage, &toc, [this] { toc.Login("other", "pw", "h", 5190); },
        Qt::SingleShotConnection);
    deliver(first + second + third.first(5));
    EXPECT_EQ(log.events(), QStringList({"InstantMessage a|one|F| O"}));
    EXPECT_EQ(toc.bufferedBytes(), 0);

    sock->acceptConnection();
    log.clear();
    deliver(third);
    EXPECT_EQ(log.events(), QStringList({"ScreennameFormat Three"}));
}

TEST_F(Reentry, ArrivalsDuringAHandlerWaitUntilItReturns)
{
    int depth = 0;
    QObject::connect(&toc, &QuorTOCSock::IncomingPacket, &toc,
                     [&] { EXPECT_EQ(depth, 0) << "frames were handled inside a handler"; });
    QObject::connect(&toc, &QuorTOCSock::InstantMessage, &toc, [&](const QByteArray &from) {
        if (from != "a")
            return;
        ++depth;
        // What a modal box's event loop would deliver meanwhile.
        const qsizetype before = log.lines.size();
        deliver(third);
        deliver(data("NICK:Four"));
        EXPECT_EQ(log.lines.size(), before);
        --depth;
    });
    deliver(first + second);
    EXPECT_EQ(log.events(),
              QStringList({"InstantMessage a|one|F| O", "InstantMessage b|two|F| O", "ScreennameFormat Three",
                           "ScreennameFormat Four"}));
}

} // namespace
