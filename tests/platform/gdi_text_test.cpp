// gdi32 fonts and text, user32 DrawTextA: the properties that hold for any
// good rendering of the faces the set-up installs, not exact glyph bits.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gdi_test_support.h"

using xwth_test::Canvas;

namespace {

HFONT MakeFont(int height, const char* face, int escapement = 0, int weight = FW_NORMAL) {
    return CreateFontA(height, 0, escapement, escapement, weight, 0, 0, 0, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0, face);
}

// Selects a font into a canvas for the scope.
struct WithFont {
    WithFont(Canvas& c, HFONT f) : dc(c.dc), font(f), old(SelectObject(c.dc, f)) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
    }
    ~WithFont() {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    HDC dc;
    HFONT font;
    HGDIOBJ old;
};

}  // namespace

TEST(GdiTextTest, HeightsFollowTheSignOfLfHeight) {
    const char* faces[] = {"Liberation Sans", "DejaVu Sans", "Liberation Serif", "Arial"};
    const int heights[] = {-11, -16, 13, 24};
    Canvas c(4, 4);
    for (const char* face : faces) {
        for (int h : heights) {
            WithFont wf(c, MakeFont(h, face));
            TEXTMETRICA tm{};
            ASSERT_TRUE(GetTextMetricsA(c.dc, &tm)) << face << " " << h;
            // Ascent and descent are rounded apart, so the sum may be a pixel off.
            if (h < 0) {
                EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, -h, 1) << face << " " << h;
            } else {
                EXPECT_NEAR(tm.tmHeight, h, 1) << face << " " << h;
            }
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << face << " " << h;
            EXPECT_GT(tm.tmAveCharWidth, 0) << face << " " << h;
            EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth) << face << " " << h;
            EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET) << face << " " << h;
        }
    }
}

TEST(GdiTextTest, ExtentsAddUpAndCharacterExtraWidens) {
    Canvas c(4, 4);
    WithFont wf(c, MakeFont(-12, "Liberation Sans"));
    SIZE ab{}, a{}, b{};
    GetTextExtentPoint32A(c.dc, "AB", 2, &ab);
    GetTextExtentPoint32A(c.dc, "A", 1, &a);
    GetTextExtentPoint32A(c.dc, "B", 1, &b);
    EXPECT_GT(a.cx, 0);
    EXPECT_EQ(ab.cx, a.cx + b.cx);
    EXPECT_EQ(SetTextCharacterExtra(c.dc, 3), 0);
    SIZE wide{};
    GetTextExtentPoint32A(c.dc, "AB", 2, &wide);
    EXPECT_EQ(wide.cx, ab.cx + 6);
    EXPECT_EQ(wide.cy, ab.cy);
}

TEST(GdiTextTest, CalcRectBoundsTheInkDrawn) {
    struct Case {
        int height;
        const char* face;
        const char* text;
    };
    const Case cases[] = {{-11, "Liberation Sans", "File Open..."},
                          {-16, "DejaVu Sans", "Hxg|"},
                          {-12, "Liberation Serif", "Wide WWW"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Canvas c(200, 60);
        WithFont wf(c, MakeFont(cases[i].height, cases[i].face));
        RECT calc{10, 10, 10, 10};
        const int h = DrawTextA(c.dc, cases[i].text, -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(h, calc.bottom - calc.top) << "case " << i;
        EXPECT_EQ(c.InkBox(RGB(255, 255, 255)).right, 0) << "case " << i << ": DT_CALCRECT drew";
        RECT draw = calc;
        DrawTextA(c.dc, cases[i].text, -1, &draw, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        const RECT ink = c.InkBox(RGB(255, 255, 255));
        EXPECT_GE(ink.left, calc.left - 1) << "case " << i;
        EXPECT_LE(ink.right, calc.right + 1) << "case " << i;
        EXPECT_GE(ink.top, calc.top) << "case " << i;
        EXPECT_LE(ink.bottom, calc.bottom) << "case " << i;
        // The ink fills most of the measured width.
        EXPECT_GT(ink.right - ink.left, (calc.right - calc.left) * 3 / 4) << "case " << i;
    }
}

TEST(GdiTextTest, PrefixesTabsAndAlignment) {
    Canvas c(300, 40);
    WithFont wf(c, MakeFont(-12, "Liberation Sans"));
    auto width = [&](const char* s, UINT flags) {
        RECT r{0, 0, 0, 0};
        DrawTextA(c.dc, s, -1, &r, flags | DT_CALCRECT | DT_SINGLELINE);
        return r.right;
    };
    EXPECT_EQ(width("A&&B", 0), width("A&B", DT_NOPREFIX));
    EXPECT_EQ(width("&File", 0), width("File", 0));
    EXPECT_GT(width("A&&B", DT_NOPREFIX), width("A&B", DT_NOPREFIX));
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc, &tm);
    EXPECT_EQ(width("a\tb", DT_EXPANDTABS), 8 * tm.tmAveCharWidth + width("b", 0));

    // "&F" differs from "F" by the underline under F only: ink one row lower.
    RECT r{0, 0, 100, 40};
    DrawTextA(c.dc, "F", -1, &r, DT_SINGLELINE);
    const RECT plain = c.InkBox(RGB(255, 255, 255));
    c.Fill(RGB(255, 255, 255));
    DrawTextA(c.dc, "&F", -1, &r, DT_SINGLELINE);
    const RECT underlined = c.InkBox(RGB(255, 255, 255));
    EXPECT_GT(underlined.bottom, plain.bottom);
    EXPECT_EQ(underlined.top, plain.top);

    // Right and centred text end at the right edge and sit in the middle.
    c.Fill(RGB(255, 255, 255));
    RECT box{0, 0, 300, 40};
    DrawTextA(c.dc, "Mm", -1, &box, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    const RECT right = c.InkBox(RGB(255, 255, 255));
    EXPECT_GE(right.right, 296);
    EXPECT_NEAR((right.top + right.bottom) / 2, 20, 4);
    c.Fill(RGB(255, 255, 255));
    DrawTextA(c.dc, "Mm", -1, &box, DT_SINGLELINE | DT_CENTER);
    const RECT centre = c.InkBox(RGB(255, 255, 255));
    EXPECT_NEAR((centre.left + centre.right) / 2, 150, 3);
}

TEST(GdiTextTest, EscapementNineHundredRunsUpwards) {
    Canvas c(60, 200);
    WithFont wf(c, MakeFont(-16, "Liberation Sans", 900, FW_BOLD));
    TextOutA(c.dc, 10, 180, "Ribbon", 6);
    const RECT ink = c.InkBox(RGB(255, 255, 255));
    ASSERT_GT(ink.bottom, 0);
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
    EXPECT_LE(ink.bottom, 181);  // starts at the reference point and goes up
    EXPECT_GE(ink.left, 10);     // the glyph tops face left, the cell lies right of x
    EXPECT_LT(ink.right, 10 + 20);
    // The first letter is at the bottom: "R" there, nothing beyond 6 letters up.
    SIZE ext{};
    GetTextExtentPoint32A(c.dc, "Ribbon", 6, &ext);
    EXPECT_GE(ink.top, 180 - ext.cx - 1);
}

TEST(GdiTextTest, ExtTextOutPaintsTheRectangleAndClipsToIt) {
    const RECT box{10, 5, 50, 25};
    const struct {
        UINT options;
        bool filled;   // the box is in the background colour away from the text
        bool clipped;  // no ink outside the box
    } cases[] = {{0, false, false}, {ETO_OPAQUE, true, false}, {ETO_CLIPPED, false, true},
                 {ETO_OPAQUE | ETO_CLIPPED, true, true}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Canvas c(100, 40);
        WithFont wf(c, MakeFont(-20, "Liberation Sans"));
        SetBkColor(c.dc, RGB(0, 0, 255));
        ASSERT_TRUE(ExtTextOutA(c.dc, 30, 8, cases[i].options, &box, "WWWW", 4, nullptr)) << "case " << i;
        EXPECT_EQ(c.At(11, 6) == RGB(0, 0, 255), cases[i].filled) << "case " << i;
        EXPECT_EQ(c.At(49, 24) == RGB(0, 0, 255), cases[i].filled) << "case " << i;
        EXPECT_EQ(c.At(50, 25), RGB(255, 255, 255)) << "case " << i;
        const RECT ink = c.InkBox(RGB(255, 255, 255));
        EXPECT_EQ(ink.right <= box.right, cases[i].clipped) << "case " << i;
    }
    // Advances: each character where lpDx puts it.
    Canvas c(200, 40);
    WithFont wf(c, MakeFont(-20, "Liberation Sans"));
    const INT dx[] = {60, 60, 60};
    ASSERT_TRUE(ExtTextOutA(c.dc, 5, 5, 0, nullptr, "III", 3, dx));
    EXPECT_GE(c.InkBox(RGB(255, 255, 255)).right, 5 + 120) << "the third I stands 120 pixels on";
}

// A non-zero lfWidth is the average character width (its sign ignored): the
// glyphs and their advances stretch with it, the height stays.
TEST(GdiTextTest, LfWidthSetsTheAverageCharacterWidth) {
    const char kText[] = "HHHH xxxx";
    constexpr int kLen = sizeof(kText) - 1;
    struct Row {
        int width;
        LONG extent, inkWidth;  // filled in
    };
    Row rows[] = {{0, 0, 0}, {6, 0, 0}, {12, 0, 0}, {24, 0, 0}, {-12, 0, 0}};
    TEXTMETRICA natural{};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Canvas c(700, 40);
        WithFont wf(c, CreateFontA(-16, rows[i].width, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0, "Liberation Sans"));
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(c.dc, &tm)) << "row " << i;
        if (i == 0) natural = tm;
        EXPECT_EQ(tm.tmHeight, natural.tmHeight) << "row " << i;
        if (rows[i].width != 0) {
            EXPECT_EQ(tm.tmAveCharWidth, std::abs(rows[i].width)) << "row " << i;
        }
        SIZE sz{};
        ASSERT_TRUE(GetTextExtentPoint32A(c.dc, kText, kLen, &sz)) << "row " << i;
        EXPECT_EQ(sz.cy, natural.tmHeight) << "row " << i;
        rows[i].extent = sz.cx;
        TextOutA(c.dc, 2, 2, kText, kLen);
        const RECT ink = c.InkBox(RGB(255, 255, 255));
        rows[i].inkWidth = ink.right - ink.left;
        EXPECT_NEAR(ink.bottom - ink.top, 12, 2) << "row " << i;  // the cap height of a 16-pixel em
    }
    // Twice the width, twice the extent and ink; a negative width is its magnitude.
    EXPECT_NEAR(rows[3].extent, 2.0 * rows[2].extent, 0.06 * rows[2].extent);
    EXPECT_NEAR(rows[3].inkWidth, 2.0 * rows[2].inkWidth, 0.06 * rows[2].inkWidth);
    EXPECT_NEAR(rows[2].extent, 2.0 * rows[1].extent, 0.1 * rows[1].extent);
    EXPECT_EQ(rows[4].extent, rows[2].extent);
    EXPECT_EQ(rows[4].inkWidth, rows[2].inkWidth);
    // The natural average (about 9 pixels here) lies between 6 and 12.
    EXPECT_LT(rows[1].extent, rows[0].extent);
    EXPECT_GT(rows[2].extent, rows[0].extent);
}
