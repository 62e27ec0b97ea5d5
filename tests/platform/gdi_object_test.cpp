// gdi32 objects and DCs: selection and deletion rules, GetObjectA records, device caps.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/gdi_test_support.h"
#include "support/wine.h"

TEST(GdiObjectTest, ABitmapLivesInOneDcAtATime) {
    HDC a = CreateCompatibleDC(NULL);
    HDC b = CreateCompatibleDC(NULL);
    HBITMAP bm = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ oldA = SelectObject(a, bm);
    ASSERT_NE(oldA, nullptr);
    EXPECT_EQ(SelectObject(b, bm), nullptr);
    EXPECT_EQ(GetObjectType(oldA), static_cast<DWORD>(OBJ_BITMAP));
    // Once out of the first DC the second may take it.
    SelectObject(a, oldA);
    HGDIOBJ oldB = SelectObject(b, bm);
    EXPECT_NE(oldB, nullptr);
    SelectObject(b, oldB);
    EXPECT_TRUE(DeleteObject(bm));
    DeleteDC(a);
    DeleteDC(b);
}

TEST(GdiObjectTest, DeletingASelectedObjectWaitsForTheDc) {
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bm = CreateBitmap(2, 2, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    EXPECT_TRUE(DeleteObject(bm));
    EXPECT_TRUE(DeleteObject(brush));
    // Still drawable while the DC holds both.
    EXPECT_TRUE(PatBlt(dc, 0, 0, 2, 2, PATCOPY));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(1, 2, 3));
    SelectObject(dc, old);
    SelectObject(dc, oldBrush);
    // The deselected objects are gone now.
    BITMAP info;
    EXPECT_EQ(GetObjectA(bm, sizeof(info), &info), 0);
    EXPECT_EQ(GetObjectType(brush), 0u);
    // Stock objects survive DeleteObject.
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    LOGBRUSH lb{};
    EXPECT_EQ(GetObjectA(white, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    DeleteDC(dc);
}

TEST(GdiObjectTest, ObjectRecords) {
    struct Case {
        int width, bpp;
        LONG widthBytes;
    };
    const Case cases[] = {{1, 1, 2}, {16, 1, 2}, {17, 1, 4}, {3, 32, 12}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        HBITMAP bm = CreateBitmap(cases[i].width, 3, 1, cases[i].bpp, nullptr);
        BITMAP info{};
        EXPECT_EQ(GetObjectA(bm, sizeof(info), &info), static_cast<int>(sizeof(info))) << "case " << i;
        EXPECT_EQ(info.bmWidth, cases[i].width) << "case " << i;
        EXPECT_EQ(info.bmHeight, 3) << "case " << i;
        EXPECT_EQ(info.bmWidthBytes, cases[i].widthBytes) << "case " << i;
        EXPECT_EQ(info.bmBitsPixel, cases[i].bpp) << "case " << i;
        DeleteObject(bm);
    }
    // A DIB section reports its bits and, given room, its header.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 5, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    ASSERT_NE(dib, nullptr);
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectA(dib, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
    EXPECT_EQ(ds.dsBmih.biHeight, 4);
    // Bottom-up: the first row in memory is the bottom one.
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, dib);
    SetPixel(dc, 0, 3, RGB(1, 2, 3));
    EXPECT_EQ(static_cast<BYTE*>(bits)[0], 3);
    EXPECT_EQ(static_cast<BYTE*>(bits)[2], 1);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);

    LOGFONTA lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lstrcpynA(lf.lfFaceName, "Liberation Sans", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    LOGFONTA back{};
    EXPECT_EQ(GetObjectA(font, sizeof(back), &back), static_cast<int>(sizeof(back)));
    EXPECT_EQ(back.lfHeight, -13);
    EXPECT_STREQ(back.lfFaceName, "Liberation Sans");
    DeleteObject(font);
}

TEST(GdiObjectTest, ScreenAndDeviceCaps) {
    HDC screen = GetDC(NULL);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), GetSystemMetrics(SM_CYSCREEN));
    // A compatible bitmap of the screen is 32-bit; of a DC holding a mono
    // bitmap, mono.
    HBITMAP colour = CreateCompatibleBitmap(screen, 3, 3);
    BITMAP info{};
    GetObjectA(colour, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP mono = CreateCompatibleBitmap(mem, 3, 3);
    GetObjectA(mono, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(SetMapMode(mem, MM_TEXT), MM_TEXT);
    POINT pt{5, 7};
    EXPECT_TRUE(DPtoLP(mem, &pt, 1));
    EXPECT_EQ(pt.x, 5);
    EXPECT_EQ(pt.y, 7);
    DeleteObject(colour);
    DeleteObject(mono);
    DeleteDC(mem);
    EXPECT_EQ(ReleaseDC(NULL, screen), 1);
}

TEST(GdiObjectTest, BadHandlesFailWithoutHarm) {
    HDC dc = CreateCompatibleDC(NULL);
    DeleteDC(dc);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, BLACKNESS));
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_FALSE(DeleteObject(nullptr));
    HDC live = CreateCompatibleDC(NULL);
    HDC garbage = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x7ff01234));
    EXPECT_FALSE(BitBlt(live, 0, 0, 1, 1, garbage, 0, 0, SRCCOPY));
    EXPECT_EQ(CreateBitmap(0x7fffffff, 0x7fffffff, 1, 1, nullptr), nullptr);
    // A negative size is taken by its magnitude.
    HBITMAP flipped = CreateBitmap(-3, -2, 1, 1, nullptr);
    BITMAP info{};
    EXPECT_EQ(GetObjectA(flipped, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    DeleteObject(flipped);
    DeleteDC(live);
}
