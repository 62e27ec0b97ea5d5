#include "baseline_reporter.h"

#include <algorithm>
#include <cstdio>

namespace xwth_bench {

void BaselineReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.iterations <= 0) {
            continue;
        }
        const double nanos = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
        if (run.run_type == Run::RT_Iteration) {
            m_nanos[run.benchmark_name()].push_back(nanos);
        } else if (run.aggregate_name == "median" && run.aggregate_unit == benchmark::kTime) {
            // The only figure left when the repetitions themselves are not shown.
            m_medians[run.run_name.str()] = nanos;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double BaselineReporter::NanosPerIteration(const std::string& name) const {
    if (const auto median = m_medians.find(name); median != m_medians.end()) {
        return median->second;
    }
    const auto it = m_nanos.find(name);
    if (it == m_nanos.end()) {
        return 0.0;
    }
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
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
        if (t.maxRatio <= 0) {
            std::printf("%-44s %-38s %9.3f %9s  %s\n", t.subject.c_str(), t.baseline.c_str(), ratio, "-",
                        "reference");
            continue;
        }
        const bool met = ratio <= t.maxRatio;
        missed += met ? 0 : 1;
        std::printf("%-44s %-38s %9.3f %9.3f  %s\n", t.subject.c_str(), t.baseline.c_str(), ratio, t.maxRatio,
                    met ? "met" : "MISSED");
    }
    return missed;
}

}  // namespace xwth_bench
