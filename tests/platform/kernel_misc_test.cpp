// kernel32 time conversion, process and thread identity, environment,
// string helpers, modules; user32's window-handle check. Win32 API only.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "support/testutil.h"
#include "support/wine.h"

namespace {

ULONGLONG Ticks(const FILETIME& ft) {
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG t) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

TEST(KernelTimeTest, SystemTimeAndFileTimeConvertBothWays) {
    // st: year, month, day of week, day, hour, minute, second, ms
    struct Case { SYSTEMTIME st; ULONGLONG ticks; };
    const Case cases[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0ull},
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ull},
        {{2000, 2, 2, 29, 12, 34, 56, 789}, 125963012967890000ull},
        {{2038, 1, 2, 19, 3, 14, 8, 0}, 137919572480000000ull},
        {{9999, 12, 5, 31, 23, 59, 59, 999}, 2650467743999990000ull},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft)) << "case " << i;
        EXPECT_EQ(Ticks(ft), c.ticks) << "case " << i;
        SYSTEMTIME back;
        const FILETIME in = FromTicks(c.ticks);
        ASSERT_TRUE(FileTimeToSystemTime(&in, &back)) << "case " << i;
        EXPECT_EQ(std::memcmp(&back, &c.st, sizeof back), 0)
            << "case " << i << ": " << back.wYear << "-" << back.wMonth << "-" << back.wDay << " dow "
            << back.wDayOfWeek << " " << back.wHour << ":" << back.wMinute << ":" << back.wSecond << "."
            << back.wMilliseconds;
    }
}

TEST(KernelTimeTest, InvalidTimesAreRefused) {
    // Microsoft documents that a leap day carried into a year without one
    // makes SystemTimeToFileTime fail.
    const char* const kWineLeap = "Wine takes February 29 in any year";
    // wine: why Wine accepts it
    struct Case { SYSTEMTIME st; const char* wine = nullptr; };
    const Case cases[] = {
        {{2001, 13, 0, 1, 0, 0, 0, 0}},           {{2001, 0, 0, 1, 0, 0, 0, 0}},
        {{2001, 2, 0, 29, 0, 0, 0, 0}, kWineLeap}, {{1900, 2, 0, 29, 0, 0, 0, 0}, kWineLeap},
        {{2001, 4, 0, 31, 0, 0, 0, 0}},           {{2001, 1, 0, 1, 24, 0, 0, 0}},
        {{2001, 1, 0, 1, 0, 60, 0, 0}},           {{2001, 1, 0, 1, 0, 0, 60, 0}},
        {{2001, 1, 0, 1, 0, 0, 0, 1000}},         {{1600, 12, 0, 31, 0, 0, 0, 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        FILETIME ft;
        SetLastError(0xdeadbeef);
        TODO_WINE_EXPECT_FALSE(SystemTimeToFileTime(&cases[i].st, &ft), cases[i].wine) << "case " << i;
        TODO_WINE_EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError(), cases[i].wine)
            << "case " << i;
    }
    const FILETIME huge = FromTicks(0x8000000000000000ull);
    SYSTEMTIME st;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(FileTimeToSystemTime(&huge, &st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(KernelTimeTest, ClocksAgreeWithEachOther) {
    FILETIME before, after, fromSystem;
    SYSTEMTIME st;
    GetSystemTimeAsFileTime(&before);
    GetSystemTime(&st);
    GetSystemTimeAsFileTime(&after);
    ASSERT_TRUE(SystemTimeToFileTime(&st, &fromSystem));
    // GetSystemTime drops everything below a millisecond.
    EXPECT_LE(Ticks(before), Ticks(fromSystem) + 10000);
    EXPECT_LE(Ticks(fromSystem), Ticks(after));

    FILETIME local, back;
    ASSERT_TRUE(FileTimeToLocalFileTime(&before, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(Ticks(back), Ticks(before));
}

// Each thread has its own id and last error. The threads meet in steps over
// an atomic, so each reads its last error while the other is alive and
// after the other has set its own; nothing depends on what the thread
// library does to the last error when it starts or joins a thread.
TEST(KernelProcessTest, ThreadsHaveTheirOwnIdAndLastError) {
    const DWORD mine = GetCurrentThreadId();
    std::atomic<int> step{0};
    DWORD otherId = mine;
    DWORD otherError = 0;
    const auto waitFor = [&](int n) {
        while (step.load() != n) {
            std::this_thread::yield();
        }
    };
    std::thread other([&] {
        otherId = GetCurrentThreadId();
        waitFor(1);
        SetLastError(42);
        step = 2;
        waitFor(3);
        otherError = GetLastError();
    });
    SetLastError(1234);
    step = 1;
    waitFor(2);
    EXPECT_EQ(GetLastError(), 1234u);
    SetLastError(7);
    step = 3;
    other.join();
    EXPECT_EQ(otherError, 42u);
    EXPECT_NE(otherId, mine);
    EXPECT_EQ(GetCurrentThreadId(), mine);
    EXPECT_NE(GetCurrentProcessId(), 0u);
}

TEST(KernelProcessTest, MissingEnvironmentVariable) {
    char buf[16] = "untouched";
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetEnvironmentVariableA("XWTH_SURELY_NOT_SET_ANYWHERE", buf, sizeof buf), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

TEST(KernelStringTest, CopyCompareLength) {
    struct Copy { int max; const char* want; };
    const Copy copies[] = {{10, "hello"}, {6, "hello"}, {5, "hell"}, {1, ""}};
    for (std::size_t i = 0; i < std::size(copies); ++i) {
        char buf[16];
        std::memset(buf, 'z', sizeof buf);
        EXPECT_EQ(lstrcpynA(buf, "hello", copies[i].max), buf) << "case " << i;
        EXPECT_STREQ(buf, copies[i].want) << "case " << i;
    }
    struct Compare { const char* a; const char* b; int sign; };
    const Compare compares[] = {{"abc", "ABC", 0}, {"a", "B", -1}, {"B", "a", 1}, {"abc", "abcd", -1}, {"", "", 0}};
    for (std::size_t i = 0; i < std::size(compares); ++i) {
        const int r = lstrcmpiA(compares[i].a, compares[i].b);
        EXPECT_EQ((r > 0) - (r < 0), compares[i].sign) << "case " << i;
    }
    EXPECT_EQ(lstrlenA("four"), 4);
    EXPECT_EQ(lstrlenA(nullptr), 0);
}

void FunctionInTheProgram() {}

TEST(KernelModuleTest, ProgramModuleAndItsFile) {
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    char viaNull[4096], viaHandle[4096];
    const DWORD len = GetModuleFileNameA(nullptr, viaNull, sizeof viaNull);
    ASSERT_GT(len, 0u);
    EXPECT_EQ(GetModuleFileNameA(program, viaHandle, sizeof viaHandle), len);
    EXPECT_STREQ(viaHandle, viaNull);
    EXPECT_TRUE(xwth_test::FileExists(viaNull));

    // Too small: Microsoft documents the path cut to nSize characters with
    // the NUL (since Windows Vista), nSize returned and the error set.
    char small[8];
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), static_cast<DWORD>(sizeof small));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    TODO_WINE_EXPECT_EQ(std::string(viaNull, sizeof small - 1), std::string(small, strnlen(small, sizeof small)),
                        "Wine fills the buffer without a NUL, as Windows XP did");

    HMODULE fromAddress = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(&FunctionInTheProgram), &fromAddress));
    EXPECT_EQ(fromAddress, program);
}

TEST(KernelModuleTest, ModuleOfALibraryFunctionAndUnknownModules) {
    HMODULE library = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(&GetLastError), &library));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library, GetModuleHandleA(nullptr));
    char path[4096], program[4096];
    ASSERT_GT(GetModuleFileNameA(library, path, sizeof path), 0u);
    ASSERT_GT(GetModuleFileNameA(nullptr, program, sizeof program), 0u);
    EXPECT_STRNE(path, program);
    EXPECT_TRUE(xwth_test::FileExists(path));

    int onTheStack = 0;
    HMODULE none = reinterpret_cast<HMODULE>(1);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                    reinterpret_cast<LPCSTR>(&onTheStack), &none));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(none, nullptr);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x7777000)), path, sizeof path), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(KernelHandleTest, UnknownWindowHandle) {
    const HWND windows[] = {reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234)),
                            reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xdead0000))};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(SetForegroundWindow(windows[i])) << "case " << i;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE)) << "case " << i;
    }
}

}  // namespace
