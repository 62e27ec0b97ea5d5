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

TEST(CrtTest, MkdirAndRmdir) {
    TempDir dir;
    const std::string sub = dir.path() + "\\sub";
    ASSERT_EQ(_mkdir(sub.c_str()), 0);
    EXPECT_TRUE(FileExists(dir.file("sub")));
    WriteFileBytes(dir.file("sub") + "/inner.txt", "x");

    struct Case {
        int (*call)(const char*);
        std::string path;
        int err;
    };
    const Case cases[] = {
        {_mkdir, sub, EEXIST},
        {_mkdir, dir.file("nofolder") + "\\deeper", ENOENT},
        {_rmdir, sub, kWindowsENOTEMPTY},
        {_rmdir, dir.file("missing"), ENOENT},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        errno = 0;
        EXPECT_EQ(cases[i].call(cases[i].path.c_str()), -1) << "case " << i;
        EXPECT_EQ(errno, cases[i].err) << "case " << i;
    }
    ASSERT_TRUE(DeleteFileA((sub + "\\inner.txt").c_str()));
    EXPECT_EQ(_rmdir(sub.c_str()), 0);
    EXPECT_FALSE(FileExists(dir.file("sub")));
}

TEST(CrtTest, AccessModes) {
    TempDir dir;
    const std::string file = dir.file("rw.txt");
    const std::string locked = dir.file("ro.txt");
    WriteFileBytes(file, "x");
    WriteFileBytes(locked, "x");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    struct Case {
        std::string path;
        int mode;
        int err;  // 0: allowed
    };
    const Case cases[] = {
        {file, 0, 0},         {file, 2, 0},          {file, 4, 0},          {file, 6, 0},
        {locked, 0, 0},       {locked, 4, 0},        {locked, 2, EACCES},   {locked, 6, EACCES},
        {dir.path(), 0, 0},   {dir.path(), 6, 0},    {dir.file("gone"), 0, ENOENT},
        {dir.file("gone") + "\\deeper", 4, ENOENT},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        errno = 0;
        const int r = _access(cases[i].path.c_str(), cases[i].mode);
        EXPECT_EQ(r, cases[i].err == 0 ? 0 : -1) << "case " << i;
        if (cases[i].err != 0) {
            EXPECT_EQ(errno, cases[i].err) << "case " << i;
        }
    }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
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

    errno = 0;
    EXPECT_EQ(_chdir(dir.file("missing").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_chdir(saved), 0);
}

}  // namespace
