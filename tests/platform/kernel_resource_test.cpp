// Modules loaded from PE files and their resources: LoadLibraryA/ExA,
// FreeLibrary, GetModuleHandleA, FindResourceA, LoadResource, SizeofResource,
// LoadStringA, on DLLs built by the mingw-w64 resource tools.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel_test_support.h"
#include "support/resfixtures.h"
#include "support/testutil.h"

namespace {

using xwth_test::FixtureModule;
using xwth_test::Returns;

TEST(LoadLibraryTest, FailsTheWindowsWayForWhatIsNoModule) {
    xwth_test::TempDir temp;
    xwth_test::WriteFileBytes(temp.file("text.dll"), "just some text, no image");
    const std::string pe = xwth_test::ReadFileBytes(FixtureModule("resmod_b.dll"));
    ASSERT_GT(pe.size(), 0x200u);
    xwth_test::WriteFileBytes(temp.file("cut.dll"), pe.substr(0, 0x80));  // headers cut short
    std::string badSignature = pe;
    badSignature[static_cast<unsigned char>(pe[0x3C])] = 'X';
    xwth_test::WriteFileBytes(temp.file("sig.dll"), badSignature);
    ASSERT_TRUE(CreateDirectoryA(temp.file("folder.dll").c_str(), nullptr));

    const struct {
        std::string path;
        DWORD error;
    } cases[] = {
        {temp.file("missing.dll"), ERROR_MOD_NOT_FOUND},
        {"", ERROR_MOD_NOT_FOUND},
        {temp.file("folder.dll"), ERROR_ACCESS_DENIED},
        {temp.file("text.dll"), ERROR_BAD_EXE_FORMAT},
        {temp.file("cut.dll"), ERROR_BAD_EXE_FORMAT},
        {temp.file("sig.dll"), ERROR_BAD_EXE_FORMAT},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(WITH_LAST_ERROR(LoadLibraryA(cases[i].path.c_str())), Returns<HMODULE>(nullptr, cases[i].error))
            << "case " << i;
    }
    EXPECT_EQ(WITH_LAST_ERROR(FreeLibrary(nullptr)), Returns(FALSE, ERROR_INVALID_HANDLE));
}

TEST(LoadLibraryTest, CountsLoadsOfOneFileUnderOneHandle) {
    const std::string path = FixtureModule("resmod_a.dll");
    std::string otherSpelling = path;
    const std::size_t slash = otherSpelling.find_last_of("\\/");
    otherSpelling.insert(slash, std::string(1, otherSpelling[slash]) + ".");  // ".../resfixtures/./resmod_a.dll"

    HMODULE first = LoadLibraryA(path.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadLibraryA(otherSpelling.c_str()), first);
    EXPECT_EQ(GetModuleHandleA("resmod_a.dll"), first);
    EXPECT_EQ(GetModuleHandleA("RESMOD_A"), first) << "name without case or extension";
    char name[MAX_PATH * 4] = {0};
    ASSERT_GT(GetModuleFileNameA(first, name, sizeof name), 0u);
    EXPECT_NE(std::strstr(name, "resmod_a.dll"), nullptr) << name;

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleA("resmod_a.dll"), first) << "one load is left";
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleA("resmod_a.dll"), nullptr) << "unloaded with the last free";
}

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryA(FixtureModule("resmod_a.dll").c_str());
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { FreeLibrary(m_module); }

    HMODULE m_module = nullptr;
};

TEST_F(ResourceTest, FindsResourcesByIdAndByNameWithoutRegardToCase) {
    const struct {
        LPCSTR name;
        LPCSTR type;
        const char* bytes;  // the resource, or nullptr when the search fails
        std::size_t size;
        DWORD error;
    } cases[] = {
        {"MYDATA", RT_RCDATA, "raw of A\x02\x01", 10, 0},
        {"mydata", RT_RCDATA, "raw of A\x02\x01", 10, 0},
        {"#42", "CUSTOM", "custom", 6, 0},
        {MAKEINTRESOURCEA(42), "custom", "custom", 6, 0},
        {"NOPE", RT_RCDATA, nullptr, 0, ERROR_RESOURCE_NAME_NOT_FOUND},
        {MAKEINTRESOURCEA(1), RT_MENU, nullptr, 0, ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SetLastError(0xdeadbeef);
        HRSRC found = FindResourceA(m_module, c.name, c.type);
        if (c.bytes == nullptr) {
            EXPECT_EQ(found, nullptr) << "case " << i;
            EXPECT_EQ(GetLastError(), c.error) << "case " << i;
            continue;
        }
        ASSERT_NE(found, nullptr) << "case " << i;
        const void* data = LockResource(LoadResource(m_module, found));
        ASSERT_NE(data, nullptr) << "case " << i;
        EXPECT_EQ(SizeofResource(m_module, found), c.size) << "case " << i;
        EXPECT_EQ(std::string(static_cast<const char*>(data), c.size), std::string(c.bytes, c.size)) << "case " << i;
    }
    // A handle that names no module with resources.
    EXPECT_EQ(WITH_LAST_ERROR(FindResourceA(reinterpret_cast<HMODULE>(0x12340000), "MYDATA", RT_RCDATA)),
              Returns<HRSRC>(nullptr, ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(SizeofResource(m_module, nullptr), 0u);
    EXPECT_EQ(LoadResource(m_module, nullptr), nullptr);
}

TEST_F(ResourceTest, LoadStringCutsToTheBufferAndConvertsToTheAnsiPage) {
    const std::string longText = [] {
        std::string s;
        for (int i = 0; i < 150; ++i) s += "0123456789";
        return s;
    }();
    const struct {
        UINT id;
        int size;
        int result;
        std::string text;
    } cases[] = {
        {1, 64, 27, "Corvantis Setup - Corvantis"},
        {1, 28, 27, "Corvantis Setup - Corvantis"},  // exactly fitting
        {1, 10, 9, "Corvantis"},                     // too small
        {1, 2, 1, "C"},
        {1, 1, 0, ""},
        {0x10001, 64, 27, "Corvantis Setup - Corvantis"},  // the low 16 bits count
        {2, 64, 0, ""},    // empty string
        {5, 64, 0, ""},    // absent from a block that exists
        {17, 64, 12, "second block"},
        {4, 64, 22, "Gr\xFC\xDF" "e aus K\xF6ln f\xFCr 5 \x80"},  // code page 1252
        {3, 2000, 1500, longText},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        std::string buffer(static_cast<std::size_t>(c.size) + 8, 'x');
        EXPECT_EQ(LoadStringA(m_module, c.id, buffer.data(), c.size), c.result) << "case " << i;
        EXPECT_EQ(std::string(buffer.c_str()), c.text) << "case " << i;
    }
    char buffer[16] = "untouched";
    EXPECT_EQ(WITH_LAST_ERROR(LoadStringA(m_module, 999, buffer, sizeof buffer)),
              Returns(0, ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_STREQ(buffer, "");
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(LoadStringA(m_module, 1, buffer, 0), -1);
    EXPECT_STREQ(buffer, "untouched");
}

// The same module as a 32-bit image: the optional header of PE32 is 16 bytes
// shorter before its data directories; a data-file load reads either kind.
TEST(LoadLibraryTest, ReadsPe32ImagesAsData) {
    std::string pe = xwth_test::ReadFileBytes(FixtureModule("resmod_a.dll"));
    ASSERT_GT(pe.size(), 0x400u);
    const std::size_t optional = static_cast<unsigned char>(pe[0x3C]) + 24;
    ASSERT_EQ(pe[optional], '\x0B');
    ASSERT_EQ(pe[optional + 1], '\x02');
    pe[optional + 1] = '\x01';
    pe.replace(optional + 92, 4 + 16 * 8, pe.substr(optional + 108, 4 + 16 * 8));
    pe.replace(optional + 224, 16, std::string(16, '\0'));
    xwth_test::TempDir temp;
    xwth_test::WriteFileBytes(temp.file("pe32.dll"), pe);

    HMODULE module = LoadLibraryExA(temp.file("pe32.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << GetLastError();
    char buffer[64];
    EXPECT_EQ(LoadStringA(module, 17, buffer, sizeof buffer), 12);
    EXPECT_STREQ(buffer, "second block");
    EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
