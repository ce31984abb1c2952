// Toxiproxy, which later tests put between Qiv and a server to inject faults,
// runs here: it starts on a free loopback port, answers its API, and stops.

#include "interoppeer.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Toxiproxy, StartsOnALoopbackPortAnswersItsApiAndStops)
{
    ToxiproxyPeer proxy;
    if (const QString why = proxy.unavailableReason(); !why.isEmpty()) {
        if (peersRequired())
            FAIL() << why.toStdString();
        GTEST_SKIP() << why.toStdString();
    }
    const QString failure = proxy.start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    const QString version = QStringLiteral("http://127.0.0.1:%1/version").arg(proxy.apiPort());
    QByteArray answer;
    // Its log line comes just before it listens, so the first request may be early.
    EXPECT_TRUE(QTest::qWaitFor([&] { return httpStatus("GET", version, {}, &answer) == 200; }, 5000));
    EXPECT_TRUE(answer.contains("\"version\"")) << answer.toStdString();

    proxy.stop();
    EXPECT_EQ(httpStatus("GET", version), 0);
}

} // namespace
