// The short soak, against each server: two Qivs trade 2,000 instant messages
// and 200 chat lines through their windows as fast as the server carries
// them. The long one is bench/network/soak_bench.

#include "processfigures.h"
#include "serverfixture.h"
#include "soak.h"

#include <QTest>

namespace {

using SoakTest = ServerFixture;

TEST_P(SoakTest, EveryLineArrivesOnceInOrderAsTypedAndNothingPilesUp)
{
    if (!ready())
        return;
    // Open OSCAR Server lifts its rate limits for these accounts, except in
    // chat rooms; the local server has none. Qiv paces only what is limited.
    // (So the chat lines fit in what a room takes at once.)
    account(QStringLiteral("soaka"), true);
    account(QStringLiteral("soakb"), true);
    auto a = signedOn(QStringLiteral("soaka"));
    auto b = signedOn(QStringLiteral("soakb"));
    ASSERT_TRUE(a->isSignedOn() && b->isSignedOn());
    for (DesktopUser *user : {a.get(), b.get()})
        user->main.btoc->setRateLimits(peer->limitsOfExempt());

    Soak soak(*a, *b);
    ASSERT_EQ(soak.setUp(QStringLiteral("Soak Room")), QString());
    ASSERT_EQ(soak.run(2000, 200, 1000), QString()) << peer->lastOutput(30).toStdString();
    const QList<Soak::Sample> &samples = soak.samples();
    ASSERT_EQ(samples.size(), 2);
    for (const Soak::Sample &s : samples)
        std::printf("  after %d IMs and %d chat lines: %lld KB resident, %d files open, %.0f us a message\n", s.ims,
                    s.chatLines, s.residentKb, s.openFiles, s.cpuUsPerMessage);
    EXPECT_EQ(samples[1].openFiles, samples[0].openFiles);
    // The first thousand warm up (fonts, layouts, the allocator's pools).
    if (ProcessFigures::memoryIsMeaningful()) {
        EXPECT_LT(samples[1].residentKb - samples[0].residentKb, 1024);
    }
    for (DesktopUser *user : {a.get(), b.get()})
        EXPECT_EQ(noticesShown(*user), QStringList());
}

QIV_FOR_EACH_SERVER(SoakTest);

} // namespace
