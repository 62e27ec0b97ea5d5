// winport's PNG output of bitmaps and the screen.
#include <windows.h>
#include <winport.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/testutil.h"

namespace {

// Width and height from the IHDR chunk, after the 8-byte signature.
std::pair<int, int> PngSize(const std::string& bytes) {
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    return {be32(16), be32(20)};
}

}  // namespace

TEST(GdiPngTest, SavesBitmapsAndTheScreenAndNothingOnFailure) {
    xwth_test::TempDir dir;
    HBITMAP mono = CreateBitmap(13, 7, 1, 1, nullptr);
    const std::string path = dir.file("mono.png");
    ASSERT_TRUE(WpSaveBitmapAsPng(mono, path.c_str()));
    const std::string bytes = xwth_test::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(PngSize(bytes), std::make_pair(13, 7));

    ASSERT_TRUE(WpSaveScreenAsPng(dir.file("screen.png").c_str()));
    EXPECT_EQ(PngSize(xwth_test::ReadFileBytes(dir.file("screen.png"))), std::make_pair(1024, 768));

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WpSaveBitmapAsPng(mono, dir.file("missing\\x.png").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WpSaveBitmapAsPng(reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH)), path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    DeleteObject(mono);
    // Only the two pictures: no temporary file left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 2);
}
