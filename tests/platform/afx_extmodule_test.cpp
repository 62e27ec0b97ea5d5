// Extension modules: registration of CDynLinkLibrary objects in the module
// state, their removal, and the resource handle lookups over them.
#include <vector>

#include <afx.h>
#include <afxwin.h>

#include "afx_test_support.h"

namespace {

HMODULE FakeModule(ULONG_PTR n) {
    return reinterpret_cast<HMODULE>(n);
}

std::vector<HMODULE> RegisteredModules() {
    std::vector<HMODULE> modules;
    const AFX_MODULE_STATE* pState = AfxGetModuleState();
    for (CDynLinkLibrary* pDLL = pState->m_libraryList; pDLL != NULL; pDLL = pDLL->m_pNextDLL)
        modules.push_back(pDLL->m_hModule);
    return modules;
}

// Each test leaves the module state as it found it.
class ExtensionModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxGetModuleState()->m_libraryList.IsEmpty());
        m_hOldResource = AfxGetResourceHandle();
    }
    void TearDown() override {
        AfxSetResourceHandle(m_hOldResource);
        EXPECT_TRUE(AfxGetModuleState()->m_libraryList.IsEmpty());
    }
    HINSTANCE m_hOldResource = NULL;
};

TEST_F(ExtensionModuleTest, InitRecordsTheModuleOnce) {
    AFX_EXTENSION_MODULE state = {};
    EXPECT_TRUE(AfxInitExtensionModule(state, FakeModule(0x1000)));
    EXPECT_TRUE(state.bInitialized);
    EXPECT_EQ(state.hModule, FakeModule(0x1000));
    EXPECT_EQ(state.hResource, FakeModule(0x1000));
    EXPECT_TRUE(AfxInitExtensionModule(state, FakeModule(0x2000)));
    EXPECT_EQ(state.hModule, FakeModule(0x1000));  // the second call changes nothing
    AfxTermExtensionModule(state);
}

TEST_F(ExtensionModuleTest, LibrariesRegisterAndTermDeletesThem) {
    AFX_EXTENSION_MODULE first = {};
    AFX_EXTENSION_MODULE second = {};
    ASSERT_TRUE(AfxInitExtensionModule(first, FakeModule(0x1000)));
    ASSERT_TRUE(AfxInitExtensionModule(second, FakeModule(0x2000)));
    second.hResource = FakeModule(0x2100);  // resources in a satellite module

    CDynLinkLibrary* pFirst = new CDynLinkLibrary(first);
    EXPECT_EQ(pFirst->m_hModule, FakeModule(0x1000));
    EXPECT_EQ(pFirst->m_hResource, FakeModule(0x1000));
    EXPECT_TRUE(pFirst->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
    new CDynLinkLibrary(second);
    new CDynLinkLibrary(first, TRUE);
    EXPECT_EQ(RegisteredModules(),
              (std::vector<HMODULE>{FakeModule(0x1000), FakeModule(0x2000), FakeModule(0x1000)}));  // newest first
    EXPECT_EQ(AfxGetModuleState()->m_libraryList.GetCount(), 3);

    // Both of first's libraries go, and are freed (the leak checker sees it).
    AfxTermExtensionModule(first);
    EXPECT_EQ(RegisteredModules(), (std::vector<HMODULE>{FakeModule(0x2000)}));
    EXPECT_EQ(AfxFindResourceHandle("NAME", "TYPE"), FakeModule(0x2100));

    AfxTermExtensionModule(second);
    EXPECT_TRUE(RegisteredModules().empty());
}

TEST_F(ExtensionModuleTest, TermAllAndUninitialisedRecords) {
    AFX_EXTENSION_MODULE state = {};
    AFX_EXTENSION_MODULE other = {};
    AfxTermExtensionModule(state);  // never initialised: nothing to do
    ASSERT_TRUE(AfxInitExtensionModule(state, FakeModule(0x3000)));
    new CDynLinkLibrary(state);
    new CDynLinkLibrary(FakeModule(0x4000), FakeModule(0x4100));
    AfxTermExtensionModule(other, TRUE);  // an uninitialised record does nothing, even with bAll
    EXPECT_EQ(RegisteredModules().size(), 2u);
    AfxTermExtensionModule(state, TRUE);
    EXPECT_TRUE(RegisteredModules().empty());
}

TEST_F(ExtensionModuleTest, DeletingALibraryUnlinksIt) {
    AFX_EXTENSION_MODULE state = {};
    ASSERT_TRUE(AfxInitExtensionModule(state, FakeModule(0x5000)));
    CDynLinkLibrary* pA = new CDynLinkLibrary(state);
    CDynLinkLibrary* pB = new CDynLinkLibrary(FakeModule(0x6000), FakeModule(0x6000));
    CDynLinkLibrary* pC = new CDynLinkLibrary(FakeModule(0x7000), FakeModule(0x7000));
    delete pB;  // from the middle
    EXPECT_EQ(RegisteredModules(), (std::vector<HMODULE>{FakeModule(0x7000), FakeModule(0x5000)}));
    delete pC;
    delete pA;
    EXPECT_TRUE(RegisteredModules().empty());
}

TEST_F(ExtensionModuleTest, ResourceHandleLookups) {
    AfxSetResourceHandle(FakeModule(0x9000));
    EXPECT_EQ(AfxGetResourceHandle(), FakeModule(0x9000));
    EXPECT_EQ(afxCurrentResourceHandle, FakeModule(0x9000));
    EXPECT_EQ(AfxFindResourceHandle("NAME", "TYPE"), FakeModule(0x9000));  // no extensions: the module's own

    AFX_EXTENSION_MODULE state = {};
    ASSERT_TRUE(AfxInitExtensionModule(state, FakeModule(0xA000)));
    new CDynLinkLibrary(state);
    EXPECT_EQ(AfxFindResourceHandle("NAME", "TYPE"), FakeModule(0xA000));
    AfxTermExtensionModule(state);
    EXPECT_EQ(AfxFindResourceHandle("NAME", "TYPE"), FakeModule(0x9000));
}

TEST(WndTest, HoldsAHandleWithoutOwningIt) {
    CObject* pObject = RUNTIME_CLASS(CWnd)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    CWnd* pWnd = static_cast<CWnd*>(pObject);
    EXPECT_EQ(pWnd->GetSafeHwnd(), nullptr);
    pWnd->m_hWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
    EXPECT_EQ(static_cast<HWND>(*pWnd), pWnd->m_hWnd);
    EXPECT_EQ(pWnd->GetSafeHwnd(), pWnd->m_hWnd);
    delete pObject;
}

}  // namespace
