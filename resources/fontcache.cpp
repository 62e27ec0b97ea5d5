// CFontDescription, CFontDescrArray and FCache: the process-wide font cache.
//
// The cache only grows: a font, once made, keeps its index until the last
// holder goes and the whole cache is emptied. A request that finds no font
// of its description makes one; one that cannot be made adds nothing, so a
// later request tries again. The search is linear in creation order, which
// stays cheap for the few dozen descriptions a client's styles name.
#include "resources/fontcache_state.h"

#include <new>

namespace {

// State shared by every holder (one thread at a time, as the whole cache).
int g_holders = 0;
// The screen's character set, read by the first holder; 255: not yet known.
BYTE g_defaultCharSet = 255;

}  // namespace

IMPLEMENT_DYNAMIC(CFontDescription, CFont)

CFontDescription::CFontDescription()
    : m_nHeight(0), m_nWeight(0), m_bItalic(0), m_bUnderline(0), m_bStrikeOut(0), m_nCharSet(0) {}

// A cached font is held without the framework's per-thread handle map (see
// AddFont), so it is deleted here, before CGdiObject would look there; one
// made through CFont goes the framework's way.
CFontDescription::~CFontDescription() {
    if (m_bUnmapped && m_hObject != NULL) {
        ::DeleteObject(m_hObject);
        m_hObject = NULL;
    }
}

CFontDescrArray::CFontDescrArray() = default;

CFontDescrArray::~CFontDescrArray() { RemoveAll(); }

void CFontDescrArray::RemoveAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetAt(i);
    }
    CObArray::RemoveAll();
}

IMPLEMENT_DYNAMIC(FCache, CObject)

FCache::FCache() {
    if (g_defaultCharSet == 255) {
        HDC screen = ::GetDC(NULL);
        TEXTMETRICA tm{};
        if (screen != NULL && ::GetTextMetricsA(screen, &tm)) {
            g_defaultCharSet = tm.tmCharSet;
        }
        if (screen != NULL) {
            ::ReleaseDC(NULL, screen);
        }
    }
    ++g_holders;
}

FCache::~FCache() {
    if (--g_holders == 0) {
        FontCacheArray().RemoveAll();
    }
}

int FCache::HeightFromPoints(int nPoints) {
    HDC screen = ::GetDC(NULL);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(NULL, screen);
    return -::MulDiv(nPoints, dpi, 72);
}

int FCache::AddFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline, BYTE bStrikeOut,
                    BYTE nCharSet) {
    auto* font = new (std::nothrow) CFontDescription;
    if (font == NULL) {
        return -1;
    }
    // DEFAULT_CHARSET asks for the screen's own set (while it is unknown, 1
    // is passed on and the system picks).
    const BYTE charSet = nCharSet == DEFAULT_CHARSET && g_defaultCharSet != 255 ? g_defaultCharSet : nCharSet;
    HFONT hFont = ::CreateFontA(HeightFromPoints(nPoints), 0, 0, 0, nWeight, bItalic, bUnderline, bStrikeOut,
                                charSet, 0, 0, 0, 0, lpszFace);
    if (hFont == NULL) {
        delete font;
        return -1;
    }
    // Not Attach: that map is per thread and gone before the cache when the
    // process ends, and a cached font is used from any thread. FromHandle
    // therefore answers a temporary wrapper for a cached font's handle.
    font->m_hObject = hFont;
    font->m_bUnmapped = true;
    font->m_strFace = lpszFace;
    font->m_nHeight = HeightFromPoints(nPoints);
    font->m_nWeight = nWeight;
    font->m_bItalic = bItalic;
    font->m_bUnderline = bUnderline;
    font->m_bStrikeOut = bStrikeOut;
    font->m_nCharSet = nCharSet;
    CFontDescrArray& cache = FontCacheArray();
    try {
        return static_cast<int>(cache.Add(font));
    } catch (...) {
        delete font;
        throw;
    }
}

int FCache::FindFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline, BYTE bStrikeOut,
                     BYTE nCharSet) {
    const int height = HeightFromPoints(nPoints);
    const CFontDescrArray& cache = FontCacheArray();
    for (INT_PTR i = 0; i < cache.GetSize(); ++i) {
        const auto* font = static_cast<const CFontDescription*>(cache.GetAt(i));
        if (font != NULL && font->m_nHeight == height && font->m_nWeight == nWeight &&
            font->m_nCharSet == nCharSet && font->m_strFace == lpszFace && font->m_bItalic == bItalic &&
            font->m_bUnderline == bUnderline && font->m_bStrikeOut == bStrikeOut) {
            return static_cast<int>(i);
        }
    }
    return AddFont(lpszFace, nPoints, nWeight, bItalic, bUnderline, bStrikeOut, nCharSet);
}

CFontDescription* FCache::GetFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline,
                                  BYTE bStrikeOut, BYTE nCharSet) {
    const int index = FindFont(lpszFace, nPoints, nWeight, bItalic, bUnderline, bStrikeOut, nCharSet);
    return index < 0 ? NULL : static_cast<CFontDescription*>(FontCacheArray().GetAt(index));
}

FCache& LibraryFontCache() {
    static FCache holder;
    return holder;
}
