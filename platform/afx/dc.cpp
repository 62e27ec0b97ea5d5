// CDC, CClientDC, CWindowDC.
#include <afxwin.h>

#include "afx/handlemap.h"

namespace {

// The temporaries own no DC: they are let go of their handles and deleted
// when the thread ends, as DeleteTempMap does.
struct DcHandleMap : CHandleMapT<CDC> {
    DcHandleMap() = default;
    DcHandleMap(const DcHandleMap&) = delete;
    DcHandleMap& operator=(const DcHandleMap&) = delete;
    ~DcHandleMap() {
        for (auto& [h, dc] : temporary) {
            dc->m_hDC = dc->m_hAttribDC = NULL;
            delete dc;
        }
    }
};

CHandleMapT<CDC>& DcMap() {
    thread_local DcHandleMap map;
    return map;
}

}  // namespace

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::CDC() noexcept : m_hDC(NULL), m_hAttribDC(NULL) {}

CDC::~CDC() {
    if (m_hDC != NULL) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
    if (hDC == NULL) return nullptr;
    auto& map = DcMap();
    if (CDC* found = map.Find(hDC)) return found;
    CDC* temp = new CDC;
    temp->m_hDC = temp->m_hAttribDC = hDC;
    map.temporary[hDC] = temp;
    return temp;
}

void PASCAL CDC::DeleteTempMap() {
    auto temps = std::move(DcMap().temporary);
    DcMap().temporary.clear();
    for (auto& [h, dc] : temps) {
        dc->m_hDC = dc->m_hAttribDC = NULL;  // a temporary owns nothing
        delete dc;
    }
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
    static CBrush* const brush = [] {
        WORD rows[8];
        for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(0x5555u << (i & 1));
        CBitmap bm;
        CBrush* b = nullptr;
        if (bm.CreateBitmap(8, 8, 1, 1, rows)) {
            b = new CBrush;
            if (!b->CreatePatternBrush(&bm)) {
                delete b;
                b = nullptr;
            }
        }
        return b;
    }();
    return brush;
}

BOOL CDC::Attach(HDC hDC) {
    if (hDC == NULL || m_hDC != NULL) return FALSE;
    m_hDC = m_hAttribDC = hDC;
    DcMap().permanent[hDC] = this;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (h != NULL) {
        auto& perm = DcMap().permanent;
        if (auto it = perm.find(h); it != perm.end() && it->second == this) perm.erase(it);
    }
    m_hDC = m_hAttribDC = NULL;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC != NULL ? pDC->m_hDC : NULL));
}

BOOL CDC::DeleteDC() {
    if (m_hDC == NULL) return FALSE;
    return ::DeleteDC(Detach());
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen != NULL ? pPen->m_hObject : NULL)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush != NULL ? pBrush->m_hObject : NULL)));
}

CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont != NULL ? pFont->m_hObject : NULL)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap != NULL ? pBitmap->m_hObject : NULL)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(SelectObject(pObject != NULL ? pObject->m_hObject : NULL));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}

CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }

BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != NULL ? pSrcDC->m_hDC : NULL, xSrc, ySrc, dwRop);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

// Paints with the background colour through a PATCOPY of a solid brush,
// leaving the DC's background colour as it found it.
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    HBRUSH brush = ::CreateSolidBrush(clr);
    if (brush != NULL) {
        ::FillRect(m_hDC, lpRect, brush);
        ::DeleteObject(brush);
    }
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    const RECT rc{x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
    return ::DrawStateA(m_hDC, hBrush, NULL, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y,
                        size.cx, size.cy, nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
    return DrawState(pt, size, static_cast<HBITMAP>(pBitmap->m_hObject), nFlags,
                     pBrush != NULL ? static_cast<HBRUSH>(pBrush->m_hObject) : NULL);
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return ::TextOutA(m_hDC, x, y, str, str.GetLength());
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextA(m_hDC, str, str.GetLength(), lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

IMPLEMENT_DYNAMIC(CClientDC, CDC)

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->m_hWnd : NULL) {
    if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() {
    if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->m_hWnd : NULL) {
    if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() {
    if (m_hDC != NULL) ::ReleaseDC(m_hWnd, Detach());
}
