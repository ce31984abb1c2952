#pragma once

// A console reporter that also prints each benchmark family's cost at every
// size divided by its cost at the smallest size of the same run, so scaling is
// read as ratios measured on one machine at one time.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    struct Result
    {
        std::string family;
        std::string name;
        double time;
    };
    std::vector<Result> m_results;
};
