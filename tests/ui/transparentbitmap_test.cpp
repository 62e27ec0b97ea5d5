// DrawTransparentBitmapByMask and DrawTransparentBitmap over a patterned
// background, pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <xwth/bitmaps.h>

#include "platform/gdi_test_support.h"

namespace {

using xwth_test::Canvas;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// M is the key; m one step from it (drawn).
COLORREF ColourOf(char c) {
    return c == 'M' ? kMagenta : c == 'm' ? RGB(254, 0, 255) : c == 'R' ? RGB(200, 0, 0) : RGB(0, 0, 220);
}

// The background: a checkerboard of two colours that no picture uses.
COLORREF Pattern(int x, int y) {
    return ((x + y) & 1) != 0 ? RGB(10, 20, 30) : RGB(90, 120, 150);
}

// rows of colour letters as a 24-bit DIB section, or of '1'/'0' as a
// one-bit bitmap.
HBITMAP MakeBitmap(const std::vector<std::string>& rows, bool oneBit) {
    const int w = static_cast<int>(rows[0].size());
    const int h = static_cast<int>(rows.size());
    if (oneBit) {
        const int stride = (w + 15) / 16 * 2;
        std::vector<BYTE> bits(static_cast<size_t>(stride * h), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rows[y][x] == '1') bits[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        return CreateBitmap(w, h, 1, 1, bits.data());
    }
    BITMAPINFO bi = xwth_test::TopDownDib(w, h, 24);
    void* p = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &p, NULL, 0);
    const int stride = (w * 3 + 3) / 4 * 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* px = static_cast<BYTE*>(p) + y * stride + x * 3;
            const COLORREF c = ColourOf(rows[y][x]);
            px[0] = GetBValue(c);
            px[1] = GetGValue(c);
            px[2] = GetRValue(c);
        }
    return bitmap;
}

TEST(TransparentBitmapTest, KeyColourShowsTheBackground) {
    const struct {
        const char* what;
        std::vector<std::string> rows;
        bool oneBit;
        COLORREF key;
        int x, y;
        bool sixteenBit;  // through DrawTransparentBitmap
    } cases[] = {
        {"magenta background", {"MMMMM", "MRBBM", "MmRmM", "MMMMM"}, false, kMagenta, 3, 2, false},
        {"no key pixel", {"RmB", "BRm"}, false, kMagenta, 1, 1, false},
        {"every pixel the key", {"MMM", "MMM"}, false, kMagenta, 2, 3, false},
        {"one-bit, white key", {"10110", "01001", "11100"}, true, kWhite, 4, 1, false},
        {"one-bit, black key", {"10110", "01001", "11100"}, true, RGB(0, 0, 0), 4, 1, false},
        {"one-bit, magenta key", {"10110", "01001", "11100"}, true, kMagenta, 0, 0, false},
        {"16-bit origin left and above", {"MRBBM", "RMMMR", "MBBBM"}, false, kMagenta, -2, -1, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string where = "case " + std::to_string(i) + " (" + c.what + ")";
        Canvas canvas(12, 9);
        for (int y = 0; y < canvas.h; ++y)
            for (int x = 0; x < canvas.w; ++x) canvas.bits[y * canvas.w + x] = Canvas::ToRaw(Pattern(x, y));
        HBITMAP bitmap = MakeBitmap(c.rows, c.oneBit);
        ASSERT_NE(bitmap, nullptr) << where;
        SetTextColor(canvas.dc, RGB(1, 2, 3));
        SetBkColor(canvas.dc, RGB(4, 5, 6));
        if (c.sixteenBit) {
            DrawTransparentBitmap(canvas.dc, bitmap, static_cast<short>(c.x), static_cast<short>(c.y), c.key);
        } else {
            DrawTransparentBitmapByMask(canvas.dc, bitmap, c.x, c.y, c.key);
        }
        GdiFlush();
        EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3)) << where;
        EXPECT_EQ(GetBkColor(canvas.dc), RGB(4, 5, 6)) << where;

        int wrong = 0;
        for (int y = 0; y < canvas.h; ++y)
            for (int x = 0; x < canvas.w; ++x) {
                COLORREF want = Pattern(x, y);
                const int bx = x - c.x;
                const int by = y - c.y;
                if (by >= 0 && by < static_cast<int>(c.rows.size()) && bx >= 0 &&
                    bx < static_cast<int>(c.rows[0].size())) {
                    const char p = c.rows[by][bx];
                    if (c.oneBit) {
                        if (p == '1') want = kWhite;
                    } else if (ColourOf(p) != c.key) {
                        want = ColourOf(p);
                    }
                }
                if (canvas.At(x, y) != want && wrong++ < 3) {
                    ADD_FAILURE() << where << " at " << x << "," << y << ": got 0x" << std::hex << canvas.At(x, y)
                                  << ", want 0x" << want << std::dec;
                }
            }
        EXPECT_EQ(wrong, 0) << where;
        EXPECT_TRUE(DeleteObject(bitmap)) << where << ": the bitmap was left selected";
    }
}

}  // namespace
