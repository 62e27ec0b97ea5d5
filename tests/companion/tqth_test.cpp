// TQTH helpers: TQCheckLastSlash, TQSetForegroundWindow, gszProgramName.
#include <windows.h>
#include <afxwin.h>

#include <gtest/gtest.h>

#include "TQTH.h"

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbctype.h>

TEST(CheckLastSlashTest, AddsExactlyOneSeparatorWhereNoneEnds) {
    const char* const cases[][2] = {
        {"a", "a\\"}, {"a\\", "a\\"},       {"a/", "a/"},          {"C:", "C:\\"}, {"\\", "\\"},
        {"", ""},     {NULL, ""},           {"a\\\\", "a\\\\"},    {"/var/spool", "/var/spool\\"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_STREQ(TQCheckLastSlash(cases[i][0]), cases[i][1]) << "case " << i;
}

// 0x95 0x5C is one character of code page 932; only a whole backslash ends
// the path with a separator.
TEST(CheckLastSlashTest, TrailByteBackslashIsNoSeparatorUnderDoubleBytePage) {
    ASSERT_EQ(_setmbcp(932), 0);
    const char* const cases[][2] = {
        {"d\x95\x5C", "d\x95\x5C\\"}, {"d\x95\x5C\\", "d\x95\x5C\\"}, {"\x95", "\x95\\"}, {"a\\", "a\\"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_STREQ(TQCheckLastSlash(cases[i][0]), cases[i][1]) << "case " << i;
    _setmbcp(1252);
    EXPECT_STREQ(TQCheckLastSlash("d\x95\x5C"), "d\x95\x5C") << "a single-byte page reads 0x5C as a backslash";
}

TEST(ProgramNameTest, StartsAsTheExecutablesBaseName) {
    EXPECT_STREQ(gszProgramName, "companion_tests");
}

TEST(ForegroundWindowTest, NoWindowIsNoSuccess) {
    EXPECT_EQ(TQSetForegroundWindow(NULL), 0);
    CWnd unattached;
    EXPECT_EQ(TQSetForegroundWindow(&unattached), 0);
}
