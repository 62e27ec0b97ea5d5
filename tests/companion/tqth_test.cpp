// TQTH helpers: TQCheckLastSlash, TQSetForegroundWindow, gszProgramName.
#include <windows.h>
#include <afxwin.h>

#include <string>

#include <gtest/gtest.h>

#include "TQTH.h"

TEST(CheckLastSlashTest, AddsExactlyOneSeparatorWhereNoneEnds) {
    struct Case {
        const char* path;
        const char* want;
    };
    const Case cases[] = {
        {"a", "a\\"},           {"a\\", "a\\"},       {"a/", "a/"},
        {"C:", "C:\\"},         {"\\", "\\"},         {"dir\\sub", "dir\\sub\\"},
        {"/var/spool", "/var/spool\\"}, {"a\\\\", "a\\\\"}, {"", ""},
        {NULL, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const CString got = TQCheckLastSlash(cases[i].path);
        EXPECT_EQ(std::string(static_cast<const char*>(got)), cases[i].want) << "case " << i;
    }
}

TEST(ProgramNameTest, StartsAsTheExecutablesBaseName) {
    EXPECT_EQ(std::string(static_cast<const char*>(gszProgramName)), "companion_tests");
}

TEST(ForegroundWindowTest, NoWindowIsNoSuccess) {
    EXPECT_EQ(TQSetForegroundWindow(NULL), 0);
    CWnd unattached;
    EXPECT_EQ(TQSetForegroundWindow(&unattached), 0);
}
