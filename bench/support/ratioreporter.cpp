#include "ratioreporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
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
        const double cost = rate != run.counters.end() && rate->second.value > 0 ? 1e9 / rate->second.value
                                                                                 : run.GetAdjustedRealTime();
        m_results.push_back({family, name, cost});
    }
}

void RatioReporter::Finalize()
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
