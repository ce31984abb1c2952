// A crowded chat room: with 10, 100 or 1,000 members present, one member
// arrives and the longest-present one leaves; departures are found by
// normalized name in the member list.

#include "uibench.h"

#include "conversation/frmaimchat.h"
#include "main/chatslots.h"

#include <QListWidget>
#include <benchmark/benchmark.h>

namespace {

QByteArray member(int n, bool inside)
{
    return QByteArray("CHAT_UPDATE_BUDDY:7:") + (inside ? "T" : "F") + ":Member " + QByteArray::number(n);
}

void BM_ChatMemberArrivalAndDeparture(benchmark::State &state)
{
    const int members = int(state.range(0));
    BenchWindow session;
    session.receive("CHAT_JOIN:7:Bench Room");
    for (int n = 0; n < members; ++n)
        session.receiveOnly(member(n, true));
    settle();
    int oldest = 0;
    int newest = members;
    for (auto _ : state) {
        session.receive(member(newest++, true));
        session.receive(member(oldest++, false));
    }
    frmAimChat *room = session.window->chatSlots().existingWindow(3);
    if (!room || room->lstHere->count() != members)
        state.SkipWithError("member list changed size");
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ChatMemberArrivalAndDeparture)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
