// The documents folder behind SHGetSpecialFolderLocation(CSIDL_PERSONAL):
// the XDG user folder, $HOME/Documents, or $HOME, in a scratch home.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

using xwth_test::ScopedEnv;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

std::string FolderOf(int csidl, HRESULT* hr) {
    LPITEMIDLIST pidl = nullptr;
    *hr = SHGetSpecialFolderLocation(NULL, csidl, &pidl);
    if (FAILED(*hr)) return "(none)";
    char path[MAX_PATH];
    const BOOL ok = SHGetPathFromIDListA(pidl, path);
    ILFree(pidl);
    return ok ? path : "(no path)";
}

TEST(ShellFolderTest, DocumentsFolderByXdgRules) {
    const struct {
        const char* userDirs;         // ${config}/user-dirs.dirs, NULL for none
        std::vector<const char*> dirs;  // folders made under the scratch home
        bool configHome;              // XDG_CONFIG_HOME set to <scratch>/cfg
        const char* want;             // below the scratch home ("" is the home)
    } cases[] = {
        {nullptr, {}, false, ""},
        {nullptr, {"Documents"}, false, "/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n", {"Papers", "Documents"}, false, "/Papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n", {"Documents"}, false, "/Documents"},
        {"# c\nXDG_DESKTOP_DIR=\"$HOME/D\"\n XDG_DOCUMENTS_DIR=\"$HOME/\\\"Docs\\\"\"\n", {"\"Docs\"", "D"}, false, "/\"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"Papers\"\n", {"Papers"}, false, ""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B/\"\n", {"A", "B"}, false, "/B"},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n", {"Documents"}, false, "/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", {"Documents"}, false, ""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Cfg\"\n", {"Cfg"}, true, "/Cfg"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        TempDir scratch;
        const std::string home = scratch.file("home");
        std::filesystem::create_directories(home + "/.config");
        std::filesystem::create_directories(scratch.file("cfg"));
        for (const char* d : c.dirs) std::filesystem::create_directories(home + "/" + d);
        if (c.userDirs != nullptr) {
            WriteFileBytes((c.configHome ? scratch.file("cfg") : home + "/.config") + "/user-dirs.dirs", c.userDirs);
        }
        ScopedEnv envHome("HOME", (home + "/").c_str());
        ScopedEnv envConfig("XDG_CONFIG_HOME", c.configHome ? scratch.file("cfg").c_str() : nullptr);
        HRESULT hr = E_UNEXPECTED;
        EXPECT_EQ(FolderOf(CSIDL_PERSONAL, &hr), home + c.want) << "case " << i;
        EXPECT_EQ(hr, S_OK) << "case " << i;
        EXPECT_EQ(FolderOf(CSIDL_PROFILE, &hr), home) << "case " << i;
    }
}

TEST(ShellFolderTest, RefusesWhatItDoesNotKnow) {
    LPITEMIDLIST pidl = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_EQ(SHGetSpecialFolderLocation(NULL, 0x0010 /* the desktop */, &pidl), E_INVALIDARG);
    EXPECT_EQ(pidl, nullptr);
    EXPECT_EQ(SHGetSpecialFolderLocation(NULL, CSIDL_PERSONAL, nullptr), E_INVALIDARG);
    const unsigned char foreign[] = {6, 0, 'X', 'Y', 'Z', 'W', 0, 0};  // an item of another kind
    const std::string deep = "/tmp/" + std::string(300, 'd');          // no path that fits MAX_PATH
    ScopedEnv envDeep("HOME", deep.c_str());
    ASSERT_EQ(SHGetSpecialFolderLocation(NULL, CSIDL_PROFILE, &pidl), S_OK);
    for (LPCITEMIDLIST list : {LPCITEMIDLIST(nullptr), reinterpret_cast<LPCITEMIDLIST>(foreign), LPCITEMIDLIST(pidl)}) {
        char path[MAX_PATH] = "stale";
        EXPECT_FALSE(SHGetPathFromIDListA(list, path));
        EXPECT_STREQ(path, "");
    }
    CoTaskMemFree(pidl);
}

}  // namespace
