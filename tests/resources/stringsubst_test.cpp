// The substitution table: the pass, adding and switching entries.
#include <xwth/resourcemanager.h>

#include <mbctype.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/wine.h"

namespace {

struct Pair {
    const char* from;
    const char* to;
};

std::string Substituted(const std::vector<Pair>& entries, const std::string& text) {
    CStringSubstArray table;
    for (const Pair& p : entries) {
        table.SetSubst(p.from, p.to);
    }
    std::vector<char> buffer(CStringSubstArray::kBufferSize + 16, '#');
    std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
    table.Substitute(buffer.data());
    for (std::size_t i = CStringSubstArray::kBufferSize; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], '#') << "written past the buffer at " << i;
    }
    return buffer.data();
}

// The same rows as the table above CStringSubstArray::Substitute.
TEST(StringSubstTest, ReplacesLeftToRightEntryAfterEntry) {
    const struct {
        std::vector<Pair> entries;
        std::string text;
        std::string want;
    } cases[] = {
        {{{"Corvantis", "Acme Fax"}}, "Corvantis Setup - Corvantis", "Acme Fax Setup - Acme Fax"},
        {{{"Corvantis", "Acme Fax"}}, "corvantis", "corvantis"},
        {{{"ab", "xaby"}}, "abab", "xabyxaby"},
        {{{"x", "y"}, {"y", "z"}}, "x", "z"},
        {{{"y", "z"}, {"x", "y"}}, "x", "y"},
        {{{"long", ""}}, "a long long way", "a   way"},
        {{{"", "never"}}, "empty from is refused", "empty from is refused"},
        {{}, "", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Substituted(cases[i].entries, cases[i].text), cases[i].want) << "case " << i;
    }
}

TEST(StringSubstTest, GrowingTextIsCutAtTheBuffer) {
    const std::string text(1000, 'a');
    const std::string got = Substituted({{"a", "bb"}}, text);
    EXPECT_EQ(got, std::string(1023, 'b'));
    EXPECT_EQ(Substituted({{"a", "bb"}}, std::string(1023, 'c') ), std::string(1023, 'c'));
}

// Under code page 932: 0x95 0x5C is one character whose trail byte is a
// backslash, 0x88 0x9F another.
TEST(StringSubstTest, DoubleByteTextMatchesAndIsCutOnlyAtCharacters) {
    struct Page932 {
        Page932() { _setmbcp(932); }
        ~Page932() { _setmbcp(1252); }
    };
    auto page = std::make_unique<Page932>();
    ASSERT_EQ(_getmbcp(), 932);
    const std::string hyo = "\x95\x5C", a = "\x88\x9F", aa = a + a, az = a + "z";
    TODO_WINE_EXPECT_EQ(Substituted({{"\\", "/"}}, hyo + "\\" + hyo), hyo + "/" + hyo,
                        "Wine's _mbsstr compares bytes, not characters");
    EXPECT_EQ(Substituted({{"\\", "/"}}, "a\\b"), "a/b");
    // Grown to 1024 bytes: the last character would straddle the end, so it goes whole.
    EXPECT_EQ(Substituted({{"b", aa.c_str()}}, std::string(1020, 'x') + "b"), std::string(1020, 'x') + a);
    EXPECT_EQ(Substituted({{"b", az.c_str()}}, std::string(1020, 'x') + "b"), std::string(1020, 'x') + a + "z");
    page.reset();
    EXPECT_EQ(Substituted({{"b", aa.c_str()}}, std::string(1020, 'x') + "b"), std::string(1020, 'x') + a + "\x88")
        << "single bytes under 1252";
}

TEST(StringSubstTest, SetSubstAddsUpdatesOrKeeps) {
    const struct {
        std::vector<Pair> calls;
        std::string want;  // "from>to" of each entry
    } cases[] = {
        {{{"X", "X"}}, ""},
        {{{"X", "Y"}, {"X", "X"}}, "X>X "},
        {{{"X", "Y"}, {"X", "Y"}}, "X>Y "},
        {{{"X", "Y"}, {"Z", "W"}, {"X", "V"}}, "X>V Z>W "},
        {{{"", "Y"}}, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CStringSubstArray table;
        for (const Pair& p : cases[i].calls) {
            table.SetSubst(p.from, p.to);
        }
        std::string got;
        for (INT_PTR k = 0; k < table.GetSize(); ++k) {
            const auto* entry = static_cast<CStringSubst*>(table.GetAt(k));
            got += std::string(entry->m_strFrom) + ">" + std::string(entry->m_strTo) + " ";
            EXPECT_EQ(entry->m_bEnabled, 1) << "case " << i;
        }
        EXPECT_EQ(got, cases[i].want) << "case " << i;
    }
}

TEST(StringSubstTest, SwitchedOffEntriesAreSkippedAndKeepTheirSwitch) {
    CStringSubstArray table;
    table.SetSubst("a", "b");
    table.EnableSubst("a", 0);
    char buffer[CStringSubstArray::kBufferSize] = "a";
    table.Substitute(buffer);
    EXPECT_STREQ(buffer, "a");
    table.SetSubst("a", "c");  // an update keeps the switch
    table.Substitute(buffer);
    EXPECT_STREQ(buffer, "a");
    table.EnableSubst("a", 7);
    EXPECT_EQ(static_cast<CStringSubst*>(table.GetAt(0))->m_bEnabled, 7);
    table.Substitute(buffer);
    EXPECT_STREQ(buffer, "c");
}

TEST(StringSubstTest, EntryCarriesItsRunTimeClass) {
    CStringSubst entry("a", "b");
    EXPECT_STREQ(entry.GetRuntimeClass()->m_lpszClassName, "CStringSubst");
    EXPECT_TRUE(entry.IsKindOf(RUNTIME_CLASS(CObject)));
}

}  // namespace
