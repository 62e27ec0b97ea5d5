// Impersonation for a scope and its copies; the executable's name.
#include <windows.h>
#include <afxwin.h>

#include <stdlib.h>

#include <future>
#include <memory>

#include <xwth/process.h>

#include <gtest/gtest.h>

namespace {

bool Impersonating() {
    HANDLE h = NULL;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &h)) return false;
    CloseHandle(h);
    return true;
}

TEST(ProgramCheckUserTest, ImpersonatesExactlyWithinItsScope) {
    ASSERT_FALSE(Impersonating());
    {
        CProgramCheckUser check;
        EXPECT_NE(check.m_hToken, nullptr);
        EXPECT_TRUE(Impersonating());
        EXPECT_FALSE(std::async(std::launch::async, Impersonating).get()) << "only the constructing thread";
    }
    EXPECT_FALSE(Impersonating());
}

// A copy takes the impersonation over, so it ends once, with the last holder.
TEST(ProgramCheckUserTest, CopiesRevertOnce) {
    auto original = std::make_unique<CProgramCheckUser>();
    const HANDLE token = original->m_hToken;
    ASSERT_NE(token, nullptr);
    auto copy = std::make_unique<CProgramCheckUser>(*original);
    EXPECT_EQ(copy->m_hToken, token);
    EXPECT_EQ(original->m_hToken, nullptr);
    original.reset();
    EXPECT_TRUE(Impersonating()) << "the source's end must not revert the copy's impersonation";

    CProgramCheckUser assigned;  // impersonating on its own account too
    assigned = *copy;
    EXPECT_EQ(assigned.m_hToken, token);
    copy.reset();
    EXPECT_TRUE(Impersonating());
    CProgramCheckUser holder(assigned);
    holder = assigned;  // from a source that holds nothing: ends it
    EXPECT_EQ(holder.m_hToken, nullptr);
    EXPECT_FALSE(Impersonating());
}

TEST(ExeNameTest, FileNameOfTheRecordedExecutable) {
    EXPECT_EQ(XWGetExeName(), CString()) << "no application";
    struct Case {
        const char* recorded;
        const char* want;
    };
    const Case cases[] = {
        {"D:\\Apps\\Zelvo_UI.exe", "Zelvo_UI.exe"},
        {"Zelvo_UI", "Zelvo_UI"},
        {"/opt/zelvo/bin/zelvo-ui", "zelvo-ui"},
        {NULL, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CWinApp app("Zelvo");
        if (cases[i].recorded != NULL) app.m_pszExeName = _strdup(cases[i].recorded);
        EXPECT_STREQ(XWGetExeName(), cases[i].want) << "case " << i;
    }
    CWinApp app("Zelvo");
    ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, NULL, 0));
    EXPECT_STREQ(XWGetExeName(), "process_tests") << "the framework's value: no extension";
}

}  // namespace
