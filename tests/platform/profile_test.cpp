// Private profile conformance: lookups, lists, numbers, buffer sizes, and
// the bytes on disk after writes. Win32 API only; the rows of the tables
// above GetPrivateProfileStringA, GetPrivateProfileIntA and ListWriter in
// profile.cpp are repeated here.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/testutil.h"
#include "support/wine.h"

namespace {

// prefix + n (+ infix + m): built by appending, which also keeps GCC 12's
// -Wrestrict false alarm on "literal" + std::to_string() away.
std::string Numbered(const char* prefix, int n, const char* infix = nullptr, int m = 0) {
    std::string s(prefix);
    s += std::to_string(n);
    if (infix != nullptr) {
        s += infix;
        s += std::to_string(m);
    }
    return s;
}

using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

const char kSample[] =
    "; leading comment\r\n"
    "[Fax]\r\n"
    "Name=value\r\n"
    "  Spaced Key  =   two words   \r\n"
    "Quoted=\"quoted \"\r\n"
    "Single='x'\r\n"
    "Half=\"half\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "; comment=not a key\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "\r\n"
    "[ Other ]\r\n"
    "k=other\r\n"
    "[fax]\r\n"
    "Late=ignored\r\n";

class ProfileTest : public ::testing::Test {
protected:
    std::string Sample() {
        const std::string path = m_dir.file("sample.ini");
        WriteFileBytes(path, kSample);
        return path;
    }
    TempDir m_dir;
};

TEST_F(ProfileTest, StringLookups) {
    const std::string ini = Sample();
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        const char* want;
    };
    const Case cases[] = {
        {"Fax", "Name", "d", "value"},
        {"FAX", "NAME", "d", "value"},            // case ignored
        {"fax", "spaced key", "d", "two words"},  // blanks trimmed
        {"Fax", "  Name  ", "d", "value"},
        {"Fax", "Quoted", "d", "quoted "},  // one quote pair off
        {"Fax", "Single", "d", "x"},
        {"Fax", "Half", "d", "\"half"},
        {"Fax", "Empty", "d", ""},  // present and empty: not the default
        {"Fax", "NoEquals", "d", "d"},
        {"Fax", "; comment", "d", "d"},
        {"Fax", "Dup", "d", "first"},
        {"other", "K", "d", "other"},
        {"Fax", "Late", "d", "d"},  // only the first section of a name counts
        {"Fax", "Missing", "dflt  ", "dflt"},  // trailing blanks off the default
        {"Fax", "Missing", "  lead", "  lead"},
        {"Fax", "Missing", nullptr, ""},
        {"Missing", "Name", "d", "d"},
        {"", "Name", "d", "d"},
        {"Fax", "", "d", "d"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[64];
        std::memset(buf, 'z', sizeof buf);
        const DWORD n = GetPrivateProfileStringA(c.section, c.key, c.def, buf, sizeof buf, ini.c_str());
        EXPECT_STREQ(buf, c.want) << "case " << i;
        EXPECT_EQ(n, std::strlen(c.want)) << "case " << i;
    }
}

TEST_F(ProfileTest, StringBufferSizes) {
    const std::string ini = Sample();
    struct Case {
        DWORD size;
        const char* want;  // nullptr: buffer untouched
        DWORD ret;
    };
    const Case cases[] = {
        {64, "value", 5}, {6, "value", 5}, {5, "valu", 4}, {1, "", 0}, {0, nullptr, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        char buf[64];
        std::strcpy(buf, "kumquat");
        EXPECT_EQ(GetPrivateProfileStringA("Fax", "Name", "d", buf, cases[i].size, ini.c_str()), cases[i].ret)
            << "case " << i;
        EXPECT_STREQ(buf, cases[i].want != nullptr ? cases[i].want : "kumquat") << "case " << i;
    }
    // The default is cut the same way.
    char buf[4];
    EXPECT_EQ(GetPrivateProfileStringA("Fax", "Missing", "default", buf, sizeof buf, ini.c_str()), 3u);
    EXPECT_STREQ(buf, "def");
}

// A NUL-separated list as one string, for comparison ("a\0b\0\0" -> "a|b||").
std::string Show(const char* buf, std::size_t n) {
    std::string s(buf, n);
    std::replace(s.begin(), s.end(), '\0', '|');
    return s;
}

const char kLists[] =
    "[s]\r\n"
    "a=1\r\n"
    "bb = 2\r\n"
    "NoEq\r\n"
    ";c=3\r\n"
    "ccc=\"3\"\r\n"
    "\r\n"
    "[t]\r\n"
    "[u]\r\n";

TEST_F(ProfileTest, KeyAndSectionListsAndTheirBufferSizes) {
    const std::string ini = m_dir.file("lists.ini");
    WriteFileBytes(ini, kLists);
    struct Case {
        const char* section;  // nullptr: section names
        DWORD size;
        std::string want;     // the first ret + 2 bytes
        DWORD ret;
        const char* wine = nullptr;  // why Wine ends the list otherwise
    };
    // Keys "a", "bb", "ccc": 9 characters with their NULs.
    // Wine's own profile tests carry the cut lists as todo_wine.
    const char* const kWineCut = "Wine ends a list cut to the buffer with one NUL, not two";
    // Sections "s", "t", "u": 6.
    const Case cases[] = {
        {"s", 32, "a|bb|ccc||", 9},
        {"s", 11, "a|bb|ccc||", 9},
        {"s", 10, "a|bb|ccc||", 8, kWineCut},  // holds the list but no byte to spare: cut at n - 2
        {"s", 5, "a|b||", 3, kWineCut},
        {"S", 32, "a|bb|ccc||", 9},
        {nullptr, 32, "s|t|u||", 6},
        {nullptr, 8, "s|t|u||", 6},
        {nullptr, 7, "s|t|u||", 5, kWineCut},
        {nullptr, 4, "s|||", 2, kWineCut},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[64];
        std::memset(buf, 'z', sizeof buf);
        const DWORD n = GetPrivateProfileStringA(c.section, nullptr, "d", buf, c.size, ini.c_str());
        EXPECT_EQ(n, c.ret) << "case " << i;
        TODO_WINE_EXPECT_EQ(c.want, Show(buf, c.want.size()), c.wine) << "case " << i;
    }
    char buf[64];
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, 8, ini.c_str()), 6u);
    EXPECT_EQ(Show(buf, 8), "s|t|u||z");
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileStringA("t", nullptr, "d", buf, sizeof buf, ini.c_str()), 0u);
    EXPECT_EQ(buf[0], '\0');
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileStringA("s", nullptr, "d", buf, 1, ini.c_str()), 0u);
    EXPECT_EQ(buf[0], '\0');
}

TEST_F(ProfileTest, SectionNamesExactFitIsCut) {
    const std::string ini = m_dir.file("three.ini");
    WriteFileBytes(ini, "[ section1 ]\r\n[section2]\r\n[section3]\r\n");
    struct Case {
        DWORD size;
        DWORD ret;
        std::string want;
        const char* wine = nullptr;  // why Wine ends the list otherwise
    };
    // Wine's own profile tests carry the cut lists as todo_wine.
    const char* const kWineCut = "Wine ends a list cut to the buffer with one NUL, not two";
    const Case cases[] = {
        {29, 27, "section1|section2|section3||"},
        {28, 26, "section1|section2|section3||", kWineCut},  // room for all, but none to spare
        {27, 25, "section1|section2|section||", kWineCut},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        char buf[64];
        std::memset(buf, 'z', sizeof buf);
        EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, cases[i].size, ini.c_str()), cases[i].ret) << "case " << i;
        TODO_WINE_EXPECT_EQ(cases[i].want, Show(buf, cases[i].want.size()), cases[i].wine) << "case " << i;
    }
}

TEST_F(ProfileTest, WholeSection) {
    const std::string ini = m_dir.file("lists.ini");
    WriteFileBytes(ini, kLists);
    char buf[64];
    SetLastError(0xdeadbeef);
    DWORD n = GetPrivateProfileSectionA("s", buf, sizeof buf, ini.c_str());
    EXPECT_EQ(n, 22u);
    EXPECT_EQ(Show(buf, n + 1), "a=1|bb=2|NoEq|ccc=\"3\"||");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

    n = GetPrivateProfileSectionA("s", buf, 12, ini.c_str());
    EXPECT_EQ(n, 10u);
    EXPECT_EQ(Show(buf, 12), "a=1|bb=2|N||");

    EXPECT_EQ(GetPrivateProfileSectionA("t", buf, sizeof buf, ini.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileSectionA("missing", buf, sizeof buf, ini.c_str()), 0u);

    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetPrivateProfileSectionA(nullptr, buf, sizeof buf, ini.c_str()), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    if (!XWTH_CRASHES_UNDER_WINE("Wine's GetPrivateProfileSectionA writes before the buffer when its size is 0")) {
        SetLastError(0xdeadbeef);
        EXPECT_EQ(GetPrivateProfileSectionA("s", buf, 0, ini.c_str()), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST_F(ProfileTest, IntParsing) {
    const std::string ini = m_dir.file("int.ini");
    struct Case {
        const char* value;  // nullptr: key missing
        INT def;
        UINT want;
    };
    const Case cases[] = {
        {nullptr, 7, 7},
        {"", 7, 7},
        {"42", 7, 42},
        {"+1", 7, 1},
        {"-3", 7, static_cast<UINT>(-3)},
        {"-1", 1, 0xFFFFFFFFu},
        {"42A", 7, 42},
        {"A42", 7, 0},
        {"0x10", 7, 16},
        {"4294967296", 7, 0},
        {"4294967297", 7, 1},
        {"\"7\"", 0, 7},
        {"  9  ", 0, 9},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(WritePrivateProfileStringA("n", "k", cases[i].value, ini.c_str())) << "case " << i;
        EXPECT_EQ(GetPrivateProfileIntA("n", "k", cases[i].def, ini.c_str()), cases[i].want) << "case " << i;
    }
    EXPECT_EQ(GetPrivateProfileIntA("n", "k", 5, m_dir.file("missing.ini").c_str()), 5u);
}

TEST_F(ProfileTest, MissingFileGivesTheDefault) {
    const std::string ini = m_dir.file("missing.ini");
    char buf[16];
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buf, sizeof buf, ini.c_str()), 4u);
    EXPECT_STREQ(buf, "dflt");
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, ini.c_str()), 0u);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_FALSE(FileExists(ini));
}

TEST_F(ProfileTest, WritesBuildAndShrinkTheFileByteForByte) {
    const std::string ini = m_dir.file("built.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("App1", "key1", "string1", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("App1", "key2", "string2", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("App1", "key3", "string3", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("App2", "key4", "string4", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("App3", "key5", "string5", ini.c_str()));
    struct Step {
        const char* section;
        const char* key;
        const char* value;
        const char* want;
    };
    const Step steps[] = {
        {nullptr, nullptr, nullptr,
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"App1", "key2", nullptr,
         "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"App1", "key2", nullptr,  // again: nothing to delete
         "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"App1", nullptr, "ignored", "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"app2", nullptr, nullptr, "[App3]\r\nkey5=string5\r\n"},
        {"App3", "key5", nullptr, "[App3]\r\n"},
        {"App3", "empty", "", "[App3]\r\nempty=\r\n"},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        if (s.section != nullptr) {
            EXPECT_TRUE(WritePrivateProfileStringA(s.section, s.key, s.value, ini.c_str())) << "step " << i;
        }
        EXPECT_EQ(ReadFileBytes(ini), s.want) << "step " << i;
    }
}

TEST_F(ProfileTest, EditsKeepEverythingElse) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        // replaced in place, the key's spelling kept
        {"[Fax]\r\nMyKey=1\r\nOther=2\r\n", "fax", "MYKEY", "3", "[Fax]\r\nMyKey=3\r\nOther=2\r\n"},
        // a new key after the section's last key, before its trailing blank line
        {"[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "A", "z", "3", "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n"},
        // comments and unknown lines stay
        {"; top\r\n[a]\r\n;c\r\nx=1\r\njunk line\r\n", "a", "x", "2", "; top\r\n[a]\r\n;c\r\nx=2\r\njunk line\r\n"},
        // a last line without a line break gets one
        {"[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
        {"[a]\r\nx=1", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        // a file with LF line ends keeps them where it is not edited
        {"[a]\nx=1\ny=2\n", "a", "x", "5", "[a]\nx=5\r\ny=2\n"},
        // the same value again changes nothing, not even the spacing
        {"[a]\r\n x = 1 \r\n", "a", "x", "1", "[a]\r\n x = 1 \r\n"},
        // deleting a section takes everything up to the next header
        {"[a]\r\nx=1\r\n;note\r\n\r\n[b]\r\ny=2\r\n", "a", nullptr, nullptr, "[b]\r\ny=2\r\n"},
        // a header with a new key for an empty section
        {"[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TempDir dir;
        const std::string ini = dir.file("edit.ini");
        WriteFileBytes(ini, c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, ini.c_str())) << "case " << i;
        EXPECT_EQ(ReadFileBytes(ini), c.after) << "case " << i;
    }
}

TEST_F(ProfileTest, WriteErrors) {
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", (m_dir.file("nofolder") + "\\x.ini").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(FileExists(m_dir.file("nofolder")));

    const std::string ini = m_dir.file("x.ini");
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", ini.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(FileExists(ini));
}

TEST_F(ProfileTest, WritesLeaveOnlyTheProfileInTheFolder) {
    const std::string ini = m_dir.path() + "\\only.ini";
    for (int i = 0; i < 5; ++i) {
        const std::string key = Numbered("k", i);
        ASSERT_TRUE(WritePrivateProfileStringA("s", key.c_str(), "v", ini.c_str()));
    }
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k0", nullptr, ini.c_str()));
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((m_dir.path() + "\\*").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        if (std::strcmp(fd.cFileName, ".") != 0 && std::strcmp(fd.cFileName, "..") != 0) {
            names.emplace_back(fd.cFileName);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(names, std::vector<std::string>{"only.ini"});
}

TEST_F(ProfileTest, ChangesByOthersAreSeenAtOnce) {
    const std::string ini = m_dir.file("fresh.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "1", ini.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, ini.c_str()), 1u);
    WriteFileBytes(ini, "[s]\r\nk=2\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, ini.c_str()), 2u);
    ASSERT_TRUE(DeleteFileA(ini.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 9, ini.c_str()), 9u);
}

}  // namespace
