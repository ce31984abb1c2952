// The history at scale: one search and one kept line with 10,000, 100,000 and
// 1,000,000 lines already kept, each read as a ratio to the 10,000 figure of
// the same run. Every kept line is on the disk before append() returns, so the
// append figure is mostly the disk's sync.

#include "ratioreporter.h"
#include "store/historystore.h"
#include "store/remembered.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {
using Place = HistoryStore::Place;

constexpr int Correspondents = 50;
// Lines are kept in bursts of one conversation, as people talk.
constexpr int Burst = 2000;
// A word in exactly this many lines whatever the size, and one in every tenth line.
constexpr int RareLines = 20;
const QString Rare = QStringLiteral("zanzibar");
const QString Common = QStringLiteral("evening");

const QStringList Words = {
    QStringLiteral("see"),     QStringLiteral("you"),    QStringLiteral("at"),      QStringLiteral("the"),
    QStringLiteral("station"), QStringLiteral("lunch"),  QStringLiteral("noon"),    QStringLiteral("tomorrow"),
    QStringLiteral("game"),    QStringLiteral("notes"),  QStringLiteral("bring"),   QStringLiteral("meeting"),
    QStringLiteral("coffee"),  QStringLiteral("later"),  QStringLiteral("weekend"), QStringLiteral("train"),
    QStringLiteral("picture"), QStringLiteral("thanks"), QStringLiteral("maybe"),   QStringLiteral("sure"),
};

// A line of about eight words, the same for the same n in every run.
QString bodyOf(qint64 n, qint64 lines)
{
    QStringList words;
    quint64 state = quint64(n) * 6364136223846793005ULL + 1442695040888963407ULL;
    for (int i = 0; i < 8; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        words << Words[int((state >> 33) % quint64(Words.size()))];
    }
    if (n % 10 == 3)
        words << Common;
    if (n % (lines / RareLines) == 7)
        words << Rare;
    return words.join(QLatin1Char(' ')) + QStringLiteral(" %1").arg(n);
}

QByteArray buddy(qint64 n) { return "Buddy " + QByteArray::number(n % Correspondents); }

// A history holding lines lines, made once per run and size.
struct KeptHistory
{
    explicit KeptHistory(qint64 lines)
    {
        remembered.setKeepsHistory(true);
        const QDateTime start = QDateTime::currentDateTime().addDays(-365);
        for (qint64 first = 0; first < lines; first += Burst) {
            QList<HistoryStore::Line> burst;
            for (qint64 n = first; n < qMin(lines, first + Burst); ++n)
                burst.append({start.addSecs(n), n % 2 ? HistoryStore::Speaker::Self : HistoryStore::Speaker::Other,
                              false, QStringLiteral("Some Body"), bodyOf(n, lines)});
            if (!store.append(Place::Conversation, buddy(first / Burst), burst))
                qFatal("the bench history could not be written: %s", qPrintable(store.problem()));
        }
    }

    QTemporaryDir folder;
    Remembered remembered;
    HistoryStore store{remembered, folder.path()};
};

// Emptied before the application goes, which the database connections need.
std::map<qint64, std::unique_ptr<KeptHistory>> made;

HistoryStore &historyOf(qint64 lines)
{
    std::unique_ptr<KeptHistory> &history = made[lines];
    if (!history)
        history = std::make_unique<KeptHistory>(lines);
    return history->store;
}

void search(benchmark::State &state, const QString &word, qsizetype expected)
{
    HistoryStore &store = historyOf(state.range(0));
    for (auto _ : state) {
        const QList<HistoryStore::Match> found = store.search(word);
        if (found.size() < expected)
            state.SkipWithError("a search found too little");
        benchmark::DoNotOptimize(found.size());
    }
}

// A word in 20 lines, all listed.
void BM_HistorySearchRare(benchmark::State &state) { search(state, Rare, RareLines); }
BENCHMARK(BM_HistorySearchRare)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A word in every tenth line: the newest 500 listed.
void BM_HistorySearchCommon(benchmark::State &state) { search(state, Common, HistoryStore::SearchLimit); }
BENCHMARK(BM_HistorySearchCommon)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// One line kept as a conversation does it: its own transaction, synced.
void BM_HistoryAppend(benchmark::State &state)
{
    HistoryStore &store = historyOf(state.range(0));
    qint64 n = state.range(0);
    for (auto _ : state) {
        const HistoryStore::Line line{QDateTime::currentDateTime(), HistoryStore::Speaker::Other, false,
                                      QStringLiteral("Buddy 7"), bodyOf(n, state.range(0))};
        if (!store.append(Place::Conversation, buddy(7), line))
            state.SkipWithError("a line was not kept");
        ++n;
    }
}
BENCHMARK(BM_HistoryAppend)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(300)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    made.clear();
    return 0;
}
