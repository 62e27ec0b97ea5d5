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
