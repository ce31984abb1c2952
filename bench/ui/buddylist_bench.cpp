// Buddy list at scale: a sign-on storm of online reports, then presence
// changes with 10 to 10,000 buddies listed. The cost of one update must not
// depend on how many buddies are already listed, nor the cost of a minute's
// redrawing of idle times on how many buddies are idle.

#include "main/buddyroster.h"
#include "options.h"
#include "uibench.h"
#include "uniformlistview.h"

#include <benchmark/benchmark.h>

namespace {

// N buddies reported online in one burst, as at sign-on; per update.
void BM_BuddySignOnStorm(benchmark::State &state)
{
    const int buddies = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<BenchWindow>();
        state.ResumeTiming();
        for (int n = 0; n < buddies; ++n)
            session->receiveOnly(buddyUpdate(n, true));
        settle();
        state.PauseTiming();
        if (session->window->lstBuddyson->model()->rowCount() != buddies)
            state.SkipWithError("buddy list incomplete");
        session.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * buddies);
}
BENCHMARK(BM_BuddySignOnStorm)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// With N buddies listed, one buddy after another goes offline and comes
// back, each report its own arrival followed by the window's layout and
// painting. `pick` chooses the n-th buddy to change.
template <typename Pick> void presenceChanges(benchmark::State &state, Pick pick)
{
    const int buddies = int(state.range(0));
    BenchWindow session;
    for (int n = 0; n < buddies; ++n)
        session.receiveOnly(buddyUpdate(n, true));
    settle();
    int next = 0;
    for (auto _ : state) {
        const int who = pick(next++, buddies);
        session.receive(buddyUpdate(who, false));
        session.receive(buddyUpdate(who, true));
    }
    if (session.window->lstBuddyson->model()->rowCount() != buddies)
        state.SkipWithError("buddy list changed size");
    state.SetItemsProcessed(state.iterations() * 2);
}

// Spread over the whole list, so that neither end is favoured.
void BM_BuddyPresenceChange(benchmark::State &state)
{
    presenceChanges(state, [](int n, int buddies) { return int((n * 7919LL) % buddies); });
}
BENCHMARK(BM_BuddyPresenceChange)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case for painting: the first listed buddy goes offline and comes
// back at the end, so every row on screen moves up one place. Taking buddies
// in turn keeps hitting the first row, as each one moves to the end.
void BM_BuddyPresenceChangeAtTop(benchmark::State &state)
{
    presenceChanges(state, [](int n, int buddies) { return n % buddies; });
}
BENCHMARK(BM_BuddyPresenceChangeAtTop)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Every listed buddy idle, with the status look on: each iteration is one
// minute's tick, the idle times drawn anew and the window painted.
void idleMinutes(benchmark::State &state, bool groups)
{
    const int buddies = int(state.range(0));
    BenchWindow session;
    qint64 now = 0;
    session.window->buddyRoster().setClock([&now] { return now; });
    session.window->context().options.apply({.showStatus = true, .showGroups = groups});
    // Stored in one group, as another session of the user would add them.
    for (int n = 0; groups && n < buddies; ++n)
        session.receiveOnly("INSERTED2:b::Buddy " + QByteArray::number(n) + ":Buddies");
    for (int n = 0; n < buddies; ++n)
        session.receiveOnly("UPDATE_BUDDY2:Buddy " + QByteArray::number(n)
                            + ":T:0:1700000000:" + QByteArray::number(1 + n % 300) + ": O :");
    settle();
    for (auto _ : state) {
        now += BuddyRoster::MinuteMs;
        session.window->buddyRoster().refreshIdle();
        settle();
    }
    if (session.window->lstBuddyson->model()->rowCount() != buddies + (groups ? 1 : 0))
        state.SkipWithError("buddy list changed size");
}

void BM_BuddyIdleMinute(benchmark::State &state) { idleMinutes(state, false); }
BENCHMARK(BM_BuddyIdleMinute)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_BuddyIdleMinuteInGroups(benchmark::State &state) { idleMinutes(state, true); }
BENCHMARK(BM_BuddyIdleMinuteInGroups)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
