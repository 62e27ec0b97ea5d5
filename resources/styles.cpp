// CResourceManager's style values: colours, fonts and flags read from string
// resources, module id 2 preferred.
//
//   colour text     result             font text        result
//   "0, 0, 255"     0x02FF0000         "Arial"          the default (no comma)
//   "255,0,0"       0x020000FF         ",10"            the default (no face)
//   "300, 0, 0"     0x0200002C         "Arial,"         Arial 8 points, 400, upright
//   "255, 0"        the default        "Arial,10, 1"    Arial 10 points, 700, upright
//   "255 0 0"       the default        "Arial ,10"      the face "Arial " as written
//
//   flag text  "12abc" 12, " -3" -3, "yes" 0, "" 0
//
// Decided here: a flag is read from the whole text, however long, as atoi
// reads it (a value beyond int is clamped to INT_MAX or INT_MIN, as the
// Windows runtime's atoi answers). Texts of up to 7 characters read the same
// as from an 8-byte copy, and no such buffer exists to be overrun.
#include <xwth/fontcache.h>
#include <xwth/resourcemanager.h>

#include "resources/fontcache_state.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr WORD kStyleModule = 2;

}  // namespace

COLORREF CResourceManager::GetStyleColor(UINT nID, COLORREF crDefault) {
    CString text;
    LoadString(nID, text, kStyleModule);
    int red = 0, green = 0, blue = 0;
    if (std::sscanf(text, "%d, %d, %d", &red, &green, &blue) != 3) {
        return crDefault;
    }
    return 0x02000000u | (static_cast<COLORREF>(blue & 0xFF) << 16) | (static_cast<COLORREF>(green & 0xFF) << 8) |
           static_cast<COLORREF>(red & 0xFF);
}

CFont* CResourceManager::GetStyleFont(UINT nID, CFont* pDefault) {
    FCache& cache = LibraryFontCache();
    const CString text = LoadString(nID, kStyleModule);
    const int comma = text.Find(',');
    if (comma <= 0) {
        return pDefault;  // no comma, or nothing before it
    }
    const CString face = text.Left(comma);
    const CString rest = text.Mid(comma + 1);
    int points = 8, bold = 0, italic = 0;
    std::sscanf(rest, "%d, %d, %d", &points, &bold, &italic);
    return cache.GetFont(face, points, bold != 0 ? FW_BOLD : FW_NORMAL, static_cast<BYTE>(italic), 0, 0,
                         DEFAULT_CHARSET);
}

int CResourceManager::GetStyleFlag(UINT nID) {
    const CString text = LoadString(nID, kStyleModule);
    if (text.IsEmpty()) {
        return 0;
    }
    const long long value = std::strtoll(text, NULL, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
