// user32 DrawEdge: the classic two-ring 3-D borders.
//
// Each ring is two colours: its top and left lines first, full length less
// the last pixel, then its bottom and right lines, which take the two far
// corners. The outer ring lies on the rectangle's border, the inner one a
// pixel inside it.
//
//   ring               top/left           bottom/right
//   BDR_RAISEDOUTER    COLOR_3DLIGHT      COLOR_3DDKSHADOW
//   BDR_SUNKENOUTER    COLOR_3DSHADOW     COLOR_3DHILIGHT
//   BDR_RAISEDINNER    COLOR_3DHILIGHT    COLOR_3DSHADOW
//   BDR_SUNKENINNER    COLOR_3DDKSHADOW   COLOR_3DLIGHT
//
// BF_FLAT draws both colours of a ring as COLOR_3DSHADOW (the inner ring as
// COLOR_3DFACE), BF_MONO as COLOR_WINDOWFRAME (the inner ring as
// COLOR_WINDOW). BF_MIDDLE fills what is left; BF_ADJUST shrinks the
// rectangle to it.
#include "win32/gdi/gdi.h"

using namespace winport;
using namespace winport::gdi;

namespace {

void Fill(HDC hdc, LONG l, LONG t, LONG r, LONG b, int color) {
    const RECT rc{l, t, r, b};
    FillRect(hdc, &rc, GetSysColorBrush(color));
}

void Ring(HDC hdc, RECT& rc, UINT flags, int topLeft, int bottomRight) {
    if (topLeft >= 0) {
        if (flags & BF_TOP) Fill(hdc, rc.left, rc.top, rc.right - 1, rc.top + 1, topLeft);
        if (flags & BF_LEFT) Fill(hdc, rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeft);
    }
    if (bottomRight >= 0) {
        if (flags & BF_BOTTOM) Fill(hdc, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRight);
        if (flags & BF_RIGHT) Fill(hdc, rc.right - 1, rc.top, rc.right, rc.bottom, bottomRight);
    }
    if (topLeft >= 0 || bottomRight >= 0) {
        if (flags & BF_LEFT) ++rc.left;
        if (flags & BF_TOP) ++rc.top;
        if (flags & BF_RIGHT) --rc.right;
        if (flags & BF_BOTTOM) --rc.bottom;
    }
}

}  // namespace

extern "C" {

WINUSERAPI BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
    if (!LookupGdi<Dc>(hdc)) return FALSE;
    if (qrc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int outerTL = -1, outerBR = -1, innerTL = -1, innerBR = -1;
    if (edge & BDR_RAISEDOUTER) { outerTL = COLOR_3DLIGHT; outerBR = COLOR_3DDKSHADOW; }
    else if (edge & BDR_SUNKENOUTER) { outerTL = COLOR_3DSHADOW; outerBR = COLOR_3DHILIGHT; }
    if (edge & BDR_RAISEDINNER) { innerTL = COLOR_3DHILIGHT; innerBR = COLOR_3DSHADOW; }
    else if (edge & BDR_SUNKENINNER) { innerTL = COLOR_3DDKSHADOW; innerBR = COLOR_3DLIGHT; }
    if (grfFlags & BF_MONO) {
        if (outerTL >= 0) outerTL = outerBR = COLOR_WINDOWFRAME;
        if (innerTL >= 0) innerTL = innerBR = COLOR_WINDOW;
    } else if (grfFlags & BF_FLAT) {
        if (outerTL >= 0) outerTL = outerBR = COLOR_3DSHADOW;
        if (innerTL >= 0) innerTL = innerBR = COLOR_3DFACE;
    }
    RECT rc = *qrc;
    Ring(hdc, rc, grfFlags, outerTL, outerBR);
    Ring(hdc, rc, grfFlags, innerTL, innerBR);
    if ((grfFlags & BF_MIDDLE) && rc.left < rc.right && rc.top < rc.bottom) {
        Fill(hdc, rc.left, rc.top, rc.right, rc.bottom,
             (grfFlags & (BF_MONO | BF_FLAT)) ? COLOR_WINDOW : COLOR_3DFACE);
    }
    if (grfFlags & BF_ADJUST) *qrc = rc;
    return TRUE;
}

}  // extern "C"
