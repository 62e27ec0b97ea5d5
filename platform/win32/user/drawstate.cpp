// user32 DrawStateA: bitmaps, texts and callbacks drawn normal or disabled.
//
// A disabled picture is embossed: the content is drawn black-on-white into
// a scratch bitmap, reduced to a mask (1 where the scratch stayed white),
// and the mask's ink is painted twice through the raster operation 0xB8
// (the brush where the mask is 0, the destination where it is 1): once one
// pixel right and down in COLOR_3DHILIGHT, then in place in COLOR_3DSHADOW.
// Only those two colours reach the destination.
#include "win32/gdi/gdi.h"

#include <cstring>

using namespace winport;
using namespace winport::gdi;

namespace {

constexpr DWORD kMaskPaint = 0x00B8074Au;  // PSDPxax: P where S is 0, else D

// Draws the content at (x, y) of hdc; text in hdc's current colours.
void DrawContent(HDC hdc, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
                 int cy, UINT type) {
    switch (type) {
    case DST_BITMAP: {
        HDC mem = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(mem, reinterpret_cast<HGDIOBJ>(lData));
        if (old != NULL) {
            BitBlt(hdc, x, y, cx, cy, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
        }
        DeleteDC(mem);
        break;
    }
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        const char* text = reinterpret_cast<const char*>(lData);
        RECT rc{x, y, x + cx, y + cy};
        DrawTextA(hdc, text, wData == 0 ? -1 : static_cast<int>(wData), &rc,
                  DT_SINGLELINE | DT_NOCLIP | (type == DST_TEXT ? DT_NOPREFIX : 0));
        break;
    }
    case DST_COMPLEX:
        if (proc != nullptr) {
            POINT old;
            GetViewportOrgEx(hdc, &old);
            SetViewportOrgEx(hdc, old.x + x, old.y + y, nullptr);
            proc(hdc, lData, wData, cx, cy);
            SetViewportOrgEx(hdc, old.x, old.y, nullptr);
        }
        break;
    default:
        break;
    }
}

}  // namespace

extern "C" {

// A zero cx or cy takes the content's own size (a bitmap's, a text's extent).
WINUSERAPI BOOL WINAPI DrawStateA(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData,
                                  WPARAM wData, int x, int y, int cx, int cy, UINT uFlags) {
    if (!LookupGdi<Dc>(hdc)) return FALSE;
    const UINT type = uFlags & 0x000F;
    if (type == DST_BITMAP) {
        BITMAP bm;
        if (GetObjectA(reinterpret_cast<HGDIOBJ>(lData), sizeof(bm), &bm) == 0) return FALSE;
        if (cx == 0) cx = bm.bmWidth;
        if (cy == 0) cy = bm.bmHeight;
    } else if (type == DST_TEXT || type == DST_PREFIXTEXT) {
        if (lData == 0) return FALSE;
        if (cx == 0 || cy == 0) {
            const char* text = reinterpret_cast<const char*>(lData);
            RECT rc{0, 0, 0, 0};
            DrawTextA(hdc, text, wData == 0 ? -1 : static_cast<int>(wData), &rc,
                      DT_SINGLELINE | DT_CALCRECT | (type == DST_TEXT ? DT_NOPREFIX : 0));
            if (cx == 0) cx = rc.right;
            if (cy == 0) cy = rc.bottom;
        }
    } else if (type != DST_COMPLEX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (cx <= 0 || cy <= 0) return TRUE;

    if (!(uFlags & (DSS_DISABLED | DSS_MONO | DSS_UNION))) {
        DrawContent(hdc, qfnCallBack, lData, wData, x, y, cx, cy, type);
        return TRUE;
    }

    // The content, black on white, reduced to a mask of its ink.
    HDC scratch = CreateCompatibleDC(hdc);
    HBITMAP colour = CreateCompatibleBitmap(hdc, cx, cy);
    HDC maskDc = CreateCompatibleDC(hdc);
    HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
    BOOL ok = scratch != NULL && colour != NULL && maskDc != NULL && mask != NULL;
    if (ok) {
        HGDIOBJ oldColour = SelectObject(scratch, colour);
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        PatBlt(scratch, 0, 0, cx, cy, WHITENESS);
        SetTextColor(scratch, RGB(0, 0, 0));
        SetBkMode(scratch, TRANSPARENT);
        SelectObject(scratch, GetCurrentObject(hdc, OBJ_FONT));
        DrawContent(scratch, qfnCallBack, lData, wData, 0, 0, cx, cy, type);
        SelectObject(scratch, GetStockObject(SYSTEM_FONT));
        SetBkColor(scratch, RGB(255, 255, 255));
        BitBlt(maskDc, 0, 0, cx, cy, scratch, 0, 0, SRCCOPY);

        const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
        const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
        auto paint = [&](HBRUSH brush, int dx, int dy) {
            HGDIOBJ oldBrush = SelectObject(hdc, brush);
            BitBlt(hdc, x + dx, y + dy, cx, cy, maskDc, 0, 0, kMaskPaint);
            SelectObject(hdc, oldBrush);
        };
        if (uFlags & DSS_DISABLED) {
            paint(GetSysColorBrush(COLOR_3DHILIGHT), 1, 1);
            paint(GetSysColorBrush(COLOR_3DSHADOW), 0, 0);
        } else {
            paint(hbrFore != NULL ? hbrFore : GetSysColorBrush(COLOR_WINDOWTEXT), 0, 0);
        }
        SetTextColor(hdc, oldText);
        SetBkColor(hdc, oldBk);
        SelectObject(maskDc, oldMask);
        SelectObject(scratch, oldColour);
    }
    if (mask != NULL) DeleteObject(mask);
    if (colour != NULL) DeleteObject(colour);
    if (maskDc != NULL) DeleteDC(maskDc);
    if (scratch != NULL) DeleteDC(scratch);
    return ok;
}

}  // extern "C"
