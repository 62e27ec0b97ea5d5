// ExtText: resource texts through the library's manager, kept in a ring.
#include <xwth/msgbox.h>
#include <xwth/resourcemanager.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/resfixtures.h"

namespace {

TEST(ExtTextTest, ThirtyThirdCallReusesTheFirstSlot) {
    CResourceManager& manager = GetResourceManager();
    const CString path(xwth_test::FixtureModule("resmod_a.dll").c_str());
    ASSERT_TRUE(manager.RegisterResourceModule(path, 3));

    const char* first = ExtText(100);
    EXPECT_STREQ(first, "only in A");
    std::vector<const char*> texts;
    for (int i = 0; i < 31; ++i) {
        texts.push_back(ExtText(i % 2 == 0 ? 17 : 999));
    }
    EXPECT_STREQ(first, "only in A") << "32 calls keep every text";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_STREQ(texts[i], i % 2 == 0 ? "second block" : "") << "call " << i + 2;
    }
    const char* thirtyThird = ExtText(200, 0, NULL);
    EXPECT_EQ(thirtyThird, first);
    EXPECT_STREQ(first, "text of A");
    EXPECT_STREQ(texts[0], "second block");

    manager.UnRegisterResourceModule(WORD(3));
    EXPECT_STREQ(ExtText(100), "") << "found nowhere: an empty text, not NULL";
}

}  // namespace

namespace {

TEST(TitleSetupTest, RenamesTheApplicationAndReplacesTheMakersName) {
    CWinApp app("Old Name");
    CResourceManager& manager = GetResourceManager();
    const CString path(xwth_test::FixtureModule("resmod_a.dll").c_str());
    ASSERT_TRUE(manager.RegisterResourceModule(path, 0));
    const struct {
        const char* title;
        std::string appName;  // afterwards
        std::string loaded;   // string 1 afterwards
    } cases[] = {
        {"Corvantis Fax", "Corvantis Fax", "Corvantis Setup - Corvantis"},
        {"Acme Fax", "Acme Fax", "Acme Fax Setup - Acme Fax"},
        {"Corvantis", "Corvantis", "Acme Fax Setup - Acme Fax"},  // kept from before
        {"", "Corvantis", " Setup - "},
        {NULL, "Corvantis", " Setup - "},
        {"Corv", "Corv", "Corv Setup - Corv"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        T0MessageBoxTitleSetup(cases[i].title);
        EXPECT_EQ(std::string(app.m_pszAppName), cases[i].appName) << "case " << i;
        EXPECT_EQ(AfxGetModuleState()->m_lpszCurrentAppName, app.m_pszAppName) << "case " << i;
        EXPECT_EQ(std::string(manager.LoadString(1, 0)), cases[i].loaded) << "case " << i;
    }
    // The title by string id (100: "only in A").
    manager.RegisterResourceModule(path, 3);
    T0MessageBoxTitleSetup(100);
    EXPECT_STREQ(app.m_pszAppName, "only in A");

    // The global manager keeps its entries: switch the maker's name off again.
    manager.m_Substitutions.EnableSubst("Corvantis", 0);
    manager.UnRegisterResourceModule(path);
    manager.UnRegisterResourceModule(path);
    AfxGetModuleState()->m_lpszCurrentAppName = NULL;
}

}  // namespace
