// Fonts made real: faces found by fontconfig, glyphs rendered by FreeType and cached.
#pragma once

#include "win32/gdi/gdi.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace winport::gdi {

// One glyph as drawn: a bi-level coverage mask placed relative to the pen.
struct Glyph {
    bool loaded = false;
    int left = 0;     // mask's left edge from the pen, pixels to the right
    int top = 0;      // mask's top edge from the pen, pixels upwards
    int width = 0;
    int height = 0;
    int advance = 0;  // along the baseline, in pixels, before character extra
    std::vector<std::uint8_t> mask;  // width * height, 1 where the glyph covers
};

// A LOGFONTA bound to a face and a pixel size; glyphs of the 256 ANSI codes
// are rendered once, on first use, and kept for the life of the font cache.
struct RealizedFont {
    void* face = nullptr;  // FT_Face
    TEXTMETRICA metrics{};
    int escapement = 0;    // tenths of a degree, counter-clockwise
    double emWidth = 0;    // horizontal em in pixels when lfWidth stretches the glyphs; 0: as high
    double cosA = 1.0, sinA = 0.0;
    int underlinePos = 0;        // pixels below the baseline
    int underlineThickness = 1;
    int strikeoutPos = 0;        // pixels above the baseline
    bool underline = false, strikeout = false;
    char faceName[LF_FACESIZE] = {};
    std::array<Glyph, 256> glyphs;
};

// The realized font for lf (made once per distinct LOGFONTA). Never null:
// a face that cannot be found falls back to fontconfig's default face.
std::shared_ptr<RealizedFont> Realize(const LOGFONTA& lf);

// The glyph of an ANSI code, rendered on first use.
const Glyph& GlyphOf(RealizedFont& font, unsigned char code);

// Width of s in pixels along the baseline, each character followed by extra.
int TextWidth(RealizedFont& font, const char* s, int n, int extra);

// Draws s with its cell's top-left at the device point (x, y) in colour
// `color`, with no pixel outside clip (device coordinates, already clipped to
// the surface). An opaque background fills the cell first (unrotated text).
void DrawString(Dc& dc, RealizedFont& font, int x, int y, const char* s, int n, const RECT& clip);

// The mutex that guards the font cache and the fonts' glyph tables.
std::mutex& FontLock();

}  // namespace winport::gdi
