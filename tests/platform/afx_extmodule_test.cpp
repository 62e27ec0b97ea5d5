// Extension modules: registration of CDynLinkLibrary objects in the module
// state and their removal.
#include <vector>

#include <afx.h>

#include "afx_test_support.h"

namespace {

HMODULE FakeModule(ULONG_PTR n) {
    return reinterpret_cast<HMODULE>(n);
}

// Newest first.
std::vector<ULONG_PTR> RegisteredModules() {
    std::vector<ULONG_PTR> modules;
    for (CDynLinkLibrary* pDLL = AfxGetModuleState()->m_libraryList; pDLL != NULL; pDLL = pDLL->m_pNextDLL)
        modules.push_back(reinterpret_cast<ULONG_PTR>(pDLL->m_hModule));
    return modules;
}

// Each test leaves the module state as it found it.
class ExtensionModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxGetModuleState()->m_libraryList.IsEmpty()); }
    void TearDown() override {
        AfxSetResourceHandle(m_hOldResource);
        EXPECT_TRUE(AfxGetModuleState()->m_libraryList.IsEmpty());
    }
    HINSTANCE m_hOldResource = AfxGetResourceHandle();
};

// Term deletes (and the leak checker sees freed) every library of its module.
TEST_F(ExtensionModuleTest, LibrariesRegisterAndTermDeletesThem) {
    AFX_EXTENSION_MODULE first = {}, second = {}, never = {};
    ASSERT_TRUE(AfxInitExtensionModule(first, FakeModule(0x1000)));
    EXPECT_TRUE(AfxInitExtensionModule(first, FakeModule(0x3000)));  // the second call changes nothing
    ASSERT_TRUE(AfxInitExtensionModule(second, FakeModule(0x2000)));
    second.hResource = FakeModule(0x2100);  // resources in a satellite module
    new CDynLinkLibrary(first);
    new CDynLinkLibrary(second);
    new CDynLinkLibrary(first, TRUE);
    new CDynLinkLibrary(FakeModule(0x4000), FakeModule(0x4100));
    EXPECT_EQ(RegisteredModules(), (std::vector<ULONG_PTR>{0x4000, 0x1000, 0x2000, 0x1000}));

    AfxTermExtensionModule(first);
    EXPECT_EQ(RegisteredModules(), (std::vector<ULONG_PTR>{0x4000, 0x2000}));
    AfxTermExtensionModule(never, TRUE);  // an uninitialised record does nothing, even with bAll
    EXPECT_EQ(RegisteredModules().size(), 2u);
    AfxTermExtensionModule(second, TRUE);  // bAll: every library
    EXPECT_TRUE(RegisteredModules().empty());
}

TEST_F(ExtensionModuleTest, DeletingALibraryUnlinksIt) {
    CDynLinkLibrary* pA = new CDynLinkLibrary(FakeModule(0x5000), FakeModule(0x5000));
    CDynLinkLibrary* pB = new CDynLinkLibrary(FakeModule(0x6000), FakeModule(0x6000));
    CDynLinkLibrary* pC = new CDynLinkLibrary(FakeModule(0x7000), FakeModule(0x7000));
    EXPECT_TRUE(pB->IsKindOf(RUNTIME_CLASS(CDynLinkLibrary)));
    delete pB;  // from the middle
    EXPECT_EQ(RegisteredModules(), (std::vector<ULONG_PTR>{0x7000, 0x5000}));
    delete pC;
    delete pA;
    EXPECT_TRUE(RegisteredModules().empty());
}

}  // namespace
