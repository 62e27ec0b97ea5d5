// gdi32 DC state and mono surfaces; user32 multi-line DrawTextA.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/gdi_test_support.h"

using xwth_test::Canvas;

TEST(GdiDcTest, SaveAndRestoreBringBackObjectsAndColours) {
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SetTextColor(c.dc, RGB(1, 1, 1));
    const int level = SaveDC(c.dc);
    EXPECT_GT(level, 0);
    HGDIOBJ before = SelectObject(c.dc, red);
    SetTextColor(c.dc, RGB(2, 2, 2));
    SetBkMode(c.dc, TRANSPARENT);
    EXPECT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 1, 1));
    EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), before);
    EXPECT_FALSE(RestoreDC(c.dc, -1));  // nothing saved any more
    // The restored DC no longer holds the brush: deleting it ends it at once.
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetObjectType(red), 0u);
}

TEST(GdiDcTest, MonoSurfacesTakeTheNearerOfBlackAndWhite) {
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP mono = CreateBitmap(6, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    struct Case {
        COLORREF brush;
        COLORREF want;
    };
    const Case cases[] = {{RGB(255, 255, 255), RGB(255, 255, 255)}, {RGB(0, 0, 0), RGB(0, 0, 0)}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        HBRUSH b = CreateSolidBrush(cases[i].brush);
        const RECT rc{0, 0, 6, 1};
        FillRect(dc, &rc, b);
        DeleteObject(b);
        EXPECT_EQ(GetPixel(dc, 3, 0), cases[i].want) << "case " << i;
    }
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(240, 240, 240)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(10, 10, 10)), RGB(0, 0, 0));
    // DSTINVERT flips the bits.
    PatBlt(dc, 0, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(mono);
    DeleteDC(dc);
}

TEST(GdiDcTest, MultiLineTextStacksLinesAndBreaksWords) {
    Canvas c(200, 120);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Liberation Sans");
    HGDIOBJ old = SelectObject(c.dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc, &tm);
    struct Case {
        const char* text;
        UINT flags;
        int width;  // of the rectangle given
        int lines;
    };
    const Case cases[] = {
        {"one\ntwo\nthree", 0, 200, 3},
        {"one\r\ntwo", 0, 200, 2},
        {"one\ntwo", DT_SINGLELINE, 200, 1},
        {"alpha beta gamma delta", DT_WORDBREAK, 80, 0},  // 0: more than one line, each fitting
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        RECT rc{0, 0, cases[i].width, 0};
        const int h = DrawTextA(c.dc, cases[i].text, -1, &rc, cases[i].flags | DT_CALCRECT | DT_NOPREFIX);
        EXPECT_EQ(h, rc.bottom) << "case " << i;
        if (cases[i].lines > 0) {
            EXPECT_EQ(h, cases[i].lines * tm.tmHeight) << "case " << i;
        } else {
            EXPECT_GT(h, tm.tmHeight) << "case " << i;
            EXPECT_LE(rc.right, cases[i].width) << "case " << i;
        }
    }
    SelectObject(c.dc, old);
    DeleteObject(font);
}
