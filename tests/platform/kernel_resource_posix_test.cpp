// Broken PE files: winport's loader refuses them with error 193 or lets the
// resource call fail, and never reads outside the file or loops. (Windows
// maps such files and faults or answers unpredictably, so these run only
// against winport.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "support/resfixtures.h"
#include "support/testutil.h"

namespace {

std::uint32_t Get32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void Put32(std::string& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
void Put16(std::string& b, std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); }

// Offsets of the fixture's parts, read the way the loader reads them.
struct Layout {
    std::size_t pe, optional, sections, rsrc;  // rsrc: file offset of the resource root
    std::uint32_t rsrcRva;
};

Layout Parse(const std::string& b) {
    Layout l{};
    l.pe = Get32(b, 0x3C);
    l.optional = l.pe + 24;
    std::uint16_t optionalSize = 0;
    std::memcpy(&optionalSize, b.data() + l.pe + 20, 2);
    l.sections = l.optional + optionalSize;
    l.rsrcRva = Get32(b, l.optional + 112 + 2 * 8);
    for (std::size_t s = l.sections; std::memcmp(b.data() + s, "\0\0\0\0", 4) != 0; s += 40) {
        if (std::memcmp(b.data() + s, ".rsrc", 5) == 0) {
            l.rsrc = Get32(b, s + 20) + (l.rsrcRva - Get32(b, s + 12));
        }
    }
    return l;
}

TEST(BrokenPeTest, RefusedOrAnsweredWithAnErrorNeverCrashed) {
    const std::string good = xwth_test::ReadFileBytes(xwth_test::FixtureModule("resmod_a.dll"));
    ASSERT_GT(good.size(), 0x400u);
    const Layout l = Parse(good);
    ASSERT_NE(l.rsrc, 0u);
    // The first entry of the root (the first resource type) and of its subtree.
    const std::size_t rootEntry = l.rsrc + 16;
    const std::uint32_t typeDir = Get32(good, rootEntry + 4) & 0x7FFFFFFF;

    const struct {
        const char* what;
        std::function<void(std::string&)> breakIt;
        bool loads;
    } cases[] = {
        {"e_lfanew past the end", [](std::string& b) { Put32(b, 0x3C, 0x7FFFFFF0); }, false},
        {"unknown optional-header magic", [&](std::string& b) { Put16(b, l.optional, 0x0107); }, false},
        {"65535 sections", [&](std::string& b) { Put16(b, l.pe + 6, 0xFFFF); }, false},
        {"optional header larger than the file", [&](std::string& b) { Put16(b, l.pe + 20, 0xFFF0); }, false},
        {"resource root in no section", [&](std::string& b) { Put32(b, l.optional + 128, 0x7FFF0000); }, false},
        {"file cut inside the resources", [&](std::string& b) { b.resize(l.rsrc + 8); }, false},
        {"directory counts beyond the section",
         [&](std::string& b) { Put16(b, l.rsrc + 14, 0xFFFF); Put16(b, l.rsrc + 12, 0xFFFF); }, true},
        {"subdirectory pointing back to the root", [&](std::string& b) { Put32(b, rootEntry + 4, 0x80000000); }, true},
        {"subdirectory offset far outside", [&](std::string& b) { Put32(b, rootEntry + 4, 0xFFFFFFF0); }, true},
        {"every name-level entry a leaf",
         [&](std::string& b) { for (int i = 0; i < 4; ++i) Put32(b, l.rsrc + typeDir + 16 + 8 * i + 4, 0x10); }, true},
        {"string names far outside",
         [&](std::string& b) { for (int i = 0; i < 4; ++i) Put32(b, l.rsrc + typeDir + 16 + 8 * i, 0xFFFFFFF0); }, true},
    };
    xwth_test::TempDir temp;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string bytes = good;
        cases[i].breakIt(bytes);
        const std::string path = temp.file("broken" + std::to_string(i) + ".dll");
        xwth_test::WriteFileBytes(path, bytes);
        SetLastError(0xdeadbeef);
        HMODULE module = LoadLibraryA(path.c_str());
        if (!cases[i].loads) {
            EXPECT_EQ(module, nullptr) << cases[i].what;
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << cases[i].what;
            continue;
        }
        ASSERT_NE(module, nullptr) << cases[i].what;
        // Whatever each call answers, it answers without touching memory
        // outside the file (the sanitizer build checks that).
        char buffer[64];
        for (UINT id : {1u, 4u, 17u, 999u}) {
            const int n = LoadStringA(module, id, buffer, sizeof buffer);
            EXPECT_TRUE(n >= 0 && n < 64 && buffer[n] == '\0') << cases[i].what;
        }
        const LPCSTR types[] = {RT_BITMAP, RT_ICON, RT_GROUP_ICON, RT_RCDATA, "CUSTOM"};
        const LPCSTR names[] = {MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(42), "MYDATA"};
        for (LPCSTR type : types) {
            for (LPCSTR name : names) {
                if (HRSRC found = FindResourceA(module, name, type)) {
                    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
                    const DWORD size = SizeofResource(module, found);
                    unsigned sum = 0;
                    for (DWORD k = 0; data != nullptr && k < size; ++k) sum += data[k];
                    (void)sum;
                }
            }
        }
        EXPECT_TRUE(FreeLibrary(module)) << cases[i].what;
    }
}

TEST(BrokenPeTest, StringTableRunningPastItsBlockReadsAsAbsent) {
    std::string bytes = xwth_test::ReadFileBytes(xwth_test::FixtureModule("resmod_b.dll"));
    // String 200 is "text of B": its length word stands just before its
    // UTF-16 characters.
    std::string wide;
    for (char c : std::string("text of B")) {
        wide += c;
        wide += '\0';
    }
    const std::size_t at = bytes.find(wide);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(bytes[at - 2], '\x09');
    xwth_test::TempDir temp;
    Put16(bytes, at - 2, 0xFFFF);  // the entry claims 65535 characters
    xwth_test::WriteFileBytes(temp.file("strings.dll"), bytes);
    HMODULE module = LoadLibraryA(temp.file("strings.dll").c_str());
    ASSERT_NE(module, nullptr);
    char buffer[32] = "untouched";
    SetLastError(0xdeadbeef);
    EXPECT_EQ(LoadStringA(module, 200, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    FreeLibrary(module);
}

}  // namespace
