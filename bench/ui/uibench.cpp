#include "uibench.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

BenchWindow::BenchWindow()
{
    signOn("Bench", "CONFIG2:m:1\ng:Buddies\ndone:\n");
    settle();
}

void BenchWindow::receive(const QByteArray &message)
{
    receiveOnly(message);
    settle();
}

void BenchWindow::receiveOnly(const QByteArray &message)
{
    serverSays(message);
}

void settle()
{
    QCoreApplication::processEvents();
}

QByteArray buddyUpdate(int n, bool online)
{
    return "UPDATE_BUDDY2:Buddy " + QByteArray::number(n) + (online ? ":T" : ":F") + ":0:1700000000:0: O";
}

QByteArray instantMessage(int n)
{
    return "IM_IN_ENC2:Some Body:F:F:T: O:F:L:en:<HTML><BODY>line " + QByteArray::number(n)
        + " of a long evening, see you at 10:30</BODY></HTML>";
}

// Reports as usual, then each benchmark family's cost at every size divided
// by its cost at the smallest size of the same run.
class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.str();
            const std::string family = name.substr(0, name.find('/'));
            // Per item where the benchmark counts items, so bursts of
            // different sizes compare by the cost of one update.
            const auto rate = run.counters.find("items_per_second");
            const double cost = rate != run.counters.end() && rate->second.value > 0
                ? 1e9 / rate->second.value
                : run.GetAdjustedRealTime();
            m_results.push_back({family, name, cost});
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::string family;
        double base = 0;
        for (const Result &r : m_results) {
            if (r.family != family) {
                family = r.family;
                base = r.time;
            }
            std::printf("ratio %-48s %6.2fx\n", r.name.c_str(), base > 0 ? r.time / base : 0.0);
        }
    }

private:
    struct Result
    {
        std::string family;
        std::string name;
        double time;
    };
    std::vector<Result> m_results;
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
