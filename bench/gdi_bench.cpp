// Software GDI costs against baselines measured in the same run:
//   BitBlt 1024x768 32-bit SRCCOPY       vs  pixman's PIXMAN_OP_SRC composite of the same size
//   BitBlt SRCAND, SRCINVERT             vs  a plain C loop dst &= src
//   BitBlt of other codes (0x00E20746 ...)  vs  half of pixman's SRC rate
//   DrawTextA of a 40-character line     vs  the same glyphs rendered (FT_Load_Char with
//                                           FT_LOAD_RENDER, no cache) and copied by bare FreeType
// Exits non-zero when a target is missed.
#include <windows.h>

#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "baseline_reporter.h"

namespace {

constexpr int kW = 1024, kH = 768;
constexpr const char kLine[] = "The quick brown fox jumps over 12 lazy d";  // 40 characters
static_assert(sizeof(kLine) == 41);

// Memory DCs over 1024x768 32-bit bitmaps full of noise: a destination and
// two sources that the loops take in turn, so that no iteration repeats the
// one before it.
std::vector<std::uint32_t> Noise(std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint32_t> v(static_cast<std::size_t>(kW) * kH);
    for (auto& px : v) px = rng() & 0x00FFFFFFu;
    return v;
}

struct Surfaces {
    HDC src[2], dst;
    Surfaces() {
        HDC screen = GetDC(NULL);
        HDC* dcs[3] = {&src[0], &src[1], &dst};
        for (int i = 0; i < 3; ++i) {
            *dcs[i] = CreateCompatibleDC(screen);
            HBITMAP bm = CreateCompatibleBitmap(screen, kW, kH);
            const std::vector<std::uint32_t> bits = Noise(static_cast<std::uint32_t>(i + 1));
            SetBitmapBits(bm, static_cast<DWORD>(bits.size() * 4), bits.data());
            SelectObject(*dcs[i], bm);
        }
        ReleaseDC(NULL, screen);
        SelectObject(dst, CreateSolidBrush(RGB(0x35, 0x9A, 0xC4)));
    }
};

Surfaces& Surf() {
    static Surfaces s;
    return s;
}

void BM_BitBlt(benchmark::State& state) {
    const DWORD rop = static_cast<DWORD>(state.range(0));
    Surfaces& s = Surf();
    unsigned turn = 0;
    for (auto _ : state) {
        BitBlt(s.dst, 0, 0, kW, kH, s.src[turn++ & 1], 0, 0, rop);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_BitBlt)
    ->Arg(SRCCOPY)->Arg(SRCAND)->Arg(SRCINVERT)->Arg(0x00E20746)->Arg(0x00B8074A)
    ->Arg(0x00960000)->Arg(0x001700E6)->Arg(0x005C0000)->Arg(0x001E0000)
    ->Unit(benchmark::kMicrosecond);

void BM_PixmanSrc(benchmark::State& state) {
    std::vector<std::uint32_t> a = Noise(1), b = Noise(2), c = Noise(3);
    pixman_image_t* src[2] = {pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, a.data(), kW * 4),
                              pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, b.data(), kW * 4)};
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kW, kH, c.data(), kW * 4);
    unsigned turn = 0;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src[turn++ & 1], nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src[0]);
    pixman_image_unref(src[1]);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_PixmanSrc)->Unit(benchmark::kMicrosecond);

void BM_PlainAndLoop(benchmark::State& state) {
    std::vector<std::uint32_t> src[2] = {Noise(1), Noise(2)}, dst = Noise(3);
    unsigned turn = 0;
    for (auto _ : state) {
        std::uint32_t* d = dst.data();
        const std::uint32_t* s = src[turn++ & 1].data();
        for (int i = 0; i < kW * kH; ++i) d[i] &= s[i];
        benchmark::DoNotOptimize(d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_PlainAndLoop)->Unit(benchmark::kMicrosecond);

int PixelsOfPoints(int points) { return (points * 96 + 36) / 72; }

void BM_DrawText(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ oldBm = SelectObject(dc, CreateBitmap(400, 40, 1, 32, nullptr));
    HFONT font = CreateFontA(-PixelsOfPoints(static_cast<int>(state.range(0))), 0, 0, 0, FW_NORMAL, 0,
                             0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Liberation Sans");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    for (auto _ : state) {
        RECT rc{0, 0, 400, 40};
        DrawTextA(dc, kLine, 40, &rc, DT_SINGLELINE | DT_NOPREFIX);
    }
    DeleteObject(SelectObject(dc, oldFont));
    DeleteObject(SelectObject(dc, oldBm));
    DeleteDC(dc);
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_DrawText)->Arg(8)->Arg(12)->Unit(benchmark::kMicrosecond);

// The same face, found the same way, each glyph rendered anew and copied.
void BM_BareFreeType(benchmark::State& state) {
    FcInit();
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcChar8* file = nullptr;
    FcPatternGetString(match, FC_FILE, 0, &file);
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face face;
    FT_New_Face(lib, reinterpret_cast<const char*>(file), 0, &face);
    FcPatternDestroy(match);
    FcPatternDestroy(pat);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(PixelsOfPoints(static_cast<int>(state.range(0)))));
    std::vector<std::uint32_t> canvas(400 * 40);
    for (auto _ : state) {
        int pen = 0;
        for (int i = 0; i < 40; ++i) {
            FT_Load_Char(face, static_cast<unsigned char>(kLine[i]), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
            const FT_Bitmap& bm = face->glyph->bitmap;
            for (unsigned y = 0; y < bm.rows; ++y) {
                const int cy = 30 - face->glyph->bitmap_top + static_cast<int>(y);
                for (unsigned x = 0; x < bm.width; ++x) {
                    const int cx = pen + face->glyph->bitmap_left + static_cast<int>(x);
                    if (cx >= 0 && cx < 400 && cy >= 0 && cy < 40 &&
                        ((bm.buffer[y * bm.pitch + (x >> 3)] >> (7 - (x & 7))) & 1)) {
                        canvas[cy * 400 + cx] = 0;
                    }
                }
            }
            pen += static_cast<int>(face->glyph->advance.x >> 6);
        }
        benchmark::DoNotOptimize(canvas.data());
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_BareFreeType)->Arg(8)->Arg(12)->Unit(benchmark::kMicrosecond);

std::string Blt(DWORD rop) { return "BM_BitBlt/" + std::to_string(rop); }

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::vector<xwth_bench::Target> targets = {
        {Blt(SRCCOPY), "BM_PixmanSrc", 1.0},
        {Blt(SRCAND), "BM_PlainAndLoop", 1.0 / 0.9},
        {Blt(SRCINVERT), "BM_PlainAndLoop", 1.0 / 0.9},
        {"BM_DrawText/8", "BM_BareFreeType/8", 1.0},
        {"BM_DrawText/12", "BM_BareFreeType/12", 1.0},
    };
    for (DWORD rop : {0x00E20746u, 0x00B8074Au, 0x00960000u, 0x001700E6u, 0x005C0000u, 0x001E0000u}) {
        targets.push_back({Blt(rop), "BM_PixmanSrc", 2.0});
    }
    const int missed = xwth_bench::ReportTargets(reporter, targets);
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
