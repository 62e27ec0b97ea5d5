// Resource lookups of the framework: AfxFindResourceHandle over the
// application's resource module and the extension DLLs, and
// CString::LoadString and CBitmap::LoadBitmap through it.
#include <afx.h>
#include <afxwin.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/resfixtures.h"

namespace {

// The application's resources in module B, an extension DLL's in module A.
class FrameworkResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hA = LoadLibraryA(xwth_test::FixtureModule("resmod_a.dll").c_str());
        m_hB = LoadLibraryA(xwth_test::FixtureModule("resmod_b.dll").c_str());
        ASSERT_NE(m_hA, (HMODULE)NULL);
        ASSERT_NE(m_hB, (HMODULE)NULL);
        AfxSetResourceHandle(m_hB);
        m_pExtension = new CDynLinkLibrary(m_hA, m_hA);
    }
    void TearDown() override {
        delete m_pExtension;
        AfxSetResourceHandle(m_hOldResource);
        FreeLibrary(m_hA);
        FreeLibrary(m_hB);
    }

    HINSTANCE m_hOldResource = AfxGetResourceHandle();
    HMODULE m_hA = NULL;
    HMODULE m_hB = NULL;
    CDynLinkLibrary* m_pExtension = NULL;
};

TEST_F(FrameworkResourceTest, ApplicationFirstThenExtensions) {
    EXPECT_EQ(AfxFindResourceHandle("MYDATA", RT_RCDATA), m_hB) << "both have it";
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(42), "CUSTOM"), m_hA);
    EXPECT_EQ(AfxFindResourceHandle("NOPE", RT_RCDATA), m_hB) << "nowhere: the application's";
    m_pExtension->m_bSystem = TRUE;  // system DLLs come after the others, still before giving up
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(42), "CUSTOM"), m_hA);
}

TEST_F(FrameworkResourceTest, CStringLoadsWholeStrings) {
    const struct {
        UINT id;
        bool found;
        std::string text;
    } cases[] = {
        {300, true, "only in B"},
        {100, true, "only in A"},  // B has no block for it: the extension's
        {3, true, std::string(1500, '\0')},
        {2, false, "unchanged"},   // empty
        {999, false, "unchanged"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CString s("unchanged");
        EXPECT_EQ(s.LoadString(cases[i].id) != FALSE, cases[i].found) << "case " << i;
        if (cases[i].id == 3) {
            EXPECT_EQ(s.GetLength(), 1500) << "case " << i;
            EXPECT_EQ(std::string(s).substr(1490), "0123456789") << "case " << i;
        } else {
            EXPECT_EQ(std::string(s), cases[i].text) << "case " << i;
        }
    }
    EXPECT_EQ(std::string(CString(MAKEINTRESOURCE(300))), "only in B");
}

TEST_F(FrameworkResourceTest, CBitmapLoadsFromTheModuleThatHoldsIt) {
    // SHARED is B's 1-bit picture and A's 24-bit one; the application's (B) comes
    // first. Answers: loaded, then 8 x 4, then mono.
    const struct {
        LPCSTR name;  // null: by number
        UINT id;
        const char* want;
    } cases[] = {{"SHARED", 0, "1 8x4 1"}, {"BITS24", 0, "1 8x4 0"}, {nullptr, 7, "1 8x4 0"}, {"NOPE", 0, "0"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CBitmap bitmap;
        const BOOL loaded = cases[i].name != nullptr ? bitmap.LoadBitmap(cases[i].name) : bitmap.LoadBitmap(cases[i].id);
        BITMAP bm{};
        std::ostringstream got;
        got << (loaded ? 1 : 0);
        if (loaded && bitmap.GetBitmap(&bm) == static_cast<int>(sizeof(bm))) {
            got << " " << bm.bmWidth << "x" << bm.bmHeight << " " << (bm.bmBitsPixel == 1 ? 1 : 0);
        }
        EXPECT_EQ(got.str(), cases[i].want) << "case " << i;
        EXPECT_EQ(bitmap.m_hObject != nullptr, loaded != FALSE) << "case " << i;
        EXPECT_FALSE(bitmap.LoadBitmap("BITS8") && loaded) << "case " << i << ": a second load would orphan the first";
    }
}

}  // namespace
