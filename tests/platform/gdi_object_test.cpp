// gdi32 objects and DCs: selection and deletion rules, GetObjectA records, device caps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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
    // A depth rounds up to one a device bitmap has; rows pad to 16 bits.
    struct Case {
        int width;
        UINT bpp, planes;
        int keptBpp;  // 0: refused
        LONG widthBytes;
    };
    const Case cases[] = {{1, 1, 1, 1, 2},   {16, 1, 1, 1, 2},   {17, 1, 1, 1, 4},  {3, 32, 1, 32, 12},
                          {5, 4, 1, 4, 4},   {5, 2, 1, 4, 4},    {5, 8, 1, 8, 6},   {5, 5, 1, 8, 6},
                          {5, 16, 1, 16, 10}, {5, 12, 1, 16, 10}, {3, 24, 1, 24, 10}, {5, 17, 1, 24, 16},
                          {5, 25, 1, 32, 20}, {5, 33, 1, 0, 0},   {5, 4, 2, 0, 0},   {5, 8, 0, 0, 0}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(0);
        HBITMAP bm = CreateBitmap(cases[i].width, 3, cases[i].planes, cases[i].bpp, nullptr);
        if (cases[i].keptBpp == 0) {
            EXPECT_EQ(bm, nullptr) << "case " << i;
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "case " << i;
            continue;
        }
        BITMAP info{};
        EXPECT_EQ(GetObjectA(bm, sizeof(info), &info), static_cast<int>(sizeof(info))) << "case " << i;
        EXPECT_EQ(info.bmWidth, cases[i].width) << "case " << i;
        EXPECT_EQ(info.bmHeight, 3) << "case " << i;
        EXPECT_EQ(info.bmWidthBytes, cases[i].widthBytes) << "case " << i;
        EXPECT_EQ(info.bmBitsPixel, cases[i].keptBpp) << "case " << i;
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

// Bitmaps of 4, 8, 16 and 24 bits keep their bits as given (rows padded to
// 16 bits), read back through the default colour tables and 5-5-5 words,
// take colours by the nearest entry (the top five bits of each channel), and
// are not selected into a memory DC, whose bitmaps are mono or the screen's.
TEST(GdiObjectTest, DeviceBitmapsOfOtherDepths) {
    struct Case {
        UINT bpp;
        std::vector<BYTE> bits;               // 3x2 pixels
        std::uint32_t want[6];                // as 0x00RRGGBB
        std::vector<BYTE> stored;             // kSetRow put into an 8x1 bitmap
    };
    const std::uint32_t kSetRow[8] = {0xFF0000, 0xF00808, 0x777777, 0xC0C0C0,
                                      0xA0C0C0, 0x123456, 0xC8C8C8, 0xFFFBF0};
    const Case cases[] = {
        {4, {0x9C, 0x70, 0xF1, 0x20},
         {0xFF0000, 0x0000FF, 0x808080, 0xFFFFFF, 0x800000, 0x008000},
         {0x99, 0x78, 0x84, 0x8F}},
        {8, {0x00, 0xF5, 0x0A, 0x00, 0xFF, 0x07, 0x51, 0x00},
         {0x000000, 0xA0C0C0, 0x402000, 0xFFFFFF, 0xC0C0C0, 0x204040},
         {0xF9, 0xF9, 0xA4, 0x07, 0xF5, 0x51, 0x07, 0xF6}},
        {16, {0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04, 0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x00},
         {0xFF0000, 0x00FF00, 0x080808, 0x0000FF, 0xFFFFFF, 0x000000},
         {0x00, 0x7C, 0x21, 0x78, 0xCE, 0x39, 0x18, 0x63, 0x18, 0x53, 0xCA, 0x08, 0x39, 0x67, 0xFE, 0x7F}},
        {24, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0x00,
              0xAA, 0xBB, 0xCC, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x00},
         {0x332211, 0x665544, 0x998877, 0xCCBBAA, 0x030201, 0x060504},
         {0x00, 0x00, 0xFF, 0x08, 0x08, 0xF0, 0x77, 0x77, 0x77, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xA0, 0x56,
          0x34, 0x12, 0xC8, 0xC8, 0xC8, 0xF0, 0xFB, 0xFF}},
    };
    HDC dc = CreateCompatibleDC(NULL);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        HBITMAP bm = CreateBitmap(3, 2, 1, c.bpp, c.bits.data());
        ASSERT_NE(bm, nullptr) << "case " << i;
        EXPECT_EQ(GetBitmapBits(bm, 0, nullptr), static_cast<LONG>(c.bits.size())) << "case " << i;
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::uint32_t got[6] = {};
        EXPECT_EQ(GetDIBits(dc, bm, 0, 2, got, &bi, DIB_RGB_COLORS), 2) << "case " << i;
        for (int k = 0; k < 6; ++k) EXPECT_EQ(got[k] & 0xFFFFFF, c.want[k]) << "case " << i << " pixel " << k;
        EXPECT_EQ(SelectObject(dc, bm), nullptr) << "case " << i;
        DeleteObject(bm);

        HBITMAP row = CreateBitmap(8, 1, 1, c.bpp, nullptr);
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        EXPECT_EQ(SetDIBits(dc, row, 0, 1, kSetRow, &bi, DIB_RGB_COLORS), 1) << "case " << i;
        std::vector<BYTE> stored(c.stored.size());
        EXPECT_EQ(GetBitmapBits(row, static_cast<LONG>(stored.size()), stored.data()),
                  static_cast<LONG>(stored.size())) << "case " << i;
        EXPECT_EQ(stored, c.stored) << "case " << i;
        DeleteObject(row);
    }
    DeleteDC(dc);
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
