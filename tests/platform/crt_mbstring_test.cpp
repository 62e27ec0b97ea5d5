// The _mbs* family and CharLowerA/CharUpperA: characters of the multibyte
// code page stay whole.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/wine.h"

#include <cstring>
#include <string>
#include <vector>

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbctype.h>
#include <mbstring.h>

namespace {

class MbStringTest : public ::testing::Test {
protected:
    ~MbStringTest() override { _setmbcp(1252); }
};

const unsigned char* U(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

std::vector<std::string> Tokens(std::string text, const char* delimiters) {
    std::vector<std::string> tokens;
    auto* p = reinterpret_cast<unsigned char*>(text.data());
    for (unsigned char* t = _mbstok(p, U(delimiters)); t != nullptr; t = _mbstok(nullptr, U(delimiters))) {
        tokens.emplace_back(reinterpret_cast<char*>(t));
    }
    return tokens;
}

// 0x95 0x5C is one character under 932, and two (the second a backslash)
// under 1252.
TEST_F(MbStringTest, TokensKeepDoubleByteCharacters) {
    const struct {
        int codePage;
        const char* text;
        const char* delimiters;
        std::vector<std::string> want;
    } cases[] = {
        {932, "\x95\x5C:ab\\\\cd", ":\\", {"\x95\x5C", "ab", "cd"}},
        {1252, "\x95\x5C:ab\\\\cd", ":\\", {"\x95", "ab", "cd"}},
        {932, "::a;;b::", ":;", {"a", "b"}},
        {932, ":::", ":", {}},
        {932, "", ":", {}},
        {936, "x\x81\x2Fy/z", "/", {"x\x81\x2Fy", "z"}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(_setmbcp(cases[i].codePage), 0) << "case " << i;
        EXPECT_EQ(Tokens(cases[i].text, cases[i].delimiters), cases[i].want) << "case " << i;
    }
}

TEST_F(MbStringTest, SearchAndDigitsByCharacter) {
    ASSERT_EQ(_setmbcp(932), 0);
    const unsigned char* text = U("a\x95\x5Cpm");
    TODO_WINE_EXPECT_EQ(nullptr, _mbsstr(text, U("\\")), "Wine's _mbsstr compares bytes, not characters");
    EXPECT_EQ(_mbsstr(text, U("pm")), text + 3);
    EXPECT_EQ(_mbsstr(text, U("")), text);
    EXPECT_NE(_ismbcdigit('7'), 0);
    EXPECT_NE(_ismbcdigit(0x8250), 0);  // full-width 1
    EXPECT_EQ(_ismbcdigit('x'), 0);
    EXPECT_NE(_ismbblead(0x95), 0);
    EXPECT_EQ(_ismbblead(0xA5), 0);    // a single-byte katakana
    EXPECT_EQ(_mbslen(text), 4u);
    EXPECT_EQ(_mbsdec(text, text + 3), text + 1);
    EXPECT_EQ(_mbsinc(text + 1), text + 3);
    EXPECT_EQ(_mbsicmp(U("AbC\x95\x5C"), U("aBc\x95\x5C")), 0);
    EXPECT_LT(_mbsicmp(U("abc"), U("ABD")), 0);

    ASSERT_EQ(_setmbcp(1252), 0);
    EXPECT_EQ(_mbsstr(text, U("\\")), text + 2);
    EXPECT_EQ(_ismbblead(0x95), 0);
    EXPECT_EQ(_mbslen(text), 5u);
}

TEST_F(MbStringTest, UnknownCodePageIsRefused) {
    ASSERT_EQ(_setmbcp(932), 0);
    EXPECT_EQ(_setmbcp(12345), -1);
    EXPECT_EQ(_getmbcp(), 932);
}

// Code page 1252: its accented letters and the four letters at 0x8A-0x9F
// have both cases; ß, µ, ÿ's neighbours and signs stay.
TEST_F(MbStringTest, CharCaseOfTheAnsiPage) {
    char upper[] = "ABC \xC0\xC9\xD6\xDE \x8A\x8C\x8E\x9F \xD7\xDF\xB5 1!";
    char lower[] = "abc \xE0\xE9\xF6\xFE \x9A\x9C\x9E\xFF \xD7\xDF\xB5 1!";
    char text[sizeof upper];
    memcpy(text, upper, sizeof upper);
    EXPECT_EQ(CharLowerA(text), text);
    EXPECT_STREQ(text, lower);
    EXPECT_EQ(CharUpperA(text), text);
    EXPECT_STREQ(text, upper);
    // One character in the low word of the pointer.
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(CharLowerA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(0xC9)))), 0xE9u);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>('q')))),
              static_cast<UINT_PTR>('Q'));
}

// _mbsupr changes ASCII small letters and the full-width Latin ones of a
// double-byte page; a trail byte that looks like a small letter stays.
// _mbsicmp compares by the same folding.
TEST_F(MbStringTest, UpperCaseByCharacter) {
    const struct {
        int codePage;
        const char* text;
        const char* upper;
        const char* wine;  // why Wine answers otherwise, NULL when it agrees
    } cases[] = {
        {1252, "abc xyz-09", "ABC XYZ-09", nullptr},
        {1252, "a\x82\x61", "A\x82\x41", nullptr},
        {932, "a\x82\x61", "A\x82\x61", nullptr},
        {932, "\x95\x5Cq", "\x95\x5CQ", nullptr},
        {932, "\x82\x81\x82\x9A\x82\x60", "\x82\x60\x82\x79\x82\x60", nullptr},
        {936, "\xA3\xE1q", "\xA3\xC1Q", nullptr},
        {949, "\xA3\xFA", "\xA3\xDA", nullptr},
        {950, "\xA2\xE9\xA3\x43", "\xA2\xCF\xA2\xE8", nullptr},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(_setmbcp(cases[i].codePage), 0) << "case " << i;
        std::string text = cases[i].text;
        unsigned char* p = reinterpret_cast<unsigned char*>(text.data());
        EXPECT_EQ(_mbsupr(p), p) << "case " << i;
        TODO_WINE_EXPECT_EQ(std::string(cases[i].upper), text, cases[i].wine) << "case " << i;
        EXPECT_EQ(_mbsicmp(U(cases[i].text), U(cases[i].upper)), 0) << "case " << i;
    }
    ASSERT_EQ(_setmbcp(932), 0);
    EXPECT_LT(_mbsicmp(U("\x82\x60"), U("\x82\x82")), 0) << "full-width a before b";
    EXPECT_NE(_mbsicmp(U("\x82\x61"), U("\x82\x41")), 0) << "trail bytes are not letters";
}

}  // namespace
