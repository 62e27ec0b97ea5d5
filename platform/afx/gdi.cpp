// CGdiObject, CPen, CBrush, CFont, CBitmap, CResourceException.
#include <afxwin.h>

#include <cstring>

#include "afx/handlemap.h"

IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

CResourceException::CResourceException() : CResourceException(TRUE) {}
CResourceException::CResourceException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "A required resource was unavailable.") {}
CResourceException::~CResourceException() = default;

void AFXAPI AfxThrowResourceException() { throw new CResourceException(); }

namespace {

CHandleMapT<CGdiObject>& GdiMap() {
    thread_local CHandleMapT<CGdiObject> map;
    return map;
}

// The wrapper of h: the attached one, else a temporary of class T.
template <class T>
T* WrapperOf(HGDIOBJ h) {
    if (h == NULL) return nullptr;
    auto& map = GdiMap();
    if (CGdiObject* found = map.Find(h)) return static_cast<T*>(found);
    T* temp = new T;
    temp->m_hObject = h;
    map.temporary[h] = temp;
    return temp;
}

}  // namespace

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

CGdiObject::CGdiObject() noexcept : m_hObject(NULL) {}

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return WrapperOf<CGdiObject>(hObject); }

void PASCAL CGdiObject::DeleteTempMap() {
    auto temps = std::move(GdiMap().temporary);
    GdiMap().temporary.clear();
    for (auto& [h, obj] : temps) {
        obj->m_hObject = NULL;  // a temporary owns nothing
        delete obj;
    }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == NULL || m_hObject != NULL) return FALSE;
    m_hObject = hObject;
    GdiMap().permanent[hObject] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h != NULL) {
        auto& perm = GdiMap().permanent;
        if (auto it = perm.find(h); it != perm.end() && it->second == this) perm.erase(it);
    }
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == NULL) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }

IMPLEMENT_DYNAMIC(CPen, CGdiObject)
CPen::~CPen() = default;
CPen* PASCAL CPen::FromHandle(HPEN hPen) { return WrapperOf<CPen>(hPen); }

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap)) AfxThrowResourceException();
}

CBrush::~CBrush() = default;

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) { return WrapperOf<CBrush>(hBrush); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return pBitmap != NULL && Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const {
    return ::GetObjectA(m_hObject, sizeof(LOGBRUSH), pLogBrush);
}

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

CFont::~CFont() = default;

CFont* PASCAL CFont::FromHandle(HFONT hFont) { return WrapperOf<CFont>(hFont); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    HDC hdc = pDC != NULL ? pDC->m_hDC : ::GetDC(NULL);
    const int dpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
    if (pDC == NULL) ::ReleaseDC(NULL, hdc);
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    // Tenths of a point to pixels, rounded: 80 at 96 dpi is 11.
    lf.lfHeight = -((nPointSize * dpi + 360) / 720);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName != NULL) std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return ::GetObjectA(m_hObject, sizeof(LOGFONT), pLogFont);
}

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap::~CBitmap() = default;

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) { return WrapperOf<CBitmap>(hBitmap); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return pDC != NULL && Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    if (m_hObject != NULL) return FALSE;  // checked first: the loaded bitmap would have no owner
    return Attach(::LoadBitmapA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

int CBitmap::GetBitmap(BITMAP* pBitMap) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap); }

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
    return static_cast<DWORD>(::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(dwCount), lpBits));
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
    return static_cast<DWORD>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits));
}
