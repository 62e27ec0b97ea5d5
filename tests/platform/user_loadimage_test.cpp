// Bitmaps and icons from resource modules: LoadBitmapA, LoadImageA, LoadIconA,
// the icon calls, and image lists loaded from a module. The fixture pictures
// are described in tests/resources/fixtures/make_images.py.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "platform/gdi_test_support.h"
#include "support/resfixtures.h"

using xwth_test::Canvas;

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

// The first pixel that differs from want by more than tolerance in a
// channel, as "(x,y) got/want", or "" when all agree.
std::string Mismatch(HBITMAP bm, int width, int height, const std::function<COLORREF(int, int)>& want,
                     int tolerance = 0) {
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bm);
    std::ostringstream out;
    for (int y = 0; y < height && out.str().empty(); ++y)
        for (int x = 0; x < width && out.str().empty(); ++x) {
            const COLORREF got = GetPixel(dc, x, y), w = want(x, y);
            if (std::abs(GetRValue(got) - GetRValue(w)) > tolerance || std::abs(GetGValue(got) - GetGValue(w)) > tolerance ||
                std::abs(GetBValue(got) - GetBValue(w)) > tolerance)
                out << "(" << x << "," << y << ") " << std::hex << got << "/" << w;
        }
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
    // LR_LOADTRANSPARENT: the table entry of the first pixel in memory (the
    // bottom-left one, index 8 in BITS4) becomes the window colour; a DIB
    // without a table keeps its colours. A size given stretches the picture
    // (Windows may smooth it: within a half step of the neighbours).
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const struct {
        LPCSTR name;
        UINT flags;
        int cx, cy;
        int bits;  // 0: not checked (winport widens palette DIB sections to 24 bits)
        std::function<COLORREF(int, int)> want;
        int tolerance;
    } cases[] = {
        {"BITS1", 0, 0, 0, 1, Bits1, 0},  // black and white: a monochrome bitmap
        {"BITS4", 0, 0, 0, screen, Bits4, 0},
        {"BITS8", 0, 0, 0, screen, Bits8, 0},
        {MAKEINTRESOURCEA(7), 0, 0, 0, screen, Bits8, 0},
        {"BITS24", 0, 0, 0, screen, Bits24, 0},
        {"BITS1", LR_CREATEDIBSECTION, 0, 0, 0, Bits1, 0},
        {"BITS4", LR_CREATEDIBSECTION, 0, 0, 0, Bits4, 0},
        {"BITS8", LR_CREATEDIBSECTION, 0, 0, 0, Bits8, 0},
        {"BITS24", LR_CREATEDIBSECTION, 0, 0, 24, Bits24, 0},
        {"BITS4", LR_LOADTRANSPARENT, 0, 0, screen,
         [&](int x, int y) { return (x + 8 * y) % 16 == 8 ? window : Bits4(x, y); }, 0},
        {"BITS24", LR_LOADTRANSPARENT, 0, 0, screen, Bits24, 0},
        {"BITS24", 0, 16, 8, screen, [](int x, int y) { return Bits24(x / 2, y / 2); }, 32},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        HBITMAP bm = static_cast<HBITMAP>(LoadImageA(m_hA, c.name, IMAGE_BITMAP, c.cx, c.cy, c.flags));
        ASSERT_NE(bm, nullptr) << "case " << i;
        const bool section = (c.flags & LR_CREATEDIBSECTION) != 0;
        DIBSECTION ds{};
        EXPECT_EQ(GetObjectA(bm, sizeof(ds), &ds), static_cast<int>(section ? sizeof(DIBSECTION) : sizeof(BITMAP)))
            << "case " << i;
        EXPECT_EQ(ds.dsBm.bmWidth, c.cx != 0 ? c.cx : 8) << "case " << i;
        EXPECT_EQ(ds.dsBm.bmHeight, c.cy != 0 ? c.cy : 4) << "case " << i;
        EXPECT_TRUE(c.bits == 0 || ds.dsBm.bmBitsPixel == c.bits) << "case " << i << ": " << ds.dsBm.bmBitsPixel;
        EXPECT_EQ(section, ds.dsBm.bmBits != nullptr) << "case " << i;
        EXPECT_EQ(Mismatch(bm, ds.dsBm.bmWidth, ds.dsBm.bmHeight, c.want, c.tolerance), "") << "case " << i;
        EXPECT_TRUE(DeleteObject(bm)) << "case " << i;
    }
}

TEST_F(LoadImageTest, MissingImagesFailWithTheResourceError) {
    // An icon missing from the group type may also answer 1813: after the
    // group the loader may look for an animated icon of that name (Wine
    // does) and keep that search's error.
    const DWORD name = ERROR_RESOURCE_NAME_NOT_FOUND, type = ERROR_RESOURCE_TYPE_NOT_FOUND;
    const struct {
        std::function<HANDLE()> load;
        DWORD error, orError;
    } cases[] = {
        {[&] { return LoadImageA(m_hA, "NOPE", IMAGE_BITMAP, 0, 0, 0); }, name, name},
        {[&] { return LoadImageA(m_hB, "BITS8", IMAGE_BITMAP, 0, 0, 0); }, name, name},
        {[&] { return LoadImageA(m_hA, "MYDATA", IMAGE_BITMAP, 0, 0, 0); }, name, name},  // raw data, no bitmap
        {[&] { return LoadBitmapA(m_hA, "NOPE"); }, name, name},
        {[&] { return LoadImageA(m_hA, "BITS8", IMAGE_ICON, 0, 0, 0); }, name, type},
        {[&] { return LoadIconA(m_hA, "NOPE"); }, name, type},
        {[&] { return LoadImageA(m_hB, "APP", IMAGE_ICON, 0, 0, 0); }, type, type},  // B holds no icon at all
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(0xdeadbeef);
        EXPECT_EQ(cases[i].load(), nullptr) << "case " << i;
        const DWORD error = GetLastError();
        EXPECT_TRUE(error == cases[i].error || error == cases[i].orError) << "case " << i << ": " << error;
    }
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
        BITMAP color{}, mask{};
        GetObjectA(ii.hbmColor, sizeof(color), &color);
        GetObjectA(ii.hbmMask, sizeof(mask), &mask);
        std::ostringstream got, want;
        got << ii.fIcon << " " << ii.xHotspot << " " << color.bmWidth << "x" << color.bmHeight << "x"
            << color.bmBitsPixel << " " << mask.bmWidth << "x" << mask.bmHeight << "x" << mask.bmBitsPixel;
        want << "1 " << c.size / 2 << " " << c.size << "x" << c.size << "x" << depth << " " << c.size << "x" << c.size
             << "x1";
        EXPECT_EQ(got.str(), want.str()) << "case " << i << ": fIcon, hot spot, colour and mask bitmaps";
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
    // 4 x 4 blue but for the left column, which is black and masked.
    const std::uint32_t colors[16] = {0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF,
                                      0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF};
    const BYTE maskRows[8] = {0x80, 0, 0x80, 0, 0x80, 0, 0x80, 0};
    ICONINFO ii{TRUE, 0, 0, CreateBitmap(4, 4, 1, 1, maskRows), CreateBitmap(4, 4, 1, 32, colors)};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    Canvas canvas(6, 4, kGreen);
    ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, icon, 0, 0, 0, NULL, DI_NORMAL));
    for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.At(x, 2), x >= 1 && x < 4 ? RGB(0, 0, 255) : kGreen) << "x " << x;
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon)) << "destroyed already";
}

TEST_F(LoadImageTest, ImageListLoadsAStripFromAModule) {
    // BITS24 cut into two 4 x 4 images; its pixel (1, 0) colour is the mask
    // colour, or with CLR_DEFAULT the top-left one's.
    for (const COLORREF mask : {Bits24(1, 0), CLR_DEFAULT}) {
        const int masked = mask == CLR_DEFAULT ? 0 : 1;
        HIMAGELIST il = ImageList_LoadImageA(m_hA, "BITS24", 4, 0, mask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
        ASSERT_NE(il, nullptr);
        int cx = 0, cy = 0;
        EXPECT_TRUE(ImageList_GetIconSize(il, &cx, &cy));
        EXPECT_EQ(ImageList_GetImageCount(il) * 100 + cx * 10 + cy, 244) << "2 images of 4 x 4";
        for (int image = 0; image < 2; ++image) {
            Canvas canvas(4, 4, kGreen);
            ASSERT_TRUE(ImageList_Draw(il, image, canvas.dc, 0, 0, ILD_TRANSPARENT)) << "image " << image;
            for (int i = 0; i < 16; ++i) {
                const int x = i % 4, y = i / 4;
                EXPECT_EQ(canvas.At(x, y), image == 0 && i == masked ? kGreen : Bits24(4 * image + x, y))
                    << image << ":" << i << " mask " << mask;
            }
        }
        ImageList_Destroy(il);
    }
    EXPECT_EQ(ImageList_LoadImageA(m_hA, "NOPE", 4, 0, CLR_NONE, IMAGE_BITMAP, 0), nullptr);
}
