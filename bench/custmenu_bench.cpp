// The owner-drawn menu: 20 items with images, a ribbon and bold items,
// every item measured and drawn whole into a memory DC of the menu's size
// (what a tracked menu asks of it), against two baselines from the same
// run: the same area filled with FillRect, item by item, and the same texts
// drawn with DrawTextA in the same fonts. Target: the whole menu costs at
// most four times its bare text (it adds the measuring, which lays every
// text out once more, a fill per item and per colour band, the images, and
// a ribbon with turned text).
// Exits non-zero when the target is missed.
#include <xwth/custmenu.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "baseline_reporter.h"

namespace {

constexpr int kItems = 20;

struct Fixture {
    CCustMenu menu;
    std::vector<std::string> texts;
    int width = 0;
    int height = 0;
    std::vector<RECT> rects;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;

    Fixture() {
        menu.Create();
        HDC screen = GetDC(NULL);
        HDC strip = CreateCompatibleDC(screen);
        HBITMAP bits = CreateCompatibleBitmap(screen, 64, 16);
        HGDIOBJ was = SelectObject(strip, bits);
        for (int i = 0; i < 4; ++i) {
            const RECT r{16 * i, 0, 16 * i + 16, 16};
            HBRUSH b = CreateSolidBrush(i == 0 ? RGB(255, 0, 255) : RGB(0, 64 * i, 128));
            FillRect(strip, &r, b);
            DeleteObject(b);
        }
        SelectObject(strip, was);
        DeleteDC(strip);
        menu.AddBitmap(bits);
        DeleteObject(bits);
        menu.AttachRibbon("XWTH Fax", RGB(0, 0, 128), RGB(16, 132, 208), 16, RGB(255, 255, 255));
        for (int i = 0; i < kItems; ++i) {
            texts.push_back("Entry &" + std::to_string(i) + "\tCtrl+" + std::to_string(i));
            menu.AppendMenuItem(0, 100 + i, new CCustMenuItem(texts.back().c_str(), i % 4, i % 3 == 0));
        }
        // Layout as the menu loop makes it: the widest item, stacked from top 0.
        int top = 0;
        for (int i = 0; i < kItems; ++i) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(menu.m_arrItems[i])};
            menu.MeasureItem(&mis);
            rects.push_back(RECT{0, top, 0, top + static_cast<LONG>(mis.itemHeight)});
            top += static_cast<int>(mis.itemHeight);
            width = std::max(width, static_cast<int>(mis.itemWidth));
        }
        height = top;
        for (RECT& r : rects) r.right = width;
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        old = SelectObject(dc, bitmap);
        ReleaseDC(NULL, screen);
    }
    ~Fixture() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_CustMenuMeasureAndDraw20(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(f.menu.m_arrItems[i])};
            f.menu.MeasureItem(&mis);
            benchmark::DoNotOptimize(mis.itemHeight);
        }
        for (int i = 0; i < kItems; ++i) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = i == 3 ? ODS_SELECTED : 0;
            dis.hDC = f.dc;
            dis.rcItem = f.rects[static_cast<size_t>(i)];
            dis.itemData = reinterpret_cast<ULONG_PTR>(f.menu.m_arrItems[i]);
            f.menu.DrawItem(&dis);
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_CustMenuMeasureAndDraw20)->Unit(benchmark::kMicrosecond);

void BM_FillRectSameArea20(benchmark::State& state) {
    Fixture& f = TheFixture();
    HBRUSH brush = GetSysColorBrush(COLOR_MENU);
    for (auto _ : state) {
        for (const RECT& r : f.rects) FillRect(f.dc, &r, brush);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_FillRectSameArea20)->Unit(benchmark::kMicrosecond);

void BM_DrawTextSameTexts20(benchmark::State& state) {
    Fixture& f = TheFixture();
    SetBkMode(f.dc, TRANSPARENT);
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) {
            HGDIOBJ was = SelectObject(f.dc, i % 3 == 0 ? f.menu.m_DrawAttrs.fontBold : f.menu.m_DrawAttrs.fontNormal);
            RECT r = f.rects[static_cast<size_t>(i)];
            r.left += 57;
            DrawTextA(f.dc, f.texts[static_cast<size_t>(i)].c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
            SelectObject(f.dc, was);
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_DrawTextSameTexts20)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed =
        xwth_bench::ReportTargets(reporter, {{"BM_CustMenuMeasureAndDraw20", "BM_DrawTextSameTexts20", 4.0}});
    // The fill is shown for scale only: no menu can be as cheap as its background.
    const double fill = reporter.NanosPerIteration("BM_FillRectSameArea20");
    if (fill > 0) {
        std::printf("menu / FillRect of the same area: %.2f\n",
                    reporter.NanosPerIteration("BM_CustMenuMeasureAndDraw20") / fill);
    }
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
