// A tracked popup menu of 20 owner-drawn entries, measured and drawn by its
// owner window and dismissed, against the owner's own measuring and drawing
// of the same 20 entries into a memory DC of the menu's size (what any
// menu costs before the loop adds layout, the frame, the window messages and
// the copy onto the screen). Target: the loop at most doubles the owner's
// own work (it adds the background fill, the frame and one copy of the whole
// menu onto the screen, about as many pixels as the owner's fills).
// Exits non-zero when the target is missed.
#include <windows.h>
#include <winport.h>

#include <benchmark/benchmark.h>

#include <cstdio>

#include "baseline_reporter.h"

namespace {

constexpr int kItems = 20;
constexpr int kWidth = 160;
constexpr int kHeight = 20;

void Measure(MEASUREITEMSTRUCT* mis) {
    mis->itemWidth = kWidth;
    mis->itemHeight = kHeight;
}

void Draw(const DRAWITEMSTRUCT* dis) {
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    RECT r = dis->rcItem;
    FillRect(dis->hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    char text[32];
    std::snprintf(text, sizeof text, "Entry &%d\tCtrl+%d", static_cast<int>(dis->itemData),
                  static_cast<int>(dis->itemData));
    SetBkMode(dis->hDC, TRANSPARENT);
    SetTextColor(dis->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    r.left += 24;
    DrawTextA(dis->hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
}

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MEASUREITEM: Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return TRUE;
    case WM_DRAWITEM: Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    default: return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
}

struct Fixture {
    HWND owner = nullptr;
    HMENU menu = CreatePopupMenu();
    Fixture() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "XwthBenchMenuOwner";
        RegisterClassA(&wc);
        owner = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        for (int i = 1; i <= kItems; ++i) AppendMenuA(menu, MF_OWNERDRAW, 100 + i, reinterpret_cast<LPCSTR>(i));
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_TrackedMenu20(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        WpSetMenuInput("dismiss");
        benchmark::DoNotOptimize(TrackPopupMenuEx(f.menu, TPM_RETURNCMD, 100, 100, f.owner, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_TrackedMenu20)->Unit(benchmark::kMicrosecond);

void BM_OwnerDrawsDirectly20(benchmark::State& state) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kItems * kHeight);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (auto _ : state) {
        int top = 0;
        for (int i = 1; i <= kItems; ++i) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, static_cast<UINT>(100 + i), 0, 0, static_cast<ULONG_PTR>(i)};
            Measure(&mis);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.hDC = dc;
            dis.rcItem = RECT{0, top, static_cast<LONG>(mis.itemWidth), top + static_cast<LONG>(mis.itemHeight)};
            dis.itemData = static_cast<ULONG_PTR>(i);
            Draw(&dis);
            top += static_cast<int>(mis.itemHeight);
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_OwnerDrawsDirectly20)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = xwth_bench::ReportTargets(reporter, {{"BM_TrackedMenu20", "BM_OwnerDrawsDirectly20", 2.0}});
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
