// TQTH helpers: TQCheckLastSlash, TQSetForegroundWindow, gszProgramName.
#include <windows.h>
#include <afxwin.h>

#include <gtest/gtest.h>

#include "TQTH.h"

TEST(CheckLastSlashTest, AddsExactlyOneSeparatorWhereNoneEnds) {
    const char* const cases[][2] = {
        {"a", "a\\"}, {"a\\", "a\\"},       {"a/", "a/"},          {"C:", "C:\\"}, {"\\", "\\"},
        {"", ""},     {NULL, ""},           {"a\\\\", "a\\\\"},    {"/var/spool", "/var/spool\\"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_STREQ(TQCheckLastSlash(cases[i][0]), cases[i][1]) << "case " << i;
}

TEST(ProgramNameTest, StartsAsTheExecutablesBaseName) {
    EXPECT_STREQ(gszProgramName, "companion_tests");
}

TEST(ForegroundWindowTest, NoWindowIsNoSuccess) {
    EXPECT_EQ(TQSetForegroundWindow(NULL), 0);
    CWnd unattached;
    EXPECT_EQ(TQSetForegroundWindow(&unattached), 0);
}
