// Buddy list at scale: a sign-on storm of online reports, then presence
// changes with 10 to 10,000 buddies listed. The cost of one update must not
// depend on how many buddies are already listed.

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
template <typename Pick>
void presenceChanges(benchmark::State &state, Pick pick)
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

} // namespace
