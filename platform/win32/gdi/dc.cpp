// gdi32 device contexts: CreateCompatibleDC, DeleteDC, attributes, map mode, device caps.
#include "win32/gdi/gdi.h"

#include <utility>

using namespace winport;
using namespace winport::gdi;

namespace winport::gdi {
namespace {

void HoldAll(const DcState& s) {
    AddHold(s.bitmap);
    AddHold(s.brush);
    AddHold(s.font);
    AddHold(s.pen);
}

void ReleaseAll(DcState& s) {
    ReleaseHold(std::exchange(s.bitmap, nullptr));
    ReleaseHold(std::exchange(s.brush, nullptr));
    ReleaseHold(std::exchange(s.font, nullptr));
    ReleaseHold(std::exchange(s.pen, nullptr));
}

}  // namespace

HDC NewDc(bool memory) {
    auto dc = std::make_shared<Dc>();
    dc->memory = memory;
    dc->state.bitmap = memory ? DefaultBitmap() : Screen();
    dc->state.brush = StockBrush(WHITE_BRUSH);
    dc->state.font = StockFont(SYSTEM_FONT);
    dc->state.pen = StockPen(BLACK_PEN);
    return Register<HDC>(std::move(dc));
}

bool DeviceRect(const Dc& dc, int x, int y, int w, int h, RECT* out) {
    const Bitmap& bm = *dc.state.bitmap;
    long long l = static_cast<long long>(x) + dc.state.viewportOrg.x;
    long long t = static_cast<long long>(y) + dc.state.viewportOrg.y;
    long long r = l + w, b = t + h;
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    l = l < 0 ? 0 : l;
    t = t < 0 ? 0 : t;
    r = r > bm.width ? bm.width : r;
    b = b > bm.height ? bm.height : b;
    if (l >= r || t >= b) {
        return false;
    }
    *out = RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)};
    return true;
}

}  // namespace winport::gdi

extern "C" {

// Every memory DC is compatible with the screen; it starts with the stock
// 1x1 mono bitmap.
WINGDIAPI HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc != NULL && !LookupGdi<Dc>(hdc)) {
        return NULL;
    }
    return NewDc(true);
}

WINGDIAPI BOOL WINAPI DeleteDC(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc || !UnregisterObject(hdc, ObjectKind::Gdi)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> lock(SelectionLock());
        if (dc->state.bitmap && dc->state.bitmap->selectedIn == dc.get()) {
            dc->state.bitmap->selectedIn = nullptr;
        }
    }
    for (DcState& s : dc->saved) {
        ReleaseAll(s);
    }
    ReleaseAll(dc->state);
    return TRUE;
}

WINGDIAPI int WINAPI SaveDC(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return 0;
    }
    dc->saved.push_back(dc->state);
    HoldAll(dc->saved.back());
    return static_cast<int>(dc->saved.size());
}

// A negative level counts back from the latest save.
WINGDIAPI BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return FALSE;
    }
    const int count = static_cast<int>(dc->saved.size());
    const int level = nSavedDC < 0 ? count + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DcState restored = dc->saved[static_cast<std::size_t>(level - 1)];
    HoldAll(restored);
    for (int i = count - 1; i >= level - 1; --i) {
        ReleaseAll(dc->saved[static_cast<std::size_t>(i)]);
    }
    dc->saved.resize(static_cast<std::size_t>(level - 1));
    {
        std::lock_guard<std::mutex> lock(SelectionLock());
        if (dc->state.bitmap && !dc->state.bitmap->stock && dc->state.bitmap->selectedIn == dc.get()) {
            dc->state.bitmap->selectedIn = nullptr;
        }
        if (restored.bitmap && !restored.bitmap->stock && dc->memory) {
            restored.bitmap->selectedIn = dc.get();
        }
    }
    ReleaseAll(dc->state);
    dc->state = std::move(restored);
    return TRUE;
}

WINGDIAPI int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (!LookupGdi<Dc>(hdc)) {
        return 0;
    }
    switch (index) {
    case HORZRES: return kScreenWidth;
    case VERTRES: return kScreenHeight;
    case HORZSIZE: return (kScreenWidth * 254 + kScreenDpi * 5) / (kScreenDpi * 10);
    case VERTSIZE: return (kScreenHeight * 254 + kScreenDpi * 5) / (kScreenDpi * 10);
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return kScreenDpi;
    case RASTERCAPS: return 0x0001 | 0x0008 | 0x0800;  // bit blits, bitmaps over 64K, stretch blits
    default: return 0;
    }
}

WINGDIAPI COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->state.bkColor, color & 0x00FFFFFF);
}

WINGDIAPI COLORREF WINAPI GetBkColor(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    return dc ? dc->state.bkColor : CLR_INVALID;
}

WINGDIAPI COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->state.textColor, color & 0x00FFFFFF);
}

WINGDIAPI COLORREF WINAPI GetTextColor(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    return dc ? dc->state.textColor : CLR_INVALID;
}

WINGDIAPI int WINAPI SetBkMode(HDC hdc, int mode) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return 0;
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return std::exchange(dc->state.bkMode, mode);
}

WINGDIAPI int WINAPI GetBkMode(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    return dc ? dc->state.bkMode : 0;
}

// Only MM_TEXT: one logical unit is one pixel, y grows downwards. The other
// modes are refused rather than drawn at the wrong scale.
WINGDIAPI int WINAPI SetMapMode(HDC hdc, int mode) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return 0;
    if (mode != MM_TEXT) {
        SetLastError(mode >= MM_TEXT && mode <= MM_ANISOTROPIC ? ERROR_NOT_SUPPORTED
                                                               : ERROR_INVALID_PARAMETER);
        return 0;
    }
    return std::exchange(dc->state.mapMode, mode);
}

WINGDIAPI int WINAPI GetMapMode(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    return dc ? dc->state.mapMode : 0;
}

WINGDIAPI BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    for (int i = 0; i < c; ++i) {
        lppt[i].x -= dc->state.viewportOrg.x;
        lppt[i].y -= dc->state.viewportOrg.y;
    }
    return TRUE;
}

WINGDIAPI BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    for (int i = 0; i < c; ++i) {
        lppt[i].x += dc->state.viewportOrg.x;
        lppt[i].y += dc->state.viewportOrg.y;
    }
    return TRUE;
}

WINGDIAPI BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (lppt != nullptr) *lppt = dc->state.viewportOrg;
    dc->state.viewportOrg = POINT{x, y};
    return TRUE;
}

WINGDIAPI BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc || lppt == nullptr) return FALSE;
    *lppt = dc->state.viewportOrg;
    return TRUE;
}

WINGDIAPI BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (lppt != nullptr) *lppt = dc->state.brushOrg;
    dc->state.brushOrg = POINT{x, y};
    return TRUE;
}

}  // extern "C"
