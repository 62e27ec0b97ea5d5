// gdi32 raster operations: all 256 codes, colour conversions, brushes, clipping.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "platform/gdi_test_support.h"
#include "support/wine.h"

using xwth_test::Canvas;

namespace {

// The truth table evaluated bit by bit: the reference for every code.
std::uint32_t Reference(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t r = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const int idx = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        r |= static_cast<std::uint32_t>((code >> idx) & 1) << bit;
    }
    return r;
}

DWORD RopOf(int code) { return static_cast<DWORD>(code) << 16; }

}  // namespace

TEST(GdiBitBltTest, EveryRasterOperationMatchesItsTruthTable) {
    constexpr int W = 37, H = 5;
    std::mt19937 rng(1234);
    Canvas src(W, H), dst(W, H);
    std::vector<std::uint32_t> before(W * H);
    for (int code = 0; code < 256; ++code) {
        for (auto& v : before) v = rng() & 0xFFFFFF;
        for (int i = 0; i < W * H; ++i) {
            src.bits[i] = rng() & 0xFFFFFF;
            dst.bits[i] = before[i];
        }
        const COLORREF brushColor = rng() & 0xFFFFFF;
        HBRUSH brush = CreateSolidBrush(brushColor);
        HGDIOBJ old = SelectObject(dst.dc, brush);
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, W, H, src.dc, 0, 0, RopOf(code))) << "code " << code;
        SelectObject(dst.dc, old);
        DeleteObject(brush);
        const std::uint32_t p = Canvas::ToRaw(brushColor);
        int wrong = 0;
        for (int i = 0; i < W * H; ++i) {
            wrong += (dst.bits[i] & 0xFFFFFF) != Reference(static_cast<std::uint8_t>(code), p,
                                                          src.bits[i], before[i]);
        }
        EXPECT_EQ(wrong, 0) << "code 0x" << std::hex << code;
    }
}

// The same with an 8x8 colour pattern brush and a rectangle inside both
// surfaces, whose rows neither start nor end on a 16-pixel boundary: every
// pixel inside follows the table, every pixel outside keeps its value.
TEST(GdiBitBltTest, EveryRasterOperationWithAPatternInsideTheSurfaces) {
    constexpr int W = 41, H = 6, SX = 8, SY = 0, CW = 30, CH = 4;
    std::mt19937 rng(99);
    Canvas src(W, H), dst(W, H), pat(8, 8);
    std::vector<std::uint32_t> before(W * H);
    // Pixels of the rectangle at (x0, y0) that the code got wrong.
    auto wrongPixels = [&](int code, int x0, int y0) {
        for (int i = 0; i < W * H; ++i) {
            src.bits[i] = rng() & 0xFFFFFF;
            dst.bits[i] = before[i] = rng() & 0xFFFFFF;
        }
        for (int i = 0; i < 64; ++i) pat.bits[i] = rng() & 0xFFFFFF;
        SelectObject(pat.dc, pat.old);  // a brush's bitmap is selected nowhere
        HBRUSH brush = CreatePatternBrush(pat.bitmap);
        SelectObject(pat.dc, pat.bitmap);
        HGDIOBJ old = SelectObject(dst.dc, brush);
        EXPECT_TRUE(BitBlt(dst.dc, x0, y0, CW, CH, src.dc, SX, SY, RopOf(code))) << "code " << code;
        SelectObject(dst.dc, old);
        DeleteObject(brush);
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const bool inside = x >= x0 && x < x0 + CW && y >= y0 && y < y0 + CH;
                const std::uint32_t want =
                    inside ? Reference(static_cast<std::uint8_t>(code), pat.bits[(y % 8) * 8 + x % 8],
                                       src.bits[(y - y0 + SY) * W + x - x0 + SX], before[y * W + x])
                           : before[y * W + x];
                wrong += (dst.bits[y * W + x] & 0xFFFFFF) != want;
            }
        return wrong;
    };
    // At x 8 the rows of 41 pixels start at every offset from a 16-byte
    // boundary but the first.
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(wrongPixels(code, 8, 0), 0) << "code 0x" << std::hex << code;
    }
    TODO_WINE_EXPECT_EQ(0, wrongPixels(0xC0, 3, 1),
                        "Wine shifts the pattern of the codes it composes in steps by the "
                        "destination's and the source's positions: only rectangles on the 8x8 "
                        "grid come out right");
}

TEST(GdiBitBltTest, PatternBrushTilesFromTheOrigin) {
    // 2x2 colour pattern: red, green / blue, white.
    Canvas pat(2, 2);
    SetPixel(pat.dc, 0, 0, RGB(255, 0, 0));
    SetPixel(pat.dc, 1, 0, RGB(0, 255, 0));
    SetPixel(pat.dc, 0, 1, RGB(0, 0, 255));
    SetPixel(pat.dc, 1, 1, RGB(255, 255, 255));
    SelectObject(pat.dc, pat.old);
    HBRUSH brush = CreatePatternBrush(pat.bitmap);
    SelectObject(pat.dc, pat.bitmap);
    Canvas dst(6, 6, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dst.dc, brush);
    EXPECT_TRUE(PatBlt(dst.dc, 1, 1, 4, 4, PATCOPY));
    SelectObject(dst.dc, old);
    DeleteObject(brush);
    const COLORREF want[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(255, 255, 255)}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
            EXPECT_EQ(dst.At(x, y), inside ? want[y % 2][x % 2] : RGB(0, 0, 0)) << x << "," << y;
        }
}

TEST(GdiBitBltTest, MonoAndColourConvertThroughTheDcColours) {
    // Mono source 0 1 -> colour: 0 takes the destination's text colour, 1 its background.
    const BYTE rows[2] = {0x40, 0x00};  // pixel 1 set
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, rows);
    HDC monoDc = CreateCompatibleDC(NULL);
    HGDIOBJ oldMono = SelectObject(monoDc, mono);
    Canvas dst(2, 1);
    SetTextColor(dst.dc, RGB(10, 20, 30));
    SetBkColor(dst.dc, RGB(200, 100, 50));
    BitBlt(dst.dc, 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(dst.At(1, 0), RGB(200, 100, 50));

    // Colour -> mono: 1 exactly where the source equals the source DC's background.
    Canvas src(3, 1);
    SetPixel(src.dc, 0, 0, RGB(255, 0, 255));
    SetPixel(src.dc, 1, 0, RGB(255, 0, 254));
    SetPixel(src.dc, 2, 0, RGB(0, 0, 0));
    SetBkColor(src.dc, RGB(255, 0, 255));
    HBITMAP mono3 = CreateBitmap(3, 1, 1, 1, nullptr);
    SelectObject(monoDc, mono3);
    BitBlt(monoDc, 0, 0, 3, 1, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(monoDc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(monoDc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(monoDc, 2, 0), RGB(0, 0, 0));
    SelectObject(monoDc, oldMono);
    DeleteObject(mono);
    DeleteObject(mono3);
    DeleteDC(monoDc);
}

TEST(GdiBitBltTest, MonoBitmapRowsArePaddedTo16Bits) {
    // 10 pixels per row: two bytes per row, the second row starts at byte 2.
    const BYTE bits[] = {0xA0, 0x40, 0x01, 0x80};
    HBITMAP bm = CreateBitmap(10, 2, 1, 1, bits);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bm);
    const char* want[2] = {"1010000001", "0000000110"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), want[y][x] == '1' ? RGB(255, 255, 255) : RGB(0, 0, 0))
                << x << "," << y;
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bm, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidthBytes, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
}

TEST(GdiBitBltTest, FillRectAndHalftonePatBlt) {
    Canvas c(8, 6, RGB(0, 0, 0));
    const RECT rc{1, 1, 4, 3};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_NE(FillRect(c.dc, &rc, red), 0);
    DeleteObject(red);
    EXPECT_EQ(c.Count(RGB(255, 0, 0)), 6);  // right and bottom edges excluded
    EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(c.At(4, 1), RGB(0, 0, 0));
    const RECT all{0, 0, 8, 6};
    FillRect(c.dc, &all, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(c.At(7, 5), GetSysColor(COLOR_BTNFACE));

    // Alternating pixels of an 8x8 mono pattern: 0 bits in the text colour,
    // 1 bits in the background colour.
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(0x5555u << (i & 1));
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH halftone = CreatePatternBrush(pattern);
    DeleteObject(pattern);  // the brush keeps its own copy
    SetTextColor(c.dc, RGB(0, 0, 255));
    SetBkColor(c.dc, RGB(255, 255, 0));
    HGDIOBJ old = SelectObject(c.dc, halftone);
    PatBlt(c.dc, 0, 0, 8, 6, PATCOPY);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(c.At(x, y), ((x + y) % 2 == 1) ? RGB(255, 255, 0) : RGB(0, 0, 255)) << x << "," << y;
    PatBlt(c.dc, 0, 0, 8, 6, DSTINVERT);
    EXPECT_EQ(c.At(0, 0), RGB(255, 255, 0));
    SelectObject(c.dc, old);
    DeleteObject(halftone);
}

TEST(GdiBitBltTest, ClipsToBothSurfacesAndHandlesOverlap) {
    Canvas c(6, 1);
    for (int x = 0; x < 6; ++x) SetPixel(c.dc, x, 0, RGB(x, 0, 0));
    // Overlapping move right by two, within the same surface.
    BitBlt(c.dc, 2, 0, 6, 1, c.dc, 0, 0, SRCCOPY);
    const int want[6] = {0, 1, 0, 1, 2, 3};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(c.At(x, 0), RGB(want[x], 0, 0)) << x;
    // A source rectangle starting left of its surface loses the missing columns.
    Canvas d(4, 1, RGB(9, 9, 9));
    BitBlt(d.dc, 0, 0, 4, 1, c.dc, -2, 0, SRCCOPY);
    EXPECT_EQ(d.At(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(d.At(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(d.At(3, 0), RGB(1, 0, 0));
    EXPECT_EQ(GetPixel(d.dc, 4, 0), CLR_INVALID);
}
