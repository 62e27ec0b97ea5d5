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

#include "platform/kernel_test_support.h"
#include "support/testutil.h"
#include "support/wine.h"

namespace {

using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::Returns;
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

// Keys "a", "bb", "ccc" (9 characters with their NULs); sections "s", "t", "u" (6).
const char kLists[] = "[s]\r\na=1\r\nbb = 2\r\nNoEq\r\n;c=3\r\nccc=\"3\"\r\n\r\n[t]\r\n[u]\r\n";

// Wine's own profile tests carry the cut lists as todo_wine.
const char* const kWineCut = "Wine ends a list cut to the buffer with one NUL, not two";

// A NUL-separated list as one string, for comparison ("a\0b\0\0" -> "a|b||").
std::string Show(const char* buf, std::size_t n) {
    std::string s(buf, n);
    std::replace(s.begin(), s.end(), '\0', '|');
    return s;
}

class ProfileTest : public ::testing::Test {
protected:
    std::string Profile(const char* name, const char* text) {
        const std::string path = m_dir.file(name);
        WriteFileBytes(path, text);
        return path;
    }
    TempDir m_dir;
};

TEST_F(ProfileTest, StringLookups) {
    const std::string ini = Profile("sample.ini", kSample);
    // wine: why Wine answers otherwise
    struct Case { const char* section; const char* key; const char* def; const char* want;
                  const char* wine = nullptr; };
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
        // Windows reads a line starting with ';' as a comment, even for a key
        // that starts with ';' (shown by black-box tests of the Windows API).
        {"Fax", "; comment", "d", "d", "Wine reads a line starting with ';' as a key"},
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
        TODO_WINE_EXPECT_STREQ(c.want, buf, c.wine) << "case " << i;
        TODO_WINE_EXPECT_EQ(std::strlen(c.want), n, c.wine) << "case " << i;
    }
}

TEST_F(ProfileTest, StringBufferSizes) {
    const std::string ini = Profile("sample.ini", kSample);
    // want: nullptr: buffer untouched
    struct Case { const char* key; DWORD size; const char* want; DWORD ret; };
    const Case cases[] = {
        {"Name", 64, "value", 5}, {"Name", 6, "value", 5}, {"Name", 5, "valu", 4}, {"Name", 1, "", 0},
        {"Name", 0, nullptr, 0},  {"Missing", 4, "def", 3},  // the default is cut the same way
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        char buf[64] = "kumquat";
        const DWORD n = GetPrivateProfileStringA("Fax", cases[i].key, "default", buf, cases[i].size, ini.c_str());
        EXPECT_EQ(n, cases[i].ret) << "case " << i;
        EXPECT_STREQ(buf, cases[i].want != nullptr ? cases[i].want : "kumquat") << "case " << i;
    }
}

TEST_F(ProfileTest, KeyAndSectionListsAndTheirBufferSizes) {
    const std::string ini = Profile("lists.ini", kLists);
    // section: nullptr: section names
    // want: the first want.size() bytes of the buffer
    // wine: why Wine ends the list otherwise
    struct Case { const char* section; DWORD size; std::string want; DWORD ret; const char* wine = nullptr; };
    const Case cases[] = {
        {"s", 32, "a|bb|ccc||", 9},              {"s", 11, "a|bb|ccc||", 9},
        {"s", 10, "a|bb|ccc||", 8, kWineCut},  // holds the list but no byte to spare: cut at n - 2
        {"s", 5, "a|b||", 3, kWineCut},         {"S", 32, "a|bb|ccc||", 9},
        {"s", 1, "|", 0},
        {"t", 32, "d|", 1},  // no keys: the default, as Wine answers (no Windows record says otherwise)
        {"none", 32, "d|", 1},                   {nullptr, 32, "s|t|u||", 6},
        {nullptr, 8, "s|t|u||z", 6},              {nullptr, 7, "s|t|u||", 5, kWineCut},
        {nullptr, 4, "s|||", 2, kWineCut},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[64];
        std::memset(buf, 'z', sizeof buf);
        EXPECT_EQ(GetPrivateProfileStringA(c.section, nullptr, "d", buf, c.size, ini.c_str()), c.ret) << "case " << i;
        TODO_WINE_EXPECT_EQ(c.want, Show(buf, c.want.size()), c.wine) << "case " << i;
        if (c.section == nullptr) {
            std::memset(buf, 'z', sizeof buf);
            EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, c.size, ini.c_str()), c.ret) << "case " << i;
            TODO_WINE_EXPECT_EQ(c.want, Show(buf, c.want.size()), c.wine) << "case " << i;
        }
    }
}

TEST_F(ProfileTest, WholeSection) {
    constexpr DWORD kAnyError = 0xFFFFFFFF;  // the last error is not checked
    const std::string ini = Profile("lists.ini", kLists);
    char buf[64];
    // want: the first want.size() bytes of the buffer
    struct Case { const char* section; DWORD size; std::string want; DWORD ret; DWORD error; };
    const Case cases[] = {
        {"s", sizeof buf, "a=1|bb=2|NoEq|ccc=\"3\"||", 22, ERROR_SUCCESS},
        {"s", 12, "a=1|bb=2|N||", 10, kAnyError},
        {"t", sizeof buf, "|", 0, ERROR_SUCCESS},
        {"missing", sizeof buf, "", 0, kAnyError},
        {nullptr, sizeof buf, "", 0, ERROR_INVALID_PARAMETER},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::memset(buf, 0, sizeof buf);
        const auto got = WITH_LAST_ERROR(GetPrivateProfileSectionA(c.section, buf, c.size, ini.c_str()));
        EXPECT_EQ(got, Returns(c.ret, c.error == kAnyError ? got.error : c.error)) << "case " << i;
        EXPECT_EQ(Show(buf, c.want.size()), c.want) << "case " << i;
    }
    if (!XWTH_CRASHES_UNDER_WINE("Wine's GetPrivateProfileSectionA writes before the buffer when its size is 0")) {
        EXPECT_EQ(WITH_LAST_ERROR(GetPrivateProfileSectionA("s", buf, 0, ini.c_str())),
                  Returns(0u, ERROR_INVALID_PARAMETER));
    }
}

TEST_F(ProfileTest, IntParsing) {
    const std::string ini = m_dir.file("int.ini");
    // value: nullptr: key missing
    struct Case { const char* value; INT def; UINT want; };
    const Case cases[] = {
        {nullptr, 7, 7},  {"", 7, 7},          {"42", 7, 42},         {"+1", 7, 1},
        {"-3", 7, static_cast<UINT>(-3)},      {"-1", 1, 0xFFFFFFFFu}, {"42A", 7, 42},
        {"A42", 7, 0},    {"0x10", 7, 16},     {"4294967296", 7, 0},  {"4294967297", 7, 1},
        {"\"7\"", 0, 7},  {"  9  ", 0, 9},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(WritePrivateProfileStringA("n", "k", cases[i].value, ini.c_str())) << "case " << i;
        EXPECT_EQ(GetPrivateProfileIntA("n", "k", cases[i].def, ini.c_str()), cases[i].want) << "case " << i;
    }
}

// Missing files read as empty and are not created by reads; a write into a
// missing folder fails; nothing is cached, so changes by others show at once.
TEST_F(ProfileTest, MissingFilesAndFolders) {
    const std::string ini = m_dir.file("missing.ini");
    char buf[16];
    EXPECT_EQ(WITH_LAST_ERROR(GetPrivateProfileStringA("s", "k", "dflt", buf, sizeof buf, ini.c_str())),
              Returns(4u, ERROR_FILE_NOT_FOUND));
    EXPECT_STREQ(buf, "dflt");
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, ini.c_str()), 0u);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 5, ini.c_str()), 5u);

    const std::string deep = m_dir.file("nofolder") + "\\x.ini";
    EXPECT_EQ(WITH_LAST_ERROR(WritePrivateProfileStringA("s", "k", "v", deep.c_str())),
              Returns(FALSE, ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(WITH_LAST_ERROR(WritePrivateProfileStringA(nullptr, "k", "v", ini.c_str())),
              Returns(FALSE, ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(xwth_test::Listing(m_dir.path()).empty());

    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "1", ini.c_str()));
    WriteFileBytes(ini, "[s]\r\nk=2\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, ini.c_str()), 2u);
    ASSERT_TRUE(DeleteFileA(ini.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 9, ini.c_str()), 9u);
}

TEST_F(ProfileTest, WritesBuildAndShrinkTheFileByteForByte) {
    const std::string ini = m_dir.path() + "\\built.ini";
    for (const char* key : {"key1", "key2", "key3"}) {
        ASSERT_TRUE(WritePrivateProfileStringA("App1", key, (std::string("string") + key[3]).c_str(), ini.c_str()));
    }
    ASSERT_TRUE(WritePrivateProfileStringA("App2", "key4", "string4", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("App3", "key5", "string5", ini.c_str()));
    struct Step { const char* section; const char* key; const char* value; const char* want; };
    const char* const kAfterKey2 =
        "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n";
    const Step steps[] = {
        {nullptr, nullptr, nullptr,
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
        {"App1", "key2", nullptr, kAfterKey2},
        {"App1", "key2", nullptr, kAfterKey2},  // again: nothing to delete
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
        EXPECT_EQ(ReadFileBytes(m_dir.file("built.ini")), s.want) << "step " << i;
    }
    // Temporary files and locks leave nothing behind.
    EXPECT_EQ(xwth_test::Listing(m_dir.path()), std::vector<std::string>{"built.ini"});
}

// Windows edits the text in place: bytes it does not rewrite stay as they
// were (Wine's profile tests record Windows keeping even NULs before the
// first section).
TEST_F(ProfileTest, EditsKeepEverythingElse) {
    const char* const kWineRewrites = "Wine writes the whole file anew: blank lines go, LF becomes CR LF";
    // wine: why Wine writes otherwise
    struct Case { const char* before; const char* section; const char* key; const char* value; const char* after;
                  const char* wine = nullptr; };
    const Case cases[] = {
        // replaced in place, the key's spelling kept
        {"[Fax]\r\nMyKey=1\r\nOther=2\r\n", "fax", "MYKEY", "3", "[Fax]\r\nMyKey=3\r\nOther=2\r\n"},
        // a new key after the section's last key, before its trailing blank line
        {"[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "A", "z", "3", "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n", kWineRewrites},
        // comments and unknown lines stay
        {"; top\r\n[a]\r\n;c\r\nx=1\r\njunk line\r\n", "a", "x", "2", "; top\r\n[a]\r\n;c\r\nx=2\r\njunk line\r\n"},
        // a last line without a line break gets one
        {"[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
        {"[a]\r\nx=1", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        // a file with LF line ends keeps them where it is not edited
        {"[a]\nx=1\ny=2\n", "a", "x", "5", "[a]\nx=5\r\ny=2\n", kWineRewrites},
        // the same value again changes nothing, not even the spacing
        {"[a]\r\n x = 1 \r\n", "a", "x", "1", "[a]\r\n x = 1 \r\n"},
        // deleting a section takes everything up to the next header
        {"[a]\r\nx=1\r\n;note\r\n\r\n[b]\r\ny=2\r\n", "a", nullptr, nullptr, "[b]\r\ny=2\r\n"},
        // a header with a new key for an empty section
        {"[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::string ini = Profile((xwth_test::Numbered("edit", static_cast<int>(i)) + ".ini").c_str(), c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, ini.c_str())) << "case " << i;
        TODO_WINE_EXPECT_EQ(std::string(c.after), ReadFileBytes(ini), c.wine) << "case " << i;
    }
}

// Files that other writers make: CR-only line ends, an empty section name,
// a NUL inside a value, a UTF-8 byte order mark; and a default string that
// lies inside the result buffer.
TEST_F(ProfileTest, OddFilesReadAndEditCleanly) {
    // CR-only line ends read line by line, and a write replaces the key.
    const std::string cr = Profile("cr.ini", "[s]\rk=v\rj=w\r[t]\rx=1\r");
    char buf[64];
    EXPECT_EQ(GetPrivateProfileStringA("s", "j", "d", buf, sizeof buf, cr.c_str()), 1u);
    EXPECT_STREQ(buf, "w");
    EXPECT_EQ(GetPrivateProfileStringA("t", "x", "d", buf, sizeof buf, cr.c_str()), 1u);
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "new", cr.c_str()));
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buf, sizeof buf, cr.c_str()), 3u);
    EXPECT_STREQ(buf, "new");
    const std::string bytes = ReadFileBytes(cr);
    EXPECT_EQ(bytes.find("k="), bytes.rfind("k=")) << bytes;  // one key, not a duplicate
    EXPECT_EQ(GetPrivateProfileStringA("s", "j", "d", buf, sizeof buf, cr.c_str()), 1u);
    // CR-only ends after the last LF: a new key there must not join them.
    const std::string mixed = Profile("mixed.ini", "x=0\n[s]\rk=1\r");
    ASSERT_TRUE(WritePrivateProfileStringA("s", "j", "2", mixed.c_str()));
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buf, sizeof buf, mixed.c_str()), 1u);
    EXPECT_STREQ(buf, "1");
    EXPECT_EQ(GetPrivateProfileStringA("s", "j", "d", buf, sizeof buf, mixed.c_str()), 1u);

    // "[]" is left out of the section names.
    const std::string empty = Profile("empty.ini", "[]\r\nx=1\r\n[s]\r\nk=1\r\n");
    std::memset(buf, 'z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, empty.c_str()), 2u);
    EXPECT_EQ(Show(buf, 3), "s||");

    // A NUL ends the value: the count stops there.
    const std::string nul = m_dir.file("nul.ini");
    WriteFileBytes(nul, std::string("[s]\r\nk=ab\0cd\r\n", 15));
    const char* const kWineNul = "Wine does not find a key whose value holds a NUL byte";
    TODO_WINE_EXPECT_EQ(2u, GetPrivateProfileStringA("s", "k", "d", buf, sizeof buf, nul.c_str()), kWineNul);
    TODO_WINE_EXPECT_STREQ("ab", buf, kWineNul);

    // A default that overlaps the buffer.
    std::strcpy(buf, "xxdefault");
    EXPECT_EQ(GetPrivateProfileStringA("s", "missing", buf + 2, buf, sizeof buf, nul.c_str()), 7u);
    EXPECT_STREQ(buf, "default");

    // Deleting the first section keeps the byte order mark.
    const std::string bom = Profile("bom.ini", "\xEF\xBB\xBF[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, bom.c_str()));
    EXPECT_EQ(ReadFileBytes(bom), "\xEF\xBB\xBF[b]\r\ny=2\r\n");
}

}  // namespace
