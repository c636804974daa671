#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace gamarium::bench {

// Console output as usual, then the median real time (the single run's
// time without repetitions) of each benchmark whose name begins with the
// goal's prefix against a fixed time goal (the others for scale), with
// the median processor time beside it: on a machine busy with other work
// the real time grows while the processor time does not.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    GoalReporter(std::string prefix, double goalMilliseconds) : prefix_(std::move(prefix)), goal_(goalMilliseconds) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.run_name.str();
            const double unit = toMilliseconds(run.time_unit);
            const Times times{run.GetAdjustedRealTime() * unit, run.GetAdjustedCPUTime() * unit};
            if (run.run_type == Run::RT_Iteration && !medians_.count(name)) medians_[name] = times;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") medians_[name] = times;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const auto& [name, times] : medians_) {
            std::printf("%-44s median %8.2f ms (cpu %8.2f ms)", name.c_str(), times.real, times.cpu);
            if (name.starts_with(prefix_))
                std::printf("  %5.2fx of the %.0f ms goal: %s", times.real / goal_, goal_,
                            times.real <= goal_ ? "met" : "MISSED");
            std::printf("\n");
        }
    }

private:
    static double toMilliseconds(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 1e-6;
        case benchmark::kMicrosecond: return 1e-3;
        case benchmark::kMillisecond: return 1.0;
        default: return 1e3;
        }
    }

    struct Times {
        double real = 0, cpu = 0;
    };
    std::string prefix_;
    double goal_;
    std::map<std::string, Times> medians_;
};

// Runs the registered benchmarks and prints the medians against the goal.
inline int runAgainstGoal(int argc, char** argv, const std::string& prefix, double goalMilliseconds) {
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter(prefix, goalMilliseconds);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace gamarium::bench
