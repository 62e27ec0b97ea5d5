// The resource module registry: search order, preference, registration and
// what is freed, string loading with substitutions, raw resources.
#include <xwth/resourcemanager.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/resfixtures.h"

namespace {

using xwth_test::FixtureModule;

const std::string kPathA = FixtureModule("resmod_a.dll");
const std::string kPathB = FixtureModule("resmod_b.dll");

// Whether the fixture module is loaded at all (by anybody).
bool Loaded(const char* file) {
    return GetModuleHandleA(file) != NULL;
}

std::string Text(CResourceManager& manager, UINT nID, WORD wID) {
    return std::string(manager.LoadString(nID, wID));
}

TEST(ResourceManagerTest, SearchesNewestFirstAndPrefersTheModuleId) {
    CResourceManager manager;
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 5));
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathB.c_str()), 0));
    const struct {
        UINT nID;
        WORD wID;
        std::string want;
    } cases[] = {
        {200, 0, "text of B"},   // both have it: the newer one answers
        {200, 5, "text of A"},   // unless the older one is preferred
        {300, 5, "only in B"},   // a preference, never a restriction
        {100, 0, "only in A"},
        {200, 9, "text of B"},   // an id nobody registered counts as none
        {999, 0, ""},
        {2, 0, ""},              // an empty string resource
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Text(manager, cases[i].nID, cases[i].wID), cases[i].want) << "case " << i;
    }
    CString str("untouched");
    EXPECT_FALSE(manager.LoadString(2, str, 0));
    EXPECT_EQ(std::string(str), "untouched");
    EXPECT_TRUE(manager.LoadString(300, str, 0));
    EXPECT_EQ(std::string(str), "only in B");
    EXPECT_EQ(manager.LoadString(3, 0).GetLength(), 1023) << "cut to the manager's buffer";
}

TEST(ResourceManagerTest, ReRegisteringAnIdFreesTheOldModuleOnlyAfterTheNewLoads) {
    CResourceManager manager;
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 7));
    HINSTANCE a = manager.GetResourceModuleHandle(7);
    ASSERT_NE(a, (HINSTANCE)NULL);

    // A module that cannot load changes nothing.
    EXPECT_FALSE(manager.RegisterResourceModule(CString(FixtureModule("missing.dll").c_str()), 7));
    EXPECT_EQ(manager.GetResourceModuleHandle(7), a);

    // The same path under the same id: the module never unloads in between.
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 7));
    EXPECT_EQ(manager.GetResourceModuleHandle(7), a);
    EXPECT_EQ(manager.m_ModuleList.GetCount(), 1);

    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathB.c_str()), 7));
    EXPECT_NE(manager.GetResourceModuleHandle(7), a);
    EXPECT_FALSE(Loaded("resmod_a.dll")) << "the replaced registration's module is freed";
    EXPECT_EQ(Text(manager, 100, 0), "");
    EXPECT_EQ(manager.GetResourceModuleHandle(0), (HINSTANCE)NULL);
}

TEST(ResourceManagerTest, FreesOnlyWhatItLoaded) {
    HMODULE own = LoadLibraryA(kPathB.c_str());  // the test's own reference
    ASSERT_NE(own, (HMODULE)NULL);
    {
        CResourceManager manager;
        manager.RegisterResourceModule(own, 3);
        manager.RegisterResourceModule(own, 0);
        ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 0));
        EXPECT_EQ(Text(manager, 300, 0), "only in B");
        manager.UnRegisterResourceModule(WORD(3));  // by id, registered by handle
        manager.UnRegisterResourceModule(own);      // by handle
        manager.UnRegisterResourceModule(CString("not registered"));
        manager.UnRegisterResourceModule(WORD(42));

        ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathB.c_str()), 4));  // a second reference
        EXPECT_EQ(manager.GetResourceModuleHandle(4), own);
        manager.UnRegisterResourceModule(WORD(4));  // by id, loaded by the manager
        EXPECT_TRUE(Loaded("resmod_b.dll")) << "the test's own load is left";
        EXPECT_EQ(manager.m_ModuleList.GetCount(), 1);
        EXPECT_EQ(manager.m_ModuleMap.GetCount(), 0);
        EXPECT_TRUE(Loaded("resmod_a.dll"));
    }
    EXPECT_FALSE(Loaded("resmod_a.dll")) << "freed when the manager goes";
    EXPECT_TRUE(Loaded("resmod_b.dll"));
    EXPECT_TRUE(FreeLibrary(own));
    EXPECT_FALSE(Loaded("resmod_b.dll")) << "every reference the manager took was given back";
}

TEST(ResourceManagerTest, UnRegisteringAPathTakesTheNewestRegistration) {
    CResourceManager manager;
    const CString pathA(kPathA.c_str());
    ASSERT_TRUE(manager.RegisterResourceModule(pathA, 1));
    ASSERT_TRUE(manager.RegisterResourceModule(pathA, 0));
    manager.UnRegisterResourceModule(pathA);
    EXPECT_NE(manager.GetResourceModuleHandle(1), (HINSTANCE)NULL) << "the older registration stays";
    EXPECT_EQ(Text(manager, 100, 0), "only in A");
    manager.UnRegisterResourceModule(pathA);
    EXPECT_EQ(manager.GetResourceModuleHandle(1), (HINSTANCE)NULL);
    EXPECT_FALSE(Loaded("resmod_a.dll"));
}

TEST(ResourceManagerTest, LoadedStringsPassTheSubstitutions) {
    CResourceManager manager;
    manager.AddStringSubstitution(CString("only"), CString("never"));
    EXPECT_EQ(Text(manager, 100, 0), "") << "no module: nothing, not even substituted";
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 0));
    EXPECT_EQ(Text(manager, 100, 0), "never in A");

    // The maker's name: added switched off, then switched on; a call with
    // the maker's name itself changes nothing, not even the switch.
    manager.EnableAppNameSubstitute(0, CString("Acme Fax"));
    EXPECT_EQ(Text(manager, 1, 0), "Corvantis Setup - Corvantis");
    manager.EnableAppNameSubstitute(1, CString("Acme Fax"));
    EXPECT_EQ(Text(manager, 1, 0), "Acme Fax Setup - Acme Fax");
    manager.EnableAppNameSubstitute(0, CString("Corvantis"));
    EXPECT_EQ(Text(manager, 1, 0), "Acme Fax Setup - Acme Fax");

    // Pairs by string id: 500 "Fax" -> 501 "Telefax"; a missing or empty
    // text adds nothing.
    manager.AddStringSubstitution(500u, 999u);
    manager.AddStringSubstitution(502u, 501u);
    EXPECT_EQ(manager.m_Substitutions.GetSize(), 2);
    manager.AddStringSubstitution(500u, 501u);
    EXPECT_EQ(Text(manager, 1, 0), "Acme Telefax Setup - Acme Telefax");
}

TEST(ResourceManagerTest, RawResourcesComeFromTheFirstModuleThatHasThem) {
    CResourceManager manager;
    EXPECT_EQ(manager.LoadResource("MYDATA", RT_RCDATA, 0), nullptr);
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 0));
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathB.c_str()), 0));
    const auto* data = static_cast<const char*>(manager.LoadResource("MYDATA", RT_RCDATA, 0));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, 8), "raw of B");
    data = static_cast<const char*>(manager.LoadResource(0x10000u + 42, "CUSTOM", 0));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, 6), "custom");
    EXPECT_EQ(manager.LoadResource("NOPE", RT_RCDATA, 0), nullptr);
}

// The top-left pixel of a loaded bitmap (deleted here); CLR_INVALID for none.
COLORREF TopLeft(HANDLE bitmap) {
    if (bitmap == NULL) return CLR_INVALID;
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return c;
}

TEST(ResourceManagerTest, PicturesComeFromTheNewestModuleThatHasThem) {
    // SHARED is white at the top left in B, RGB(0, 0, 200) in A; BITS24 is only in A.
    constexpr COLORREF kB = RGB(255, 255, 255), kA = RGB(0, 0, 200), kNone = CLR_INVALID;
    CResourceManager manager;
    EXPECT_EQ(TopLeft(manager.LoadBitmap("SHARED", 0)), kNone) << "nothing registered";
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathA.c_str()), 0));
    ASSERT_TRUE(manager.RegisterResourceModule(CString(kPathB.c_str()), 0));
    const COLORREF got[] = {
        TopLeft(manager.LoadBitmap("SHARED", 0)),
        TopLeft(manager.LoadBitmap("SHARED", 9)),  // the id is no preference here
        TopLeft(manager.LoadBitmap("BITS24", 0)),  // B lacks it
        TopLeft(manager.LoadImage("SHARED", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)),
        TopLeft(manager.LoadImage("BITS24", IMAGE_BITMAP, 16, 8, 0)),
        TopLeft(manager.LoadBitmap("NOPE", 0)),
        (manager.UnRegisterResourceModule(CString(kPathB.c_str())), TopLeft(manager.LoadBitmap("SHARED", 0))),
    };
    const COLORREF want[] = {kB, kB, kA, kB, kA, kNone, kA};
    for (std::size_t i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(got[i], want[i]) << "case " << i;
    }
    HICON icon = manager.LoadIcon("APP", 0);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_EQ(manager.LoadIcon("NOPE", 0), nullptr);
}

TEST(ResourceManagerTest, TheLibraryHasOneManager) {
    EXPECT_EQ(&GetResourceManager(), &GetResourceManager());
}

}  // namespace
