// Transcripts at scale: one more line in a conversation or a chat room that
// already holds 100, 1,000 or 10,000 lines, through the real receive path.
// The 10,000th line must cost at most three times the 100th.

#include "uibench.h"

#include "conversation/transcript.h"

#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {

constexpr int AppendsMeasured = 200;

void BM_ImTranscriptAppend(benchmark::State &state)
{
    const int lines = int(state.range(0));
    SignedOnWindow session;
    for (int n = 0; n < lines; ++n)
        session.receiveOnly(instantMessage(n));
    settle();
    int n = lines;
    for (auto _ : state)
        session.receive(instantMessage(n++));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ImTranscriptAppend)->Arg(100)->Arg(1000)->Arg(10000)->Iterations(AppendsMeasured)
    ->Unit(benchmark::kMicrosecond);

QByteArray chatLine(int n)
{
    return "CHAT_IN_ENC:7:Some Body:F:F:en:<B>line " + QByteArray::number(n) + "</B> of a busy room";
}

void BM_ChatTranscriptAppend(benchmark::State &state)
{
    const int lines = int(state.range(0));
    SignedOnWindow session;
    session.receive("CHAT_JOIN:7:Bench Room");
    for (int n = 0; n < lines; ++n)
        session.receiveOnly(chatLine(n));
    settle();
    int n = lines;
    for (auto _ : state)
        session.receive(chatLine(n++));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChatTranscriptAppend)->Arg(100)->Arg(1000)->Arg(10000)->Iterations(AppendsMeasured)
    ->Unit(benchmark::kMicrosecond);

// The writer alone on a shown view, without the session around it.
void BM_TranscriptWriterAppend(benchmark::State &state)
{
    const int lines = int(state.range(0));
    QTextEdit view;
    view.resize(400, 300);
    view.show();
    const QString body = QStringLiteral("a line of a long evening, see you at 10:30");
    for (int n = 0; n < lines; ++n)
        Transcript::appendEntry(&view, Transcript::Speaker::Other, QStringLiteral("Some Body"), body);
    settle();
    for (auto _ : state) {
        Transcript::appendEntry(&view, Transcript::Speaker::Other, QStringLiteral("Some Body"), body);
        settle();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TranscriptWriterAppend)->Arg(100)->Arg(1000)->Arg(10000)->Iterations(AppendsMeasured)
    ->Unit(benchmark::kMicrosecond);

} // namespace
