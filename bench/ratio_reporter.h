#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gamarium::bench {

// Console output as usual, then the ratios between named pairs of
// benchmarks (median real time per iteration when repetitions are asked
// for, else the single run's time).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Ratio {
        std::string what;
        std::string measured;
        std::string baseline;
        double goal;
    };

    explicit RatioReporter(std::vector<Ratio> ratios) : ratios_(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration && !times_.count(run.run_name.str()))
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
            if (median) times_[run.run_name.str()] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const Ratio& r : ratios_) {
            const auto m = times_.find(r.measured);
            const auto b = times_.find(r.baseline);
            if (m == times_.end() || b == times_.end()) continue;
            const double ratio = m->second / b->second;
            std::printf("%-60s %6.2fx  (goal <= %.2fx: %s)\n", r.what.c_str(), ratio, r.goal,
                        ratio <= r.goal ? "met" : "MISSED");
        }
    }

private:
    std::vector<Ratio> ratios_;
    std::map<std::string, double> times_;
};

// Runs the registered benchmarks and prints the ratios.
inline int runWithRatios(int argc, char** argv, std::vector<RatioReporter::Ratio> ratios) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace gamarium::bench
