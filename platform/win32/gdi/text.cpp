// gdi32 text: GetTextMetricsA, GetTextExtentPoint32A, TextOutA, ExtTextOutA, SetTextCharacterExtra,
// and the font cache behind them.
//
// Sizes follow the Windows rules: a negative lfHeight is the em height in
// pixels, a positive one the cell height (the face's Windows ascent plus
// descent), 0 a cell of 16 pixels. Glyphs are rendered bi-level, as classic
// Windows draws without smoothing, so a pixel is either text colour or left
// alone. Escapement (tenths of a degree) turns the baseline counter-clockwise;
// the glyphs turn with it. A non-zero lfWidth (taken by its magnitude) is
// the average character width: the glyphs stretch or shrink horizontally so
// that the face's average width comes to it, the height staying as it is.
// Text is in code page 1252.
#include "win32/gdi/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_GLYPH_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace winport::gdi {
namespace {

// Code page 1252's 0x80-0x9F; the rest of the page is Latin-1.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char32_t ToUnicode(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : static_cast<char32_t>(c);
}

// Names that programs ask for by habit and that no free face carries; they
// go to fontconfig's generic families instead.
const char* FamilyFor(const LOGFONTA& lf) {
    const char* name = lf.lfFaceName;
    static const char* const sans[] = {"", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
                                       "System", "Tahoma", "Segoe UI", "Microsoft Sans Serif"};
    for (const char* s : sans) {
        if (std::strcmp(name, s) == 0) {
            return (lf.lfPitchAndFamily & 3) == FIXED_PITCH ? "monospace" : "sans-serif";
        }
    }
    return name;
}

struct FontCache {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces;
    std::map<std::string, std::shared_ptr<RealizedFont>> fonts;

    FontCache() {
        FT_Init_FreeType(&library);
        FcInit();
    }

    FT_Face Match(const LOGFONTA& lf) {
        FcPattern* pat = FcPatternCreate();
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(FamilyFor(lf)));
        const int weight = lf.lfWeight == 0 ? FW_NORMAL : static_cast<int>(lf.lfWeight);
        FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(weight));
        FcPatternAddInteger(pat, FC_SLANT, lf.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH) {
            FcPatternAddInteger(pat, FC_SPACING, FC_MONO);
        }
        FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pat, &result);
        FcPatternDestroy(pat);
        FT_Face face = nullptr;
        if (match != nullptr) {
            FcChar8* file = nullptr;
            int index = 0;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
                FcPatternGetInteger(match, FC_INDEX, 0, &index);
                const auto key = std::make_pair(std::string(reinterpret_cast<char*>(file)), index);
                if (auto it = faces.find(key); it != faces.end()) {
                    face = it->second;
                } else if (FT_New_Face(library, key.first.c_str(), index, &face) == 0) {
                    faces[key] = face;
                } else {
                    face = nullptr;
                }
            }
            FcPatternDestroy(match);
        }
        return face;
    }
};

FontCache& Cache() {
    // Kept to the end of the process: fonts may be drawn from static destructors.
    static FontCache* const cache = new FontCache;
    return *cache;
}

std::string KeyOf(const LOGFONTA& lf) {
    LOGFONTA k = lf;
    const std::size_t n = strnlen(k.lfFaceName, LF_FACESIZE);
    std::memset(k.lfFaceName + n, 0, LF_FACESIZE - n);
    return std::string(reinterpret_cast<const char*>(&k), sizeof(k));
}

}  // namespace

std::mutex& FontLock() {
    static std::mutex* const m = new std::mutex;
    return *m;
}

std::shared_ptr<RealizedFont> Realize(const LOGFONTA& lf) {
    FontCache& cache = Cache();
    const std::string key = KeyOf(lf);
    if (auto it = cache.fonts.find(key); it != cache.fonts.end()) {
        return it->second;
    }
    auto font = std::make_shared<RealizedFont>();
    FT_Face face = cache.Match(lf);
    if (face == nullptr) {
        LOGFONTA fallback{};
        fallback.lfHeight = lf.lfHeight;
        face = cache.Match(fallback);
    }
    font->face = face;
    TEXTMETRICA& tm = font->metrics;
    const int weight = lf.lfWeight == 0 ? FW_NORMAL : static_cast<int>(lf.lfWeight);
    tm.tmWeight = weight;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = kScreenDpi;
    // The realized character set: a font asking for the default gets ANSI.
    tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
    font->underline = lf.lfUnderline != 0;
    font->strikeout = lf.lfStrikeOut != 0;
    font->escapement = lf.lfEscapement;
    const double angle = lf.lfEscapement * M_PI / 1800.0;
    font->cosA = std::cos(angle);
    font->sinA = std::sin(angle);
    if (std::fabs(font->cosA) < 1e-9) font->cosA = 0;
    if (std::fabs(font->sinA) < 1e-9) font->sinA = 0;

    if (face != nullptr) {
        const int upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        int winAscent = face->ascender, winDescent = -face->descender, lineGap = 0;
        int avgWidth = 0;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                winAscent = os2->usWinAscent;
                winDescent = os2->usWinDescent;
            }
            avgWidth = os2->xAvgCharWidth;
        }
        if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
            lineGap = std::max(0, hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender)));
        }
        const int cell = winAscent + winDescent;
        double em;
        if (lf.lfHeight < 0) {
            em = -static_cast<double>(lf.lfHeight);
            tm.tmAscent = static_cast<LONG>(std::lround(winAscent * em / upem));
            tm.tmDescent = static_cast<LONG>(std::lround(winDescent * em / upem));
            tm.tmHeight = tm.tmAscent + tm.tmDescent;
        } else {
            const double height = lf.lfHeight == 0 ? 16.0 : static_cast<double>(lf.lfHeight);
            em = height * upem / cell;
            tm.tmHeight = static_cast<LONG>(height);
            tm.tmAscent = static_cast<LONG>(std::lround(winAscent * height / cell));
            tm.tmDescent = tm.tmHeight - tm.tmAscent;
        }
        const double scale = em / upem;
        tm.tmInternalLeading = tm.tmHeight - static_cast<LONG>(std::lround(em));
        if (tm.tmInternalLeading < 0) tm.tmInternalLeading = 0;
        tm.tmExternalLeading = static_cast<LONG>(std::lround(lineGap * scale));
        double xScale = scale;  // font units to pixels along the baseline
        if (lf.lfWidth != 0) {
            if (avgWidth <= 0 && FT_Load_Char(face, 'x', FT_LOAD_NO_SCALE) == 0) {
                avgWidth = static_cast<int>(face->glyph->metrics.horiAdvance);
            }
            if (avgWidth > 0) {
                // Beyond 16384 pixels a width is a mistake, not a font.
                const double wanted = static_cast<double>(std::min(std::llabs(lf.lfWidth), 16384LL));
                xScale = wanted / avgWidth;
                font->emWidth = xScale * upem;
            }
        }
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
        tm.tmMaxCharWidth = static_cast<LONG>(std::lround(face->max_advance_width * xScale));
        tm.tmAveCharWidth = avgWidth > 0 ? static_cast<LONG>(std::lround(avgWidth * xScale)) : 0;
        const bool fixed = FT_IS_FIXED_WIDTH(face);
        // Windows' sense of the pitch bit is inverted: set for a variable pitch.
        tm.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                                TMPF_TRUETYPE | (lf.lfPitchAndFamily & 0xF0));
        font->underlinePos = std::max(1, static_cast<int>(std::lround(-face->underline_position * scale)));
        font->underlineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
        font->strikeoutPos = std::max(1, static_cast<int>(tm.tmAscent / 3));
        std::strncpy(font->faceName, face->family_name != nullptr ? face->family_name : "", LF_FACESIZE - 1);
    } else {
        tm.tmHeight = lf.lfHeight > 0 ? lf.lfHeight : 16;
        tm.tmAscent = tm.tmHeight * 4 / 5;
        tm.tmDescent = tm.tmHeight - tm.tmAscent;
    }
    if (tm.tmAveCharWidth == 0) {
        tm.tmAveCharWidth = std::max<LONG>(1, TextWidth(*font, "x", 1, 0));
    }
    cache.fonts[key] = font;
    return font;
}

const Glyph& GlyphOf(RealizedFont& font, unsigned char code) {
    Glyph& g = font.glyphs[code];
    if (g.loaded) {
        return g;
    }
    g.loaded = true;
    auto face = static_cast<FT_Face>(font.face);
    if (face == nullptr) {
        return g;
    }
    const double em = font.metrics.tmHeight - font.metrics.tmInternalLeading;
    FT_Set_Char_Size(face, font.emWidth > 0 ? static_cast<FT_F26Dot6>(std::lround(font.emWidth * 64)) : 0,
                     static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
    if (font.escapement != 0) {
        FT_Matrix m;
        m.xx = static_cast<FT_Fixed>(std::lround(font.cosA * 65536));
        m.xy = static_cast<FT_Fixed>(std::lround(-font.sinA * 65536));
        m.yx = static_cast<FT_Fixed>(std::lround(font.sinA * 65536));
        m.yy = static_cast<FT_Fixed>(std::lround(font.cosA * 65536));
        FT_Set_Transform(face, &m, nullptr);
    } else {
        FT_Set_Transform(face, nullptr, nullptr);
    }
    if (font.metrics.tmItalic && !(face->style_flags & FT_STYLE_FLAG_ITALIC)) {
        // No italic face: slant the upright one.
        FT_Matrix slant{65536, 13000, 0, 65536};
        if (font.escapement != 0) {
            FT_Matrix rot{static_cast<FT_Fixed>(std::lround(font.cosA * 65536)),
                          static_cast<FT_Fixed>(std::lround(-font.sinA * 65536)),
                          static_cast<FT_Fixed>(std::lround(font.sinA * 65536)),
                          static_cast<FT_Fixed>(std::lround(font.cosA * 65536))};
            FT_Matrix_Multiply(&rot, &slant);
        }
        FT_Set_Transform(face, &slant, nullptr);
    }
    const FT_UInt index = FT_Get_Char_Index(face, ToUnicode(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        return g;
    }
    FT_GlyphSlot slot = face->glyph;
    // A stretched face's hinted advances drift from the stretch (the hints
    // fit stems to whole pixels at the face's own proportions); its advances
    // follow the outlines instead.
    g.advance = font.emWidth > 0 ? static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16)
                                 : static_cast<int>((slot->metrics.horiAdvance + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(slot->bitmap.width);
    g.height = static_cast<int>(slot->bitmap.rows);
    g.mask.assign(static_cast<std::size_t>(g.width) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* row = slot->bitmap.buffer + y * slot->bitmap.pitch;
        for (int x = 0; x < g.width; ++x) {
            const bool on = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                : row[x] >= 128;
            g.mask[static_cast<std::size_t>(y) * g.width + x] = on ? 1 : 0;
        }
    }
    return g;
}

int TextWidth(RealizedFont& font, const char* s, int n, int extra) {
    int w = 0;
    for (int i = 0; i < n; ++i) {
        w += GlyphOf(font, static_cast<unsigned char>(s[i])).advance + extra;
    }
    return w;
}

namespace {

struct Painter {
    Bitmap& bm;
    RECT clip;
    std::uint32_t pixel;

    void Plot(int x, int y) const {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) {
            StoreRow(bm, x, y, 1, &pixel);
        }
    }
};

}  // namespace

void DrawString(Dc& dc, RealizedFont& font, int x, int y, const char* s, int n, const RECT& clip) {
    Bitmap& bm = *dc.state.bitmap;
    const bool mono = bm.format == PixelFormat::Mono;
    const COLORREF tc = dc.state.textColor;
    Painter paint{bm, clip, mono ? (NearerWhite(tc) ? 0x00FFFFFFu : 0u) : ToPixel(tc)};
    const TEXTMETRICA& tm = font.metrics;
    const int extra = dc.state.charExtra;
    const int width = TextWidth(font, s, n, extra);

    if (dc.state.bkMode == OPAQUE && font.escapement == 0) {
        const COLORREF bc = dc.state.bkColor;
        Painter bg{bm, clip, mono ? (NearerWhite(bc) ? 0x00FFFFFFu : 0u) : ToPixel(bc)};
        for (int yy = y; yy < y + tm.tmHeight; ++yy) {
            for (int xx = x; xx < x + width; ++xx) bg.Plot(xx, yy);
        }
    }
    // Baseline origin: the cell's top-left moved down by the ascent, turned
    // with the baseline. Screen y grows downwards, so "up" is -y.
    const double ox = x + tm.tmAscent * font.sinA;
    const double oy = y + tm.tmAscent * font.cosA;
    double pen = 0;
    for (int i = 0; i < n; ++i) {
        const Glyph& g = GlyphOf(font, static_cast<unsigned char>(s[i]));
        const int px = static_cast<int>(std::lround(ox + pen * font.cosA));
        const int py = static_cast<int>(std::lround(oy - pen * font.sinA));
        for (int gy = 0; gy < g.height; ++gy) {
            const std::uint8_t* row = g.mask.data() + static_cast<std::size_t>(gy) * g.width;
            for (int gx = 0; gx < g.width; ++gx) {
                if (row[gx]) paint.Plot(px + g.left + gx, py - g.top + gy);
            }
        }
        pen += g.advance + extra;
    }
    // Underline and strike-out run along the baseline for the whole width.
    auto line = [&](int offset, int thickness) {
        for (int t = 0; t < thickness; ++t) {
            const double d = offset + t;  // below the baseline
            for (int k = 0; k < width; ++k) {
                paint.Plot(static_cast<int>(std::lround(ox + k * font.cosA + d * font.sinA)),
                           static_cast<int>(std::lround(oy - k * font.sinA + d * font.cosA)));
            }
        }
    };
    if (font.underline) line(font.underlinePos, font.underlineThickness);
    if (font.strikeout) line(-font.strikeoutPos, font.underlineThickness);
}

}  // namespace winport::gdi

using namespace winport;
using namespace winport::gdi;

namespace {

std::shared_ptr<RealizedFont> FontOf(const Dc& dc) { return Realize(dc.state.font->logfont); }

}  // namespace

extern "C" {

WINGDIAPI BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (lptm == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(FontLock());
    *lptm = FontOf(*dc)->metrics;
    return TRUE;
}

WINGDIAPI BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (psizl == nullptr || c < 0 || (lpString == nullptr && c > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(FontLock());
    auto font = FontOf(*dc);
    psizl->cx = TextWidth(*font, lpString, c, dc->state.charExtra);
    psizl->cy = font->metrics.tmHeight;
    return TRUE;
}

WINGDIAPI int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return 0;
    std::lock_guard<std::mutex> lock(FontLock());
    const char* name = FontOf(*dc)->faceName;
    const int len = static_cast<int>(std::strlen(name));
    if (lpName == nullptr) return len + 1;
    if (c <= 0) return 0;
    const int n = std::min(len, c - 1);
    std::memcpy(lpName, name, static_cast<std::size_t>(n));
    lpName[n] = '\0';
    return n;
}

WINGDIAPI int WINAPI SetTextCharacterExtra(HDC hdc, int extra) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return static_cast<int>(0x80000000u);
    return std::exchange(dc->state.charExtra, extra);
}

WINGDIAPI int WINAPI GetTextCharacterExtra(HDC hdc) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return static_cast<int>(0x80000000u);
    return dc->state.charExtra;
}

// (x, y) is the top-left of the first character's cell (TA_TOP | TA_LEFT).
WINGDIAPI BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (c < 0 || (lpString == nullptr && c > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Bitmap& bm = *dc->state.bitmap;
    const RECT clip{0, 0, bm.width, bm.height};
    std::lock_guard<std::mutex> lock(FontLock());
    DrawString(*dc, *FontOf(*dc), x + dc->state.viewportOrg.x, y + dc->state.viewportOrg.y,
               lpString, c, clip);
    return TRUE;
}

// TextOutA with a rectangle: ETO_OPAQUE paints it in the background colour
// (whatever the background mode), ETO_CLIPPED clips the text to it. With
// lpDx the characters stand at the given advances, turned with the baseline.
WINGDIAPI BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprc, LPCSTR lpString, UINT c,
                                  const INT* lpDx) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return FALSE;
    if (lpString == nullptr && c > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Bitmap& bm = *dc->state.bitmap;
    const POINT org = dc->state.viewportOrg;
    RECT clip{0, 0, bm.width, bm.height};
    if (lprc != nullptr && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0) {
        const RECT box{std::max<LONG>(lprc->left + org.x, 0), std::max<LONG>(lprc->top + org.y, 0),
                       std::min<LONG>(lprc->right + org.x, bm.width), std::min<LONG>(lprc->bottom + org.y, bm.height)};
        if ((options & ETO_OPAQUE) != 0 && box.left < box.right && box.top < box.bottom) {
            const COLORREF bc = dc->state.bkColor;
            const bool mono = bm.format == PixelFormat::Mono;
            const std::vector<std::uint32_t> row(static_cast<size_t>(box.right - box.left),
                                                 mono ? (NearerWhite(bc) ? 0x00FFFFFFu : 0u) : ToPixel(bc));
            for (LONG yy = box.top; yy < box.bottom; ++yy) StoreRow(bm, box.left, yy, box.right - box.left, row.data());
        }
        if ((options & ETO_CLIPPED) != 0) clip = box;
    }
    if (clip.left >= clip.right || clip.top >= clip.bottom || c == 0) return TRUE;
    std::lock_guard<std::mutex> lock(FontLock());
    auto font = FontOf(*dc);
    const int n = static_cast<int>(std::min<UINT>(c, 0x7FFFFFFF));
    if (lpDx == nullptr) {
        DrawString(*dc, *font, x + org.x, y + org.y, lpString, n, clip);
        return TRUE;
    }
    double pen = 0;
    for (int i = 0; i < n; ++i) {
        const int px = x + org.x + static_cast<int>(std::lround(pen * font->cosA));
        const int py = y + org.y - static_cast<int>(std::lround(pen * font->sinA));
        DrawString(*dc, *font, px, py, lpString + i, 1, clip);
        pen += lpDx[i];
    }
    return TRUE;
}

}  // extern "C"
