// kernel32 share modes: a second open of a file is refused (error 32) when
// its access or its sharing conflicts with an open handle's. Win32 API only.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel_test_support.h"
#include "support/testutil.h"

namespace {

using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

constexpr DWORD R = GENERIC_READ;
constexpr DWORD W = GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ;
constexpr DWORD SW = FILE_SHARE_WRITE;

TEST(KernelShareTest, SecondOpenMeetsTheFirstOnesSharing) {
    struct Case { DWORD access1, share1, access2, share2; bool ok; };
    const Case cases[] = {
        {R, SR, R, SR, true},           {R, SR, W, SR | SW, false},  {W, SR, R, SR | SW, true},
        {W, SR | SW, R, SR, false},     {W, SR | SW, R, SR | SW, true}, {W, SR | SW, W, SR | SW, true},
        {R, 0, R, SR | SW, false},      {R | W, SR | SW, R, SR, false}, {R, SR, R, SW, false},
        {W, SR, W, SR | SW, false},     {R, SR | SW, W, SR, true},
        {0, 0, R | W, 0, true},         {R, SR | SW, 0, 0, true},     {W, SW, W, SW, true},
        {R, SW, W, SR, true},           {R, SW, R | W, SR, false},
        // A writer that denies writing holds both kinds whole.
        {W, SR, R, SR, false},          {R | W, SR, R, SR | SW, true}, {W, 0, R, SR | SW, false},
        {R, SR | SW, R | W, 0, false},  {R | W, 0, W, 0, false},
    };
    TempDir dir;
    const std::string path = dir.file("f");
    WriteFileBytes(path, "kept");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        HANDLE first = CreateFileA(path.c_str(), c.access1, c.share1, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(first, INVALID_HANDLE_VALUE) << "case " << i;
        SetLastError(0xdeadbeef);
        // TRUNCATE_EXISTING would empty the file: a refused open must not.
        const DWORD disposition = (c.access2 & W) ? TRUNCATE_EXISTING : OPEN_EXISTING;
        HANDLE second = CreateFileA(path.c_str(), c.access2, c.share2, nullptr, disposition, 0, nullptr);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.ok) << "case " << i;
        if (second != INVALID_HANDLE_VALUE) {
            CloseHandle(second);
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "case " << i;
        }
        CloseHandle(first);
        // Read once the first handle is gone: it may refuse readers too.
        if (second == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(ReadFileBytes(path), "kept") << "case " << i;
        }
        WriteFileBytes(path, "kept");
    }
    // A refused open takes back only its own marks: the holder still refuses.
    HANDLE holder = CreateFileA(path.c_str(), W, SR, nullptr, OPEN_EXISTING, 0, nullptr);
    for (DWORD share : {SR, SR | SW}) {
        EXPECT_EQ(CreateFileA(path.c_str(), W, share, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
        EXPECT_EQ(CreateFileA(path.c_str(), W, share, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    }
    CloseHandle(holder);
    // Closed handles refuse nothing.
    HANDLE again = CreateFileA(path.c_str(), W, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

}  // namespace
