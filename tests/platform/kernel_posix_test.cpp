// kernel32 behaviour that depends on the POSIX environment: $TMPDIR, $TZ,
// environment variables, process identity, errno mapping, module paths.
// POSIX build only.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/kernel_test_support.h"
#include "support/testutil.h"

namespace {

using xwth_test::EnvGuard;
using xwth_test::Returns;
using xwth_test::TempDir;
using xwth_test::Ticks;

TEST(KernelPosixTest, TempPathFollowsTmpdir) {
    struct Case { const char* tmpdir; const char* want; };
    const Case cases[] = {{"/some/where", "/some/where/"}, {"/some/where/", "/some/where/"}, {nullptr, "/tmp/"}, {"", "/tmp/"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EnvGuard guard("TMPDIR", cases[i].tmpdir);
        char buf[64];
        EXPECT_EQ(GetTempPathA(sizeof buf, buf), std::strlen(cases[i].want)) << "case " << i;
        EXPECT_STREQ(buf, cases[i].want) << "case " << i;
    }
}

TEST(KernelPosixTest, LocalFileTimeUsesTz) {
    EnvGuard guard("TZ", "XWT-3");  // three hours east of UTC, no daylight saving
    const FILETIME utc = {0x12345678u, 0x01d00000u};
    FILETIME local, back;
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    EXPECT_EQ(Ticks(local) - Ticks(utc), 3ull * 3600 * 10000000);
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(Ticks(back), Ticks(utc));

    SYSTEMTIME st, lt;
    GetSystemTime(&st);
    GetLocalTime(&lt);
    FILETIME a, b;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &a));
    ASSERT_TRUE(SystemTimeToFileTime(&lt, &b));
    const LONGLONG diff = static_cast<LONGLONG>(Ticks(b) - Ticks(a)) - 3LL * 3600 * 10000000;
    EXPECT_LT(diff < 0 ? -diff : diff, 10000000LL) << "local time is three hours on";
}

TEST(KernelPosixTest, EnvironmentVariableBufferSizes) {
    EnvGuard guard("XWTH_TEST_VALUE", "hello");
    // want: nullptr: untouched
    struct Case { DWORD size; DWORD ret; const char* want; };
    const Case cases[] = {{32, 5, "hello"}, {6, 5, "hello"}, {5, 6, nullptr}, {0, 6, nullptr}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        char buf[32] = "kumquat";
        EXPECT_EQ(GetEnvironmentVariableA("XWTH_TEST_VALUE", buf, cases[i].size), cases[i].ret) << "case " << i;
        EXPECT_STREQ(buf, cases[i].want != nullptr ? cases[i].want : "kumquat") << "case " << i;
    }
    EnvGuard empty("XWTH_TEST_EMPTY", "");
    char buf[4];
    EXPECT_EQ(WITH_LAST_ERROR(GetEnvironmentVariableA("XWTH_TEST_EMPTY", buf, sizeof buf)), Returns(0u, ERROR_SUCCESS));
}

TEST(KernelPosixTest, DebugOutputOnlyWhenAsked) {
    {
        EnvGuard off("WINPORT_DEBUG", nullptr);
        testing::internal::CaptureStderr();
        OutputDebugStringA("quiet\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EnvGuard on("WINPORT_DEBUG", "1");
    testing::internal::CaptureStderr();
    OutputDebugStringA("loud\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "loud\n");
}

TEST(KernelPosixTest, ErrnoMappingOfNamesAndFiles) {
    TempDir dir;
    xwth_test::WriteFileBytes(dir.file("file"), "x");
    struct Case { std::string path; DWORD error; };
    const Case cases[] = {
        {dir.file(std::string(300, 'n')), ERROR_FILENAME_EXCED_RANGE},
        {dir.file("file") + "/below", ERROR_PATH_NOT_FOUND},  // a file where a folder should be
        {"", ERROR_PATH_NOT_FOUND},
        {dir.path(), ERROR_ACCESS_DENIED},  // a folder opens only with FILE_FLAG_BACKUP_SEMANTICS
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const char* path = cases[i].path.c_str();
        EXPECT_EQ(WITH_LAST_ERROR(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)),
                  Returns(INVALID_HANDLE_VALUE, cases[i].error)) << "case " << i;
    }
    HANDLE h = CreateFileA(dir.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
}

// A closed find handle is refused until its value is handed out again (Wine
// answers TRUE; on Windows the value may be reused at once).
TEST(KernelPosixTest, ClosedFindHandleIsRefused) {
    TempDir dir;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir.path() + "/*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(FindClose(find));
    EXPECT_EQ(WITH_LAST_ERROR(FindNextFileA(find, &fd)), Returns(FALSE, ERROR_INVALID_HANDLE));
    EXPECT_EQ(WITH_LAST_ERROR(FindClose(find)), Returns(FALSE, ERROR_INVALID_HANDLE));
}

TEST(KernelPosixTest, DeleteOnCloseRemovesTheFile) {
    TempDir dir;
    const std::string path = dir.file("scratch.tmp");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(xwth_test::FileExists(path));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(xwth_test::FileExists(path));
}

TEST(KernelPosixTest, ModulePathsAreRealPaths) {
    char exe[PATH_MAX] = {};
    ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    char got[PATH_MAX];
    ASSERT_GT(GetModuleFileNameA(nullptr, got, sizeof got), 0u);
    EXPECT_STREQ(got, exe);

    HMODULE library = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(&CreateFileA), &library));
    ASSERT_GT(GetModuleFileNameA(library, got, sizeof got), 0u);
    const std::string path = got;
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "libwinport.so");
    EXPECT_EQ(GetModuleHandleA("winport"), library);
    EXPECT_EQ(GetModuleHandleA("libwinport.so"), library);
    EXPECT_EQ(WITH_LAST_ERROR(GetModuleHandleA("surely-not-loaded.dll")), Returns(HMODULE{}, ERROR_MOD_NOT_FOUND));
}

}  // namespace
