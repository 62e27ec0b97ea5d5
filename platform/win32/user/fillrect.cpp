// user32 rectangle painting: FillRect, FrameRect, InvertRect.
#include "win32/gdi/gdi.h"

using namespace winport;
using namespace winport::gdi;

namespace {

// A brush argument may be a system colour index plus one, as on Windows.
std::shared_ptr<Brush> BrushArg(HBRUSH hbr) {
    const auto value = reinterpret_cast<std::uintptr_t>(hbr);
    if (value >= 1 && value <= COLOR_MENUBAR + 1) {
        hbr = GetSysColorBrush(static_cast<int>(value - 1));
    }
    return LookupGdi<Brush>(hbr);
}

bool Paint(Dc& dc, const RECT& r, const Brush& brush, std::uint8_t rop) {
    RECT rc;
    if (DeviceRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, &rc) &&
        r.right > r.left && r.bottom > r.top) {
        Blit(dc, rc, nullptr, 0, 0, rop, &brush);
    }
    return true;
}

}  // namespace

extern "C" {

// Right and bottom edges are outside the rectangle; the DC's own brush is
// neither used nor changed.
WINUSERAPI int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    auto dc = LookupGdi<Dc>(hDC);
    if (!dc) return 0;
    auto brush = BrushArg(hbr);
    if (!brush) return 0;
    if (lprc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Paint(*dc, *lprc, *brush, 0xF0);
    return 1;
}

// A one-pixel frame just inside the rectangle.
WINUSERAPI int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    auto dc = LookupGdi<Dc>(hDC);
    if (!dc) return 0;
    auto brush = BrushArg(hbr);
    if (!brush) return 0;
    if (lprc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const RECT& r = *lprc;
    if (r.right <= r.left || r.bottom <= r.top) return 1;
    Paint(*dc, RECT{r.left, r.top, r.right, r.top + 1}, *brush, 0xF0);
    Paint(*dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, *brush, 0xF0);
    Paint(*dc, RECT{r.left, r.top, r.left + 1, r.bottom}, *brush, 0xF0);
    Paint(*dc, RECT{r.right - 1, r.top, r.right, r.bottom}, *brush, 0xF0);
    return 1;
}

WINUSERAPI BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) {
    auto dc = LookupGdi<Dc>(hDC);
    if (!dc) return FALSE;
    if (lprc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Paint(*dc, *lprc, *StockBrush(BLACK_BRUSH), 0x55);
    return TRUE;
}

}  // extern "C"
