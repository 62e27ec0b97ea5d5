// Broken bitmap and icon resources: a module whose picture headers lie about
// their sizes, depths or members fails the load with a clear error and never
// reads outside the resource (the ASan build proves the second half).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel_test_support.h"
#include "support/resfixtures.h"
#include "support/testutil.h"

using xwth_test::Returns;

namespace {

// The headers as the fixture module holds them (see make_images.py).
const std::string kBits8Header("\x28\0\0\0\x08\0\0\0\x04\0\0\0\x01\0\x08\0", 16);
const std::string kIconHeader("\x28\0\0\0\x10\0\0\0\x20\0\0\0\x01\0\x20\0", 16);
// The icon group: header and the start of its one entry (the RT_ICON id follows at 18).
const std::string kIconGroup("\0\0\x01\0\x01\0\x10\x10\0\0\x01\0\x20\0", 14);

std::string Le32(std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

}  // namespace

TEST(LoadImageBrokenTest, LyingHeadersFailCleanly) {
    const std::string module = xwth_test::ReadFileBytes(xwth_test::FixtureModule("resmod_a.dll"));
    ASSERT_FALSE(module.empty());
    const struct {
        const std::string& pattern;
        std::size_t at;      // offset of the patch inside the pattern
        std::string bytes;
        LPCSTR name;
        UINT type;
        DWORD error;
    } cases[] = {
        {kBits8Header, 4, Le32(0x7FFFFFFF), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},  // width
        {kBits8Header, 4, Le32(4000), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},        // rows past the end
        {kBits8Header, 8, Le32(4000), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},
        {kBits8Header, 8, Le32(0), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},
        {kBits8Header, 8, Le32(0x80000000u), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},
        {kBits8Header, 0, Le32(0xFFFFFFF0u), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},  // header size
        {kBits8Header, 0, Le32(12), "BITS8", IMAGE_BITMAP, ERROR_NOT_SUPPORTED},          // an OS/2 header
        {kBits8Header, 14, std::string("\x03\0", 2), "BITS8", IMAGE_BITMAP, ERROR_NOT_SUPPORTED},
        {kBits8Header, 12, std::string("\x02\0", 2), "BITS8", IMAGE_BITMAP, ERROR_INVALID_DATA},  // planes
        {kBits8Header, 0, std::string("\x28\0\0\0\x08\0\0\0\x04\0\0\0\x01\0\x08\0\x01\0\0\0", 20), "BITS8",
         IMAGE_BITMAP, ERROR_NOT_SUPPORTED},  // run-length compressed
        {kIconHeader, 8, Le32(31), "APP", IMAGE_ICON, ERROR_INVALID_DATA},    // odd: no room for the mask
        {kIconHeader, 8, Le32(64), "APP", IMAGE_ICON, ERROR_INVALID_DATA},    // rows past the end
        {kIconGroup, 4, std::string("\xFF\xFF", 2), "APP", IMAGE_ICON, ERROR_INVALID_DATA},  // member count
        {kIconGroup, 18, std::string("\x63\0", 2), "APP", IMAGE_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},  // member id
    };
    xwth_test::TempDir temp;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        std::string broken = module;
        int patched = 0;
        for (std::size_t at = broken.find(c.pattern); at != std::string::npos; at = broken.find(c.pattern, at + 1)) {
            broken.replace(at + c.at, c.bytes.size(), c.bytes);
            ++patched;
        }
        ASSERT_GT(patched, 0) << "case " << i;
        const std::string path = temp.file("broken" + std::to_string(i) + ".dll");
        xwth_test::WriteFileBytes(path, broken);
        HMODULE h = LoadLibraryA(path.c_str());
        ASSERT_NE(h, nullptr) << "case " << i;
        EXPECT_EQ(WITH_LAST_ERROR(LoadImageA(h, c.name, c.type, 0, 0, 0)), Returns<HANDLE>(NULL, c.error))
            << "case " << i;
        FreeLibrary(h);
    }
}
