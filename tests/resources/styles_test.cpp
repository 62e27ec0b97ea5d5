// Style values and the font cache: colour, font and flag strings read from
// resmod_a.dll (ids 2000-2024), fonts shared per description, heights at the
// screen's resolution, and what the cache owns.
#include <xwth/fontcache.h>
#include <xwth/resourcemanager.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

#include "support/resfixtures.h"

namespace {

using xwth_test::FixtureModule;

class StylesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_manager.RegisterResourceModule(CString(FixtureModule("resmod_a.dll").c_str()), 0));
    }
    CResourceManager m_manager;
};

int ScreenDpi() {
    HDC screen = GetDC(NULL);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

TEST_F(StylesTest, ColoursReadThreeNumbersOrKeepTheDefault) {
    constexpr COLORREF kDefault = 0x00123456;
    const struct {
        UINT id;
        COLORREF want;
    } cases[] = {
        {2000, 0x02FF0000}, {2001, 0x020000FF}, {2002, 0x0200002C},  // low 8 bits of 300
        {2003, kDefault},   {2004, kDefault},   {2005, 0x02090807},  // blanks after commas, any number
        {2006, kDefault},                                            // but none before a comma
        {2099, kDefault},   {2010, kDefault},                        // missing; a font string
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(m_manager.GetStyleColor(cases[i].id, kDefault), cases[i].want) << "case " << i;
    }
    // Module id 2 is preferred over a newer module.
    ASSERT_TRUE(m_manager.RegisterResourceModule(CString(FixtureModule("resmod_b.dll").c_str()), 0));
    EXPECT_EQ(m_manager.GetStyleColor(2000, kDefault), 0x02030201u) << "the newer module";
    ASSERT_TRUE(m_manager.RegisterResourceModule(CString(FixtureModule("resmod_a.dll").c_str()), 2));
    ASSERT_TRUE(m_manager.RegisterResourceModule(CString(FixtureModule("resmod_b.dll").c_str()), 0));
    EXPECT_EQ(m_manager.GetStyleColor(2000, kDefault), 0x02FF0000u) << "the module of id 2";
}

TEST_F(StylesTest, FlagsReadTheLeadingInteger) {
    const struct {
        UINT id;
        int want;
    } cases[] = {
        {2020, 12}, {2021, -3}, {2022, 0}, {2099, 0},
        {2023, 100000000},  // longer than 7 characters: read whole
        {2024, INT_MAX},    // beyond int: clamped
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(m_manager.GetStyleFlag(cases[i].id), cases[i].want) << "case " << i;
    }
}

TEST_F(StylesTest, FontsComeFromTheCacheByDescription) {
    CFont fallback;
    const int dpi = ScreenDpi();
    const struct {
        UINT id;
        const char* face;  // null: the default comes back
        int points;
        LONG weight;
        BYTE italic;
    } cases[] = {
        {2010, nullptr, 0, 0, 0},  // no comma
        {2011, nullptr, 0, 0, 0},  // empty face
        {2099, nullptr, 0, 0, 0},  // missing
        {2012, "Arial", 8, FW_NORMAL, 0},
        {2013, "Arial", 10, FW_BOLD, 0},
        {2014, "Arial ", 10, FW_NORMAL, 0},
        {2017, "Arial", 12, FW_NORMAL, 1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        CFont* font = m_manager.GetStyleFont(c.id, &fallback);
        if (c.face == nullptr) {
            EXPECT_EQ(font, &fallback) << "case " << i;
            continue;
        }
        ASSERT_TRUE(font != nullptr && font->IsKindOf(RUNTIME_CLASS(CFontDescription))) << "case " << i;
        const auto* d = static_cast<CFontDescription*>(font);
        LOGFONTA lf{};
        ASSERT_EQ(font->GetLogFont(&lf), static_cast<int>(sizeof(lf))) << "case " << i;
        std::ostringstream got, want;
        got << d->m_strFace << "|" << d->m_nHeight << " " << int(d->m_nCharSet) << " " << lf.lfFaceName << "|"
            << lf.lfHeight << " " << lf.lfWeight << " " << int(lf.lfItalic);
        const int height = -MulDiv(c.points, dpi, 72);
        want << c.face << "|" << height << " 1 " << c.face << "|" << height << " " << c.weight << " " << int(c.italic);
        EXPECT_EQ(got.str(), want.str()) << "case " << i << ": description, then the font made";
        EXPECT_EQ(m_manager.GetStyleFont(c.id, &fallback), font) << "case " << i << ": shared";
    }
    EXPECT_NE(m_manager.GetStyleFont(2015, &fallback), m_manager.GetStyleFont(2016, &fallback))
        << "faces compare with case";
}

// A cache whose fonts cannot be made, and whose points are pixels.
class RefusingCache : public FCache {
public:
    int HeightFromPoints(int nPoints) override { return -nPoints; }
    int AddFont(LPCSTR, int, int, BYTE, BYTE, BYTE, BYTE) override {
        ++adds;
        return -1;
    }
    int adds = 0;
};

TEST(FontCacheTest, OneFontPerDescriptionAtTheScreenResolution) {
    FCache cache;
    const int dpi = ScreenDpi();
    EXPECT_EQ(cache.HeightFromPoints(8), dpi == 96 ? -11 : -MulDiv(8, dpi, 72));
    EXPECT_EQ(cache.HeightFromPoints(10), dpi == 96 ? -13 : -MulDiv(10, dpi, 72));
    CFontDescription* plain = cache.GetFont("Arial", 7, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(cache.GetFont("Arial", 7, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET), plain);
    const CFontDescription* others[] = {
        cache.GetFont("Arial", 7, FW_NORMAL, 0, 1, 0, DEFAULT_CHARSET),
        cache.GetFont("Arial", 7, FW_NORMAL, 0, 0, 1, DEFAULT_CHARSET),
        cache.GetFont("Arial", 7, FW_NORMAL, 0, 0, 0, ANSI_CHARSET),
        cache.GetFont("Arial", 7, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET),
    };
    for (std::size_t i = 0; i < std::size(others); ++i) {
        EXPECT_TRUE(others[i] != plain && others[i] != nullptr) << "case " << i;
    }
    // A font that cannot be made is asked for again; the search measures
    // through the overridden height, so 9 "points" find the font cached at
    // -9 pixels (7 points at 96 dpi).
    RefusingCache refusing;
    EXPECT_EQ(refusing.GetFont("Nowhere", 9, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET), nullptr);
    EXPECT_EQ(refusing.GetFont("Nowhere", 9, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET), nullptr);
    EXPECT_EQ(refusing.adds, 2) << "nothing was cached";
    if (plain->m_nHeight == -9) {
        EXPECT_EQ(refusing.GetFont("Arial", 9, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET), plain);
    }
    EXPECT_STREQ(cache.GetRuntimeClass()->m_lpszClassName, "FCache");
}

TEST(FontCacheTest, TheArrayDeletesTheFontsItOwns) {
    CFontDescrArray fonts;
    auto* font = new CFontDescription;
    ASSERT_TRUE(font->CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
    const HGDIOBJ handle = font->m_hObject;
    fonts.Add(font);
    fonts.Add(nullptr);
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_FONT));
    fonts.RemoveAll();
    EXPECT_EQ(fonts.GetSize(), 0);
    EXPECT_EQ(GetObjectType(handle), 0u) << "the Windows font went with its description";
    EXPECT_STREQ(CFontDescription().GetRuntimeClass()->m_lpszClassName, "CFontDescription");
}

}  // namespace
