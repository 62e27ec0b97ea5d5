// Date and time costs against the C library doing the same work:
//   TF_TimeFromStrShort on "03/15/2005 pm 2:30"  vs  strptime + mktime of that text
//   TF_GetDateStr per call                       vs  localtime_r + strftime of the date
// Both TF_ calls read the regional settings from WIN.INI on every call (the
// parser refreshes its cache: three keys; a text asks the locale functions
// twice, for the size and the text, and each reads the user's picture), so
// most of their time is the profile's file read. The targets hold them to
// that: a few profile reads each, and so within a bound of the C library.
// Exits non-zero when a target is missed.
#include <xwth/timefmt.h>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "baseline_reporter.h"

namespace fs = std::filesystem;

namespace {

const char kText[] = "03/15/2005 pm 2:30";

// A private WIN.INI with the settings of a 12-hour, month-first user.
class BenchRegion {
public:
    BenchRegion() {
        m_root = fs::temp_directory_path() / ("xwth-timefmt-bench-" + std::to_string(getpid()));
        fs::create_directories(m_root);
        setenv("XWTH_WININI", (m_root / "win.ini").c_str(), 1);
        setenv("LC_ALL", "en_US.UTF-8", 1);
        setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
        _tzset();
        WriteProfileStringA("intl", "sShortDate", "M/d/yyyy");
        WriteProfileStringA("intl", "s2359", "PM");
        WriteProfileStringA("intl", "iTime", "0");
    }
    ~BenchRegion() { fs::remove_all(m_root); }

private:
    fs::path m_root;
};

void BM_TimeFromStrShort(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(TF_TimeFromStrShort(kText));
    }
}
BENCHMARK(BM_TimeFromStrShort);

void BM_StrptimeMktime(benchmark::State& state) {
    for (auto _ : state) {
        struct tm t = {};
        strptime(kText, "%m/%d/%Y %p %I:%M", &t);
        t.tm_isdst = -1;
        benchmark::DoNotOptimize(mktime(&t));
    }
}
BENCHMARK(BM_StrptimeMktime);

void BM_ProfileRead(benchmark::State& state) {
    char buffer[128];
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetProfileStringA("intl", "sShortDate", "", buffer, sizeof buffer));
    }
}
BENCHMARK(BM_ProfileRead);

void BM_GetDateStr(benchmark::State& state) {
    const CTime time(1111111111);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TF_GetDateStr(time, 0));
    }
}
BENCHMARK(BM_GetDateStr);

void BM_LocaltimeStrftime(benchmark::State& state) {
    const time_t t = 1111111111;
    char buffer[64];
    for (auto _ : state) {
        struct tm local;
        localtime_r(&t, &local);
        benchmark::DoNotOptimize(strftime(buffer, sizeof buffer, "%m/%d/%Y", &local));
    }
}
BENCHMARK(BM_LocaltimeStrftime);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BenchRegion region;
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = xwth_bench::ReportTargets(reporter, {
                                                               {"BM_TimeFromStrShort", "BM_ProfileRead", 4.0},
                                                               {"BM_GetDateStr", "BM_ProfileRead", 3.0},
                                                               {"BM_TimeFromStrShort", "BM_StrptimeMktime", 200.0},
                                                               {"BM_GetDateStr", "BM_LocaltimeStrftime", 200.0},
                                                           });
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
