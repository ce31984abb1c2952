// Transcripts at scale: one more line in a conversation or a chat room that
// already holds 100, 1,000 or 10,000 lines, through the real receive path.
// The 10,000th line must cost at most three times the 100th.

#include "uibench.h"

#include "conversation/transcript.h"

#include <QTextEdit>
#include <benchmark/benchmark.h>

namespace {

constexpr int AppendsMeasured = 200;

// Fills a transcript with N lines read in one burst, then measures one more
// line at a time, each its own arrival. `line` makes the n-th server message.
template <typename Line> void appendsAfter(benchmark::State &state, BenchWindow &session, Line line)
{
    const int lines = int(state.range(0));
    for (int n = 0; n < lines; ++n)
        session.receiveOnly(line(n));
    settle();
    int n = lines;
    for (auto _ : state)
        session.receive(line(n++));
    state.SetItemsProcessed(state.iterations());
}

void BM_ImTranscriptAppend(benchmark::State &state)
{
    BenchWindow session;
    appendsAfter(state, session, instantMessage);
}
BENCHMARK(BM_ImTranscriptAppend)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(AppendsMeasured)
    ->Unit(benchmark::kMicrosecond);

QByteArray chatLine(int n)
{
    return "CHAT_IN_ENC:7:Some Body:F:F:en:<B>line " + QByteArray::number(n) + "</B> of a busy room";
}

void BM_ChatTranscriptAppend(benchmark::State &state)
{
    BenchWindow session;
    session.receive("CHAT_JOIN:7:Bench Room");
    appendsAfter(state, session, chatLine);
}
BENCHMARK(BM_ChatTranscriptAppend)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(AppendsMeasured)
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
BENCHMARK(BM_TranscriptWriterAppend)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(AppendsMeasured)
    ->Unit(benchmark::kMicrosecond);

} // namespace
