// C runtime _mkdir, _rmdir, _chdir, _getcwd, _access: results and errno as
// the Windows runtime numbers them. C runtime and Win32 API only.
#include <direct.h>
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

using xwth_test::FileExists;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

// The Windows runtime's number for "folder not empty" (Linux's ENOTEMPTY is 39).
constexpr int kWindowsENOTEMPTY = 41;

TEST(CrtTest, FolderCallsAndTheirErrno) {
    TempDir dir;
    const std::string sub = dir.path() + "\\sub";
    const std::string file = dir.file("rw.txt");
    const std::string locked = dir.file("ro.txt");
    ASSERT_EQ(_mkdir(sub.c_str()), 0);
    WriteFileBytes(dir.file("sub") + "/inner.txt", "x");
    WriteFileBytes(file, "x");
    WriteFileBytes(locked, "x");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto mkdir = [](const char* p, int) { return _mkdir(p); };
    const auto rmdir = [](const char* p, int) { return _rmdir(p); };
    const auto chdir = [](const char* p, int) { return _chdir(p); };
    // err 0: the call succeeds
    struct Case { int (*call)(const char*, int); std::string path; int mode; int err; };
    const Case cases[] = {
        {mkdir, sub, 0, EEXIST},       {mkdir, dir.file("nofolder") + "\\deeper", 0, ENOENT},
        {rmdir, sub, 0, kWindowsENOTEMPTY}, {rmdir, dir.file("missing"), 0, ENOENT},
        {chdir, dir.file("missing"), 0, ENOENT},
        {_access, file, 0, 0},         {_access, file, 2, 0},      {_access, file, 4, 0},
        {_access, file, 6, 0},         {_access, locked, 0, 0},    {_access, locked, 4, 0},
        {_access, locked, 2, EACCES},  {_access, locked, 6, EACCES}, {_access, dir.path(), 0, 0},
        {_access, dir.path(), 6, 0},   {_access, dir.file("gone"), 0, ENOENT},
        {_access, dir.file("gone") + "\\deeper", 4, ENOENT},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        errno = 0;
        EXPECT_EQ(cases[i].call(cases[i].path.c_str(), cases[i].mode), cases[i].err == 0 ? 0 : -1) << "case " << i;
        EXPECT_EQ(errno, cases[i].err) << "case " << i;
    }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA((sub + "\\inner.txt").c_str()));
    EXPECT_EQ(_rmdir(sub.c_str()), 0);
    EXPECT_FALSE(FileExists(dir.file("sub")));
}

TEST(CrtTest, ChdirAndGetcwdBufferSizes) {
    TempDir dir;
    char saved[4096];
    ASSERT_NE(_getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(_chdir(dir.path().c_str()), 0);
    const std::size_t len = dir.path().size();

    std::vector<char> exact(len + 1);
    EXPECT_EQ(_getcwd(exact.data(), static_cast<int>(len + 1)), exact.data());
    EXPECT_EQ(std::strlen(exact.data()), len);
    std::vector<char> small(len);
    errno = 0;
    EXPECT_EQ(_getcwd(small.data(), static_cast<int>(len)), nullptr);
    EXPECT_EQ(errno, ERANGE);
    char* allocated = _getcwd(nullptr, 0);
    ASSERT_NE(allocated, nullptr);
    EXPECT_STREQ(allocated, exact.data());
    std::free(allocated);
    EXPECT_EQ(_chdir(saved), 0);
}

}  // namespace
