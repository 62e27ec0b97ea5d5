// user32 drawing: DrawEdge pixels, DrawStateA embossing, system colours, metrics, parameters.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "platform/gdi_test_support.h"
#include "support/wine.h"

using xwth_test::Canvas;

TEST(GdiUserTest, DrawEdgeRings) {
    const COLORREF bg = RGB(1, 2, 3);
    struct Case {
        UINT edge;
        int outerTL, outerBR, innerTL, innerBR;  // system colour indices, -1 none
    };
    const Case cases[] = {
        {BDR_RAISEDINNER, -1, -1, COLOR_3DHILIGHT, COLOR_3DSHADOW},
        {BDR_SUNKENOUTER, COLOR_3DSHADOW, COLOR_3DHILIGHT, -1, -1},
        {EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW},
        {EDGE_SUNKEN, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        Canvas c(10, 8, bg);
        RECT rc{1, 1, 9, 7};
        EXPECT_TRUE(DrawEdge(c.dc, &rc, k.edge, BF_RECT | BF_ADJUST)) << "case " << i;
        const int rings = (k.outerTL >= 0) + (k.innerTL >= 0);
        EXPECT_EQ(rc.left, 1 + rings) << "case " << i;
        EXPECT_EQ(rc.bottom, 7 - rings) << "case " << i;
        int ring = 0;
        for (int pass = 0; pass < 2; ++pass) {
            const int tl = pass == 0 ? k.outerTL : k.innerTL, br = pass == 0 ? k.outerBR : k.innerBR;
            if (tl < 0) continue;
            const int l = 1 + ring, t = 1 + ring, r = 9 - ring, b = 7 - ring;
            EXPECT_EQ(c.At(l, t), GetSysColor(tl)) << "case " << i << " ring " << ring;
            EXPECT_EQ(c.At(l + 2, t), GetSysColor(tl)) << "case " << i << " ring " << ring;
            EXPECT_EQ(c.At(l, b - 2), GetSysColor(tl)) << "case " << i << " ring " << ring;
            EXPECT_EQ(c.At(r - 1, b - 1), GetSysColor(br)) << "case " << i << " ring " << ring;
            EXPECT_EQ(c.At(r - 1, t), GetSysColor(br)) << "case " << i << " ring " << ring;
            EXPECT_EQ(c.At(l, b - 1), GetSysColor(br)) << "case " << i << " ring " << ring;
            ++ring;
        }
        EXPECT_EQ(c.At(0, 0), bg) << "case " << i;
        EXPECT_EQ(c.At(5, 4), bg) << "case " << i;
    }
}

TEST(GdiUserTest, DisabledBitmapIsTwoTone) {
    // A picture of several colours on white.
    Canvas pic(12, 12);
    const RECT a{2, 2, 6, 10}, b{6, 4, 10, 8};
    HBRUSH red = CreateSolidBrush(RGB(200, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 90));
    FillRect(pic.dc, &a, red);
    FillRect(pic.dc, &b, blue);
    DeleteObject(red);
    DeleteObject(blue);
    SelectObject(pic.dc, pic.old);

    const COLORREF face = GetSysColor(COLOR_3DFACE);
    Canvas c(20, 20, face);
    EXPECT_TRUE(DrawStateA(c.dc, NULL, NULL, reinterpret_cast<LPARAM>(pic.bitmap), 0, 4, 4, 12, 12,
                           DST_BITMAP | DSS_DISABLED));
    std::set<COLORREF> seen;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) seen.insert(c.At(x, y));
    EXPECT_EQ(seen, (std::set<COLORREF>{face, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW)}));
    // The shadow lies on the picture's ink, the highlight one pixel down-right.
    EXPECT_EQ(c.At(4 + 2, 4 + 2), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(c.At(4 + 10, 4 + 8), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(c.At(4 + 0, 4 + 0), face);
    SelectObject(pic.dc, pic.bitmap);
}

TEST(GdiUserTest, ColoursMetricsAndParameters) {
    EXPECT_EQ(GetSystemMetrics(SM_CYFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectA(face, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_3DFACE));

    struct Case {
        UINT size;
        BOOL ok;
    };
    const Case cases[] = {{sizeof(NONCLIENTMETRICSA), TRUE},
                          {offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth), TRUE},
                          {100, FALSE}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        NONCLIENTMETRICSA m{};
        m.cbSize = cases[i].size;
        EXPECT_EQ(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0), cases[i].ok) << "case " << i;
        if (cases[i].ok) {
            EXPECT_EQ(m.lfMenuFont.lfHeight, -11) << "case " << i;  // 8 points at 96 dpi
            EXPECT_NE(m.lfMenuFont.lfFaceName[0], '\0') << "case " << i;
        }
    }
    EXPECT_EQ(sizeof(NONCLIENTMETRICSA), 344u);
}
