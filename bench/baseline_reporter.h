// Console reporter that also holds each benchmark's time per iteration, so a
// program can set a result against its baseline from the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace xwth_bench {

class BaselineReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Nanoseconds of real time per iteration, the median of the repetitions
    // (--benchmark_repetitions); 0 when the benchmark did not run.
    [[nodiscard]] double NanosPerIteration(const std::string& name) const;

private:
    std::map<std::string, std::vector<double>> m_nanos;
    std::map<std::string, double> m_medians;
};

// One target: `subject` must take at most `maxRatio` times `baseline`. A
// maxRatio of 0 shows the ratio for reference and sets no target.
struct Target {
    std::string subject;
    std::string baseline;
    double maxRatio;
};

// Prints every target with its measured ratio; returns the number missed.
int ReportTargets(const BaselineReporter& reporter, const std::vector<Target>& targets);

}  // namespace xwth_bench
