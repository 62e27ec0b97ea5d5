// The font cache against making the font: FCache::GetFont of a description
// that is already cached, and CreateFontA (then DeleteObject) of the same
// description, in the same run. Both walk the same 16 descriptions in turn
// (four faces, sizes 8 to 11, bold and italic mixed), so the cache's linear
// search is measured at its average depth, not at its first entry.
// Exits non-zero when the target is missed.
#include <xwth/fontcache.h>

#include <benchmark/benchmark.h>

#include <array>

#include "baseline_reporter.h"

namespace {

struct Description {
    const char* face;
    int points;
    int weight;
    BYTE italic;
};

const std::array<Description, 16> kDescriptions = [] {
    const char* faces[] = {"Arial", "Liberation Serif", "DejaVu Sans", "Arial Narrow"};
    std::array<Description, 16> out{};
    for (int i = 0; i < 16; ++i) {
        out[static_cast<std::size_t>(i)] = {faces[i % 4], 8 + i / 4, (i & 1) ? FW_BOLD : FW_NORMAL,
                                            static_cast<BYTE>((i >> 1) & 1)};
    }
    return out;
}();

void BM_GetFontCached(benchmark::State& state) {
    FCache cache;
    for (const Description& d : kDescriptions) {
        cache.GetFont(d.face, d.points, d.weight, d.italic, 0, 0, DEFAULT_CHARSET);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const Description& d = kDescriptions[i++ % kDescriptions.size()];
        benchmark::DoNotOptimize(cache.GetFont(d.face, d.points, d.weight, d.italic, 0, 0, DEFAULT_CHARSET));
    }
}
BENCHMARK(BM_GetFontCached);

void BM_CreateFontA(benchmark::State& state) {
    FCache heights;  // the same height computation the cache makes
    std::size_t i = 0;
    for (auto _ : state) {
        const Description& d = kDescriptions[i++ % kDescriptions.size()];
        HFONT font = CreateFontA(heights.HeightFromPoints(d.points), 0, 0, 0, d.weight, d.italic, 0, 0,
                                 DEFAULT_CHARSET, 0, 0, 0, 0, d.face);
        benchmark::DoNotOptimize(font);
        DeleteObject(font);
    }
}
BENCHMARK(BM_CreateFontA);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = xwth_bench::ReportTargets(reporter, {{"BM_GetFontCached", "BM_CreateFontA", 1.0}});
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
