// Loading the library registers it as an extension module of the framework.
#include <xwth/xwth.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "support/testutil.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        c = (char)std::tolower((unsigned char)c);
    }
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(DllMainTest, LibraryIsRegisteredAsExtensionModule) {
    // Use the library as a client does, so that the program really loads it.
    xwth_test::TempDir temp;
    xwth_test::SetEnv("XWTH_WININI", temp.file("win.ini").c_str());
    ASSERT_TRUE(WriteProfileStringA("Zelvo Fax Setup,FAX", "Spool Directory", temp.path().c_str()));
    {
        CFaxMessage message;
        EXPECT_TRUE(message.GetUseFaxCoverPage());
    }

    int found = 0;
    AFX_MODULE_STATE* state = AfxGetModuleState();
    for (CDynLinkLibrary* lib = state->m_libraryList.GetHead(); lib != NULL; lib = lib->m_pNextDLL) {
        char path[MAX_PATH] = {0};
        ASSERT_NE(GetModuleFileNameA(lib->m_hModule, path, MAX_PATH), 0u);
        const std::string name = Lower(path);
        if (EndsWith(name, "xwth.dll") || EndsWith(name, "libxwth.so")) {
            ++found;
            EXPECT_EQ(lib->m_hResource, lib->m_hModule) << "resources come from the library itself";
        }
    }
    EXPECT_EQ(found, 1);
}

}  // namespace
