// user32 DrawTextA: lines, alignment, tab expansion, "&" prefixes, DT_CALCRECT.
//
//   text        DT_NOPREFIX   drawn    underlined
//   "&File"     no            File     F
//   "A&&B"      no            A&B      -
//   "A&&B"      yes           A&&B     -
//   "End&"      no            End      -        (a lone last "&" is dropped)
//
// Tabs expand (DT_EXPANDTABS) to the next multiple of eight average
// character widths from the line's start. DT_WORDBREAK breaks lines at
// blanks; a word longer than the rectangle stays whole. A font with an
// escapement draws its single line from the rectangle's top-left corner,
// the way rotated captions are laid out by their callers.
#include "win32/gdi/text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace winport;
using namespace winport::gdi;

namespace {

struct Line {
    std::string text;      // prefixes resolved, tabs still in
    int underline = -1;    // index in text of the underlined character
};

// Resolves "&" prefixes of one line.
Line Prefixed(const char* s, int n, bool noPrefix) {
    Line line;
    for (int i = 0; i < n; ++i) {
        if (!noPrefix && s[i] == '&') {
            if (i + 1 >= n) break;
            ++i;
            if (s[i] != '&') line.underline = static_cast<int>(line.text.size());
        }
        line.text.push_back(s[i]);
    }
    return line;
}

struct Layout {
    RealizedFont& font;
    int extra;
    int tabWidth;
    bool expandTabs;

    // Pixel x of each character's start, and the total width in the last entry.
    std::vector<int> Positions(const std::string& s) const {
        std::vector<int> xs(s.size() + 1, 0);
        int x = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            xs[i] = x;
            if (s[i] == '\t' && expandTabs) {
                x = (x / tabWidth + 1) * tabWidth;
            } else {
                x += GlyphOf(font, static_cast<unsigned char>(s[i])).advance + extra;
            }
        }
        xs[s.size()] = x;
        return xs;
    }
    int Width(const std::string& s) const { return Positions(s).back(); }
};

// Breaks one paragraph at blanks so that each line fits width where it can.
void WordBreak(const Line& para, const Layout& layout, int width, std::vector<Line>& out) {
    const std::string& s = para.text;
    std::size_t start = 0;
    while (start < s.size()) {
        std::size_t end = s.size();
        if (layout.Width(s.substr(start)) > width) {
            std::size_t lastFit = std::string::npos;
            for (std::size_t i = start; i < s.size(); ++i) {
                if (s[i] == ' ' && layout.Width(s.substr(start, i - start)) <= width) lastFit = i;
            }
            if (lastFit != std::string::npos && lastFit > start) end = lastFit;
            else {
                const std::size_t sp = s.find(' ', start);
                if (sp != std::string::npos) end = sp;
            }
        }
        Line l;
        l.text = s.substr(start, end - start);
        if (para.underline >= static_cast<int>(start) && para.underline < static_cast<int>(end)) {
            l.underline = para.underline - static_cast<int>(start);
        }
        out.push_back(std::move(l));
        start = end;
        while (start < s.size() && s[start] == ' ') ++start;
    }
    if (s.empty()) out.push_back(para);
}

}  // namespace

extern "C" {

// Answers the height of the text, or, with DT_VCENTER or DT_BOTTOM, the
// distance from the rectangle's top to the text's bottom; 0 on failure.
WINUSERAPI int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) return 0;
    if (lprc == nullptr || (lpchText == nullptr && cchText != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int n = cchText < 0 ? static_cast<int>(std::strlen(lpchText)) : cchText;
    std::lock_guard<std::mutex> lock(FontLock());
    auto font = Realize(dc->state.font->logfont);
    const TEXTMETRICA& tm = font->metrics;
    Layout layout{*font, dc->state.charExtra, std::max<int>(1, tm.tmAveCharWidth * 8),
                  (format & DT_EXPANDTABS) != 0};
    const bool noPrefix = (format & DT_NOPREFIX) != 0;
    const bool single = (format & DT_SINGLELINE) != 0;
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);

    std::vector<Line> lines;
    if (single) {
        lines.push_back(Prefixed(lpchText, n, noPrefix));
    } else {
        int start = 0;
        for (int i = 0; i <= n; ++i) {
            if (i == n || lpchText[i] == '\n' || lpchText[i] == '\r') {
                Line para = Prefixed(lpchText + start, i - start, noPrefix);
                if (format & DT_WORDBREAK) {
                    WordBreak(para, layout, lprc->right - lprc->left, lines);
                } else {
                    lines.push_back(std::move(para));
                }
                if (i < n && lpchText[i] == '\r' && i + 1 < n && lpchText[i + 1] == '\n') ++i;
                start = i + 1;
                if (i == n - 1 && (lpchText[i] == '\n' || lpchText[i] == '\r')) break;
            }
        }
    }
    int maxWidth = 0;
    for (const Line& l : lines) maxWidth = std::max(maxWidth, layout.Width(l.text));
    const int textHeight = lineHeight * static_cast<int>(lines.size());

    if (format & DT_CALCRECT) {
        lprc->right = lprc->left + maxWidth;
        lprc->bottom = lprc->top + textHeight;
        return textHeight;
    }

    int y = lprc->top;
    if (single && (format & DT_VCENTER)) {
        y = lprc->top + (lprc->bottom - lprc->top - textHeight) / 2;
    } else if (single && (format & DT_BOTTOM)) {
        y = lprc->bottom - textHeight;
    }
    const int ox = dc->state.viewportOrg.x, oy = dc->state.viewportOrg.y;
    const Bitmap& bm = *dc->state.bitmap;
    RECT clip{0, 0, bm.width, bm.height};
    if (!(format & DT_NOCLIP)) {
        clip.left = std::max<LONG>(clip.left, lprc->left + ox);
        clip.top = std::max<LONG>(clip.top, lprc->top + oy);
        clip.right = std::min<LONG>(clip.right, lprc->right + ox);
        clip.bottom = std::min<LONG>(clip.bottom, lprc->bottom + oy);
        if (clip.left >= clip.right || clip.top >= clip.bottom) {
            return single && (format & (DT_VCENTER | DT_BOTTOM)) ? y - lprc->top + textHeight : textHeight;
        }
    }

    for (const Line& l : lines) {
        const std::vector<int> xs = layout.Positions(l.text);
        int x = lprc->left;
        if (font->escapement == 0) {
            if (format & DT_CENTER) x = lprc->left + (lprc->right - lprc->left - xs.back()) / 2;
            else if (format & DT_RIGHT) x = lprc->right - xs.back();
        }
        // Draw runs between tabs, each at its expanded position.
        std::size_t runStart = 0;
        for (std::size_t i = 0; i <= l.text.size(); ++i) {
            if (i == l.text.size() || (l.text[i] == '\t' && layout.expandTabs)) {
                if (i > runStart) {
                    DrawString(*dc, *font, x + xs[runStart] + ox, y + oy, l.text.data() + runStart,
                               static_cast<int>(i - runStart), clip);
                }
                runStart = i + 1;
            }
        }
        if (l.underline >= 0 && font->escapement == 0) {
            // One pixel line under the prefixed character, in the text colour.
            const std::size_t u = static_cast<std::size_t>(l.underline);
            const int ux = x + xs[u] + ox;
            const int uw = xs[u + 1] - xs[u] - layout.extra;
            const int uy = y + oy + tm.tmAscent + 1;
            std::uint32_t px = bm.format == PixelFormat::Mono
                                   ? (NearerWhite(dc->state.textColor) ? 0x00FFFFFFu : 0u)
                                   : ToPixel(dc->state.textColor);
            if (uy >= clip.top && uy < clip.bottom) {
                for (int xx = std::max<int>(ux, clip.left); xx < std::min<int>(ux + uw, clip.right); ++xx) {
                    StoreRow(*dc->state.bitmap, xx, uy, 1, &px);
                }
            }
        }
        y += lineHeight;
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) {
        return y - lprc->top;
    }
    return textHeight;
}

}  // extern "C"
