// Bitmaps and icons from resource modules: LoadBitmapA, LoadImageA, LoadIconA,
// the icon calls, and image lists loaded from a module. The fixture pictures
// are described in tests/resources/fixtures/make_images.py.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "platform/gdi_test_support.h"
#include "platform/kernel_test_support.h"
#include "support/resfixtures.h"

using xwth_test::Canvas;
using xwth_test::Returns;

namespace {

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

const COLORREF kVga[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                           RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                           RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                           RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

// The fixture pictures, 8 x 4 pixels each.
COLORREF Bits1(int x, int y) { return (x + y) % 2 == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0); }
COLORREF Bits4(int x, int y) { return kVga[(x + 8 * y) % 16]; }
COLORREF Bits8(int x, int y) {
    const int i = 32 * y + x;
    return RGB(i, 255 - i, (7 * i) % 256);
}
COLORREF Bits24(int x, int y) { return RGB(32 * x, 64 * y, 200); }

// The first pixel that differs from want, as "(x,y) got/want", or "" when all agree.
std::string Mismatch(HBITMAP bm, int width, int height, const std::function<COLORREF(int, int)>& want) {
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bm);
    std::ostringstream out;
    for (int y = 0; y < height && out.str().empty(); ++y)
        for (int x = 0; x < width && out.str().empty(); ++x)
            if (GetPixel(dc, x, y) != want(x, y))
                out << "(" << x << "," << y << ") " << std::hex << GetPixel(dc, x, y) << "/" << want(x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return out.str();
}

std::string Str(const RECT& r) {
    std::ostringstream out;
    out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return out.str();
}

int ScreenDepth() {
    HDC screen = GetDC(NULL);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    return bits;
}

class LoadImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hA = LoadLibraryA(xwth_test::FixtureModule("resmod_a.dll").c_str());
        m_hB = LoadLibraryA(xwth_test::FixtureModule("resmod_b.dll").c_str());
        ASSERT_NE(m_hA, nullptr);
        ASSERT_NE(m_hB, nullptr);
    }
    void TearDown() override {
        FreeLibrary(m_hA);
        FreeLibrary(m_hB);
    }
    HMODULE m_hA = NULL;
    HMODULE m_hB = NULL;
};

}  // namespace

TEST_F(LoadImageTest, BitmapsOfEveryDepthKeepTheirColours) {
    const int screen = ScreenDepth();
    const struct {
        LPCSTR name;
        UINT flags;
        int bits;  // 0: not checked (winport widens palette DIB sections to 24 bits)
        std::function<COLORREF(int, int)> want;
    } cases[] = {
        {"BITS1", 0, 1, Bits1},  // black and white: a monochrome bitmap
        {"BITS4", 0, screen, Bits4},
        {"BITS8", 0, screen, Bits8},
        {MAKEINTRESOURCEA(7), 0, screen, Bits8},
        {"BITS24", 0, screen, Bits24},
        {"BITS1", LR_CREATEDIBSECTION, 0, Bits1},
        {"BITS4", LR_CREATEDIBSECTION, 0, Bits4},
        {"BITS8", LR_CREATEDIBSECTION, 0, Bits8},
        {"BITS24", LR_CREATEDIBSECTION, 24, Bits24},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        HBITMAP bm = static_cast<HBITMAP>(LoadImageA(m_hA, c.name, IMAGE_BITMAP, 0, 0, c.flags));
        ASSERT_NE(bm, nullptr) << "case " << i;
        DIBSECTION ds{};
        const int got = GetObjectA(bm, sizeof(ds), &ds);
        EXPECT_EQ(got, static_cast<int>((c.flags & LR_CREATEDIBSECTION) ? sizeof(DIBSECTION) : sizeof(BITMAP)))
            << "case " << i;
        EXPECT_EQ(ds.dsBm.bmWidth, 8) << "case " << i;
        EXPECT_EQ(ds.dsBm.bmHeight, 4) << "case " << i;
        if (c.bits != 0) {
            EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bits) << "case " << i;
        }
        EXPECT_EQ((c.flags & LR_CREATEDIBSECTION) != 0, ds.dsBm.bmBits != nullptr) << "case " << i;
        EXPECT_EQ(Mismatch(bm, 8, 4, c.want), "") << "case " << i;
        EXPECT_TRUE(DeleteObject(bm)) << "case " << i;
    }
    HBITMAP plain = LoadBitmapA(m_hA, "BITS24");
    EXPECT_EQ(Mismatch(plain, 8, 4, Bits24), "");
    DeleteObject(plain);
}

TEST_F(LoadImageTest, TransparentLoadsAndStretchedSizes) {
    // LR_LOADTRANSPARENT: the table entry of the first pixel in memory (the
    // bottom-left one, index 8 in BITS4) becomes the window colour, and every
    // pixel using it with it; a DIB without a table keeps its colours.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    HBITMAP bm = static_cast<HBITMAP>(LoadImageA(m_hA, "BITS4", IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
    EXPECT_EQ(Mismatch(bm, 8, 4, [&](int x, int y) { return (x + 8 * y) % 16 == 8 ? window : Bits4(x, y); }), "");
    DeleteObject(bm);
    bm = static_cast<HBITMAP>(LoadImageA(m_hA, "BITS24", IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
    EXPECT_EQ(Mismatch(bm, 8, 4, Bits24), "");
    DeleteObject(bm);

    // A size given stretches the picture: twice as large, each pixel doubled.
    bm = static_cast<HBITMAP>(LoadImageA(m_hA, "BITS24", IMAGE_BITMAP, 16, 8, 0));
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bm, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 8);
    // Windows may smooth the stretch: each pixel of the picture lands on its
    // doubled place within a step of its neighbours' difference.
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bm);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const COLORREF got = GetPixel(dc, 2 * x, 2 * y), want = Bits24(x, y);
            EXPECT_LE(std::abs(GetRValue(got) - GetRValue(want)), 16) << x << "," << y;
            EXPECT_LE(std::abs(GetGValue(got) - GetGValue(want)), 32) << x << "," << y;
            EXPECT_EQ(GetBValue(got), 200) << x << "," << y;
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);
}

TEST_F(LoadImageTest, MissingImagesFailWithTheResourceError) {
    // An icon the group type lacks may also answer 1813: after the group, the
    // loader may look for an animated icon of that name (Wine does) and keep
    // that search's error.
    const struct {
        HMODULE module;
        LPCSTR name;
        UINT type;
        DWORD error;
        DWORD orError;
    } cases[] = {
        {m_hA, "NOPE", IMAGE_BITMAP, ERROR_RESOURCE_NAME_NOT_FOUND, 0},
        {m_hB, "BITS8", IMAGE_BITMAP, ERROR_RESOURCE_NAME_NOT_FOUND, 0},
        {m_hA, "MYDATA", IMAGE_BITMAP, ERROR_RESOURCE_NAME_NOT_FOUND, 0},  // raw data of that name, no bitmap
        {m_hA, "BITS8", IMAGE_ICON, ERROR_RESOURCE_NAME_NOT_FOUND, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {m_hB, "APP", IMAGE_ICON, ERROR_RESOURCE_TYPE_NOT_FOUND, 0},  // B holds no icon at all
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SetLastError(0xdeadbeef);
        EXPECT_EQ(LoadImageA(c.module, c.name, c.type, 0, 0, 0), nullptr) << "case " << i;
        const DWORD error = GetLastError();
        EXPECT_TRUE(error == c.error || (c.orError != 0 && error == c.orError)) << "case " << i << ": " << error;
    }
    EXPECT_EQ(WITH_LAST_ERROR(LoadBitmapA(m_hA, "NOPE")), Returns<HBITMAP>(NULL, ERROR_RESOURCE_NAME_NOT_FOUND));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadIconA(m_hA, "NOPE"), nullptr);
    EXPECT_TRUE(GetLastError() == ERROR_RESOURCE_NAME_NOT_FOUND || GetLastError() == ERROR_RESOURCE_TYPE_NOT_FOUND)
        << GetLastError();
}

// APP is one 16 x 16 image: opaque red on the left half, transparent on the right.
TEST_F(LoadImageTest, IconsLoadAtTheirSizeAndDrawThroughTheirMask) {
    const struct {
        HICON icon;
        int size;  // of the icon's pictures
        int drawn; // DrawIconEx at its own size; DrawIcon at the system's
        bool useDrawIcon;
    } cases[] = {
        {LoadIconA(m_hA, "APP"), 32, 32, false},  // the system size
        {static_cast<HICON>(LoadImageA(m_hA, "APP", IMAGE_ICON, 0, 0, 0)), 16, 16, false},
        {static_cast<HICON>(LoadImageA(m_hA, "APP", IMAGE_ICON, 24, 24, 0)), 24, 24, false},
        {static_cast<HICON>(LoadImageA(m_hA, "APP", IMAGE_ICON, 0, 0, 0)), 16, 32, true},
    };
    const int depth = ScreenDepth();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        ASSERT_NE(c.icon, nullptr) << "case " << i;
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(c.icon, &ii)) << "case " << i;
        EXPECT_TRUE(ii.fIcon) << "case " << i;
        EXPECT_EQ(ii.xHotspot, static_cast<DWORD>(c.size / 2)) << "case " << i;
        BITMAP color{}, mask{};
        ASSERT_NE(ii.hbmColor, nullptr) << "case " << i;
        GetObjectA(ii.hbmColor, sizeof(color), &color);
        GetObjectA(ii.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(color.bmWidth, c.size) << "case " << i;
        EXPECT_EQ(color.bmHeight, c.size) << "case " << i;
        EXPECT_EQ(color.bmBitsPixel, depth) << "case " << i;
        EXPECT_EQ(mask.bmWidth, c.size) << "case " << i;
        EXPECT_EQ(mask.bmBitsPixel, 1) << "case " << i;
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);

        Canvas canvas(40, 40, kGreen);
        EXPECT_TRUE(c.useDrawIcon ? DrawIcon(canvas.dc, 1, 1, c.icon)
                                  : DrawIconEx(canvas.dc, 1, 1, c.icon, 0, 0, 0, NULL, DI_NORMAL))
            << "case " << i;
        EXPECT_EQ(Str(canvas.InkBox(kGreen)), Str(RECT{1, 1, 1 + c.drawn / 2, 1 + c.drawn})) << "case " << i;
        EXPECT_EQ(canvas.Count(kRed), c.drawn * c.drawn / 2) << "case " << i;
        EXPECT_TRUE(DestroyIcon(c.icon)) << "case " << i;
    }
}

TEST_F(LoadImageTest, CreatedIconsOwnCopiesOfTheirBitmaps) {
    // A 4 x 4 blue picture whose left column the mask makes transparent.
    HDC screen = GetDC(NULL);
    HBITMAP color = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(NULL, screen);
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    {
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ old = SelectObject(dc, color);
        PatBlt(dc, 0, 0, 4, 4, BLACKNESS);
        for (int y = 0; y < 4; ++y)
            for (int x = 1; x < 4; ++x) SetPixel(dc, x, y, RGB(0, 0, 255));
        SelectObject(dc, mask);
        PatBlt(dc, 0, 0, 4, 4, BLACKNESS);
        PatBlt(dc, 0, 0, 1, 4, WHITENESS);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    DeleteObject(color);
    DeleteObject(mask);

    Canvas canvas(6, 4, kGreen);
    ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, icon, 0, 0, 0, NULL, DI_NORMAL));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(canvas.At(x, 2), x >= 1 && x < 4 ? RGB(0, 0, 255) : kGreen) << "x " << x;
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon)) << "destroyed already";
}

TEST_F(LoadImageTest, ImageListLoadsAStripFromAModule) {
    // BITS24 cut into two 4 x 4 images; its pixel (1, 0) colour is the mask colour.
    HIMAGELIST il = ImageList_LoadImageA(m_hA, "BITS24", 4, 0, Bits24(1, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ASSERT_NE(il, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(il), 2);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(il, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
    for (int image = 0; image < 2; ++image) {
        Canvas canvas(4, 4, kGreen);
        ASSERT_TRUE(ImageList_Draw(il, image, canvas.dc, 0, 0, ILD_TRANSPARENT)) << "image " << image;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const COLORREF want = image == 0 && x == 1 && y == 0 ? kGreen : Bits24(4 * image + x, y);
                EXPECT_EQ(canvas.At(x, y), want) << "image " << image << " (" << x << "," << y << ")";
            }
    }
    ImageList_Destroy(il);
    EXPECT_EQ(ImageList_LoadImageA(m_hA, "NOPE", 4, 0, CLR_NONE, IMAGE_BITMAP, 0), nullptr);
}
