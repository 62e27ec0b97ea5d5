// The application object and module state: registration, AfxWinInit's
// names, and the per-thread module-state switch.
#include <stdlib.h>
#include <string.h>

#include <string>
#include <thread>

#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

// Puts the module state's handles back: AfxWinInit sets them.
class WinAppTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(AfxGetApp(), nullptr); }
    void TearDown() override {
        AfxGetModuleState()->m_hCurrentInstanceHandle = m_hOldInstance;
        AfxSetResourceHandle(m_hOldResource);
    }
    HINSTANCE m_hOldInstance = AfxGetInstanceHandle();
    HINSTANCE m_hOldResource = AfxGetResourceHandle();
};

// The application owns a malloc copy of its name, so a caller may replace it
// the framework's way (free the old, store a _strdup copy).
TEST_F(WinAppTest, RegistersWhileAliveAndOwnsItsName) {
    const char given[] = "Zelvo";
    {
        CWinApp app(given);
        EXPECT_EQ(AfxGetApp(), &app);
        ASSERT_NE(app.m_pszAppName, nullptr);
        EXPECT_NE(app.m_pszAppName, given);
        EXPECT_STREQ(app.m_pszAppName, "Zelvo");
        free(const_cast<char*>(app.m_pszAppName));
        app.m_pszAppName = _strdup("Zelvo Fax");
        EXPECT_STREQ(app.m_pszAppName, "Zelvo Fax");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(_strdup(nullptr), nullptr);
}

TEST_F(WinAppTest, WinInitNamesApplicationAfterExecutable) {
    EXPECT_FALSE(AfxWinInit(GetModuleHandleA(NULL), NULL, NULL, 0)) << "no application object";
    struct Case {
        const char* appName;    // given to the constructor
        const char* exeName;    // set before AfxWinInit
        const char* wantApp;
        const char* wantExe;
    };
    const Case cases[] = {
        {nullptr, nullptr, "platform_tests", "platform_tests"},
        {"Given", nullptr, "Given", "platform_tests"},
        {nullptr, "D:\\Apps\\Zelvo_UI.exe", "D:\\Apps\\Zelvo_UI.exe", "D:\\Apps\\Zelvo_UI.exe"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        CWinApp app(c.appName);
        if (c.exeName != nullptr) app.m_pszExeName = _strdup(c.exeName);
        char cmdLine[] = "--flag";
        const HINSTANCE hInstance = GetModuleHandleA(NULL);
        ASSERT_TRUE(AfxWinInit(hInstance, NULL, cmdLine, 5)) << "case " << i;
        EXPECT_STREQ(app.m_pszAppName, c.wantApp) << "case " << i;
        EXPECT_STREQ(app.m_pszExeName, c.wantExe) << "case " << i;
        EXPECT_EQ(AfxGetModuleState()->m_lpszCurrentAppName, app.m_pszAppName) << "case " << i;
        EXPECT_EQ(app.m_hInstance, hInstance) << "case " << i;
        EXPECT_EQ(AfxGetInstanceHandle(), hInstance) << "case " << i;
        EXPECT_EQ(AfxGetResourceHandle(), hInstance) << "case " << i;
        EXPECT_EQ(app.m_lpCmdLine, cmdLine) << "case " << i;
        EXPECT_EQ(app.m_nCmdShow, 5) << "case " << i;
    }
    // The module state forgets a name that died with its application.
    EXPECT_EQ(AfxGetModuleState()->m_lpszCurrentAppName, nullptr);
}

// AFX_MANAGE_STATE acts on the calling thread only, nests, and restores.
TEST_F(WinAppTest, ManageStateSwitchesForScopeOnThisThread) {
    CWinApp app("Main");
    AFX_MODULE_STATE other;
    AFX_MODULE_STATE* const appState = AfxGetAppModuleState();
    ASSERT_EQ(AfxGetModuleState(), appState);
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetModuleState(), &other);
        EXPECT_EQ(AfxGetApp(), nullptr);
        EXPECT_EQ(AfxGetAppModuleState(), appState);
        CWinApp* seenElsewhere = nullptr;
        std::thread([&] { seenElsewhere = AfxGetApp(); }).join();
        EXPECT_EQ(seenElsewhere, &app);
        {
            AFX_MANAGE_STATE(AfxGetAppModuleState());
            EXPECT_EQ(AfxGetApp(), &app);
        }
        EXPECT_EQ(AfxGetModuleState(), &other);
    }
    EXPECT_EQ(AfxGetModuleState(), appState);
    EXPECT_EQ(AfxGetApp(), &app);
}

}  // namespace
