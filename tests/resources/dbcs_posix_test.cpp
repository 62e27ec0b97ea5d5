// Resource strings under a double-byte code page chosen with _setmbcp (the
// process ANSI page of winport; on Windows it is the system's, so these run
// in the Linux build only): cut to the buffer, never inside a character.
#include <xwth/resourcemanager.h>

#include <mbctype.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/resfixtures.h"

namespace {

class DoubleByteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(_setmbcp(932), 0); }
    void TearDown() override { _setmbcp(1252); }
};

// String 14 is "a" and three kana, "a\x82\xA0\x82\xA2\x82\xA4" in 932.
TEST_F(DoubleByteTest, LoadStringCutsBeforeAWholeCharacter) {
    HMODULE module = LoadLibraryA(xwth_test::FixtureModule("resmod_a.dll").c_str());
    ASSERT_NE(module, nullptr);
    const std::string full = "a\x82\xA0\x82\xA2\x82\xA4";
    const struct {
        int buffer;
        std::string want;
    } cases[] = {{64, full}, {8, full}, {7, full.substr(0, 5)}, {6, full.substr(0, 5)},
                 {5, full.substr(0, 3)}, {3, "a"}, {2, "a"}, {1, ""}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        char buffer[72];
        std::memset(buffer, '#', sizeof buffer);
        const int n = LoadStringA(module, 14, buffer, cases[i].buffer);
        EXPECT_EQ(n, static_cast<int>(cases[i].want.size())) << "case " << i;
        EXPECT_EQ(std::string(buffer), cases[i].want) << "case " << i;
        EXPECT_EQ(buffer[cases[i].buffer], '#') << "case " << i << ": written past the buffer";
    }
    FreeLibrary(module);
}

// String 15 is 600 kana, 1200 bytes: the manager keeps the 511 that fit in 1023.
TEST_F(DoubleByteTest, ManagerKeepsWholeCharactersAfterSubstitution) {
    CResourceManager manager;
    ASSERT_TRUE(manager.RegisterResourceModule(CString(xwth_test::FixtureModule("resmod_a.dll").c_str()), 0));
    std::string text(manager.LoadString(15, 0));
    EXPECT_EQ(text.size(), 1022u);
    EXPECT_EQ(text.substr(1018), "\x82\xA0\x82\xA0");
    // A substitution that grows the text: still whole characters, and "b"
    // (not a kana's trail byte) is what gets replaced.
    manager.AddStringSubstitution("\xA0", "!");
    EXPECT_EQ(std::string(manager.LoadString(14, 0)), "a\x82\xA0\x82\xA2\x82\xA4") << "a trail byte never matches";
    manager.AddStringSubstitution("a", "\x88\x9F\x88\x9F");
    text = std::string(manager.LoadString(14, 0));
    EXPECT_EQ(text, "\x88\x9F\x88\x9F\x82\xA0\x82\xA2\x82\xA4");
}

}  // namespace
