#include "baseline_reporter.h"

#include <cstdio>

namespace xwth_bench {

void BaselineReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
            m_nanos[run.benchmark_name()] = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double BaselineReporter::NanosPerIteration(const std::string& name) const {
    const auto it = m_nanos.find(name);
    return it == m_nanos.end() ? 0.0 : it->second;
}

int ReportTargets(const BaselineReporter& reporter, const std::vector<Target>& targets) {
    int missed = 0;
    std::printf("\n%-44s %-38s %9s %9s  %s\n", "subject", "baseline", "ratio", "target", "result");
    for (const Target& t : targets) {
        const double subject = reporter.NanosPerIteration(t.subject);
        const double baseline = reporter.NanosPerIteration(t.baseline);
        if (subject <= 0 || baseline <= 0) {
            continue;  // filtered out of this run
        }
        const double ratio = subject / baseline;
        const bool met = ratio <= t.maxRatio;
        missed += met ? 0 : 1;
        std::printf("%-44s %-38s %9.3f %9.3f  %s\n", t.subject.c_str(), t.baseline.c_str(), ratio, t.maxRatio,
                    met ? "met" : "MISSED");
    }
    return missed;
}

}  // namespace xwth_bench
