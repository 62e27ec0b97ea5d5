// The process-wide font cache: one font per distinct description, shared by
// every request for it.
//   CFontDescription  a font and the description it was made for
//   CFontDescrArray   the cache's fonts in creation order; owns them
//   FCache            a holder of the cache, and its searches
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include <xwth/export.h>

// A cached font. Owned by the cache array; deleting it deletes its Windows
// font. The fields keep the description as it was requested (the character
// set included, even where the font was made with another).
class XWTH_API CFontDescription : public CFont {
    DECLARE_DYNAMIC(CFontDescription)
public:
    CFontDescription();
    ~CFontDescription() override;

    CString m_strFace;
    int m_nHeight;  // logical height; negative: character height
    int m_nWeight;
    BYTE m_bItalic;
    BYTE m_bUnderline;
    BYTE m_bStrikeOut;
    BYTE m_nCharSet;

private:
    friend class FCache;
    // The cache holds its font without the framework's per-thread handle
    // map (which is gone before the cache when the process ends).
    bool m_bUnmapped = false;
};

// The cache's fonts in the order they were created; a font's index is its
// identity while the cache lives. Owns its elements: emptying the array or
// destroying it deletes every non-null one.
class XWTH_API CFontDescrArray : public CObArray {
public:
    CFontDescrArray();
    ~CFontDescrArray() override;
    // Deletes every font, then sets the size to 0.
    void RemoveAll();
};

// A holder of the process-wide cache. While any holder lives the cached
// fonts stay; when the last one goes, every cached font is deleted. The
// first holder made reads the default character set of the screen, which
// fonts asking for DEFAULT_CHARSET (1) are created with. No locks: use it
// from one thread at a time.
class XWTH_API FCache : public CObject {
    DECLARE_DYNAMIC(FCache)
public:
    FCache();
    ~FCache() override;

    // -MulDiv(nPoints, the screen's pixels per logical inch, 72), the screen
    // asked again on every call: 8 points are -11 at 96 dpi, 10 points -13.
    virtual int HeightFromPoints(int nPoints);
    // Creates the font, appends it to the cache and answers its index; -1,
    // and nothing added, when the font cannot be made.
    virtual int AddFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline,
                        BYTE bStrikeOut, BYTE nCharSet);

    // The index of the first cached font of this description (face compared
    // case-sensitively, the requested character set), created when none is.
    int FindFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline, BYTE bStrikeOut,
                 BYTE nCharSet);
    // The cached font FindFont answers, or NULL when it cannot be made.
    CFontDescription* GetFont(LPCSTR lpszFace, int nPoints, int nWeight, BYTE bItalic, BYTE bUnderline,
                              BYTE bStrikeOut, BYTE nCharSet);
};
