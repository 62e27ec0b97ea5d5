// Config: where the file is, what a record loads, what Conf_Save writes on disk.
// Every test points $XWTH_CONFIG (or $XDG_CONFIG_HOME) into its own temporary
// folder, so no test reads or writes the user's own configuration.
#include <windows.h>

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "Config.h"
#include "support/testutil.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

namespace {

using EnvScope = xwth_test::ScopedEnv;

struct Setting {
    CConfString CGlobalConfigData::*member;
    const char* section;
    const char* key;
};

using G = CGlobalConfigData;
const Setting kSettings[] = {
    {&G::m_FaxHeaderPage, "Fax", "HeaderPage"},     {&G::m_FaxCoverPage, "Fax", "CoverPage"},
    {&G::m_SpoolArchive, "Fax", "ArchiveFolder"},   {&G::m_SenderName, "Sender", "Name"},
    {&G::m_SenderCompany, "Sender", "Company"},     {&G::m_SenderTitle, "Sender", "Title"},
    {&G::m_SenderFax, "Sender", "Fax"},             {&G::m_SenderPhone, "Sender", "Phone"},
    {&G::m_SenderEmail, "Sender", "Email"},         {&G::m_SenderAddress, "Sender", "Address"},
    {&G::m_SenderDepartment, "Sender", "Department"}, {&G::m_SenderCity, "Sender", "City"},
    {&G::m_SenderCountry, "Sender", "Country"},     {&G::m_SenderHomePhone, "Sender", "HomePhone"},
    {&G::m_SenderNotes, "Sender", "Notes"},         {&G::m_SenderStationId, "Sender", "StationId"},
};

// Every setting with a value of its own: "<key> value", the notes 3000 bytes long.
std::string ValueOf(const Setting& s) {
    return std::string(s.key) == "Notes" ? std::string(3000, 'n') : std::string(s.key) + " value";
}

// A configuration file with every setting, at path; $XWTH_CONFIG names it for the scope.
struct ConfigFile {
    explicit ConfigFile(const std::string& path) : env("XWTH_CONFIG", path.c_str()) {
        std::string fax = "[Fax]\r\n", sender = "[Sender]\r\n";
        for (const Setting& s : kSettings)
            (std::string(s.section) == "Fax" ? fax : sender) += std::string(s.key) + "=" + ValueOf(s) + "\r\n";
        WriteFileBytes(path, fax + sender);
    }
    EnvScope env;
};

}  // namespace

TEST(ConfigTest, LoadReadsEverySettingUnderItsNames) {
    TempDir dir;
    ConfigFile file(dir.file("config.ini"));
    CGlobalConfigData data;
    data.Load();
    for (size_t i = 0; i < std::size(kSettings); ++i) {
        const CConfString& s = data.*kSettings[i].member;
        EXPECT_EQ(s.m_strValue.GetString(), ValueOf(kSettings[i])) << "case " << i;
        EXPECT_STREQ(s.m_pszName1, kSettings[i].section) << "case " << i;
        EXPECT_STREQ(s.m_pszName2, kSettings[i].key) << "case " << i;
        EXPECT_STREQ(s.m_pszName3, "") << "case " << i;
        EXPECT_EQ(s.m_hRoot, HKEY_CURRENT_USER) << "case " << i;
    }
    // A key that went missing reads as empty on the next load.
    WriteFileBytes(dir.file("config.ini"), "[Sender]\r\nName=Only\r\n");
    data.Load();
    EXPECT_STREQ(data.m_SenderName.m_strValue, "Only");
    EXPECT_STREQ(data.m_FaxCoverPage.m_strValue, "");
}

// The one test that calls GetConfig: in a whole-program run it is the first
// load too, and a repeated run finds the same values.
TEST(ConfigTest, GetConfigLoadsOnce) {
    TempDir dir;
    ConfigFile file(dir.file("config.ini"));
    CGlobalConfigData& first = CConfigApp::GetConfig();
    EXPECT_STREQ(first.m_SenderStationId.m_strValue, "StationId value");
    WriteFileBytes(dir.file("config.ini"), "[Sender]\r\nStationId=changed\r\n");
    EXPECT_EQ(&CConfigApp::GetConfig(), &first);
    EXPECT_STREQ(first.m_SenderStationId.m_strValue, "StationId value");
}

TEST(ConfigTest, PathFollowsTheEnvironment) {
#ifdef _WIN32
    const char *home = "APPDATA", *homeValue = "C:\\AppData", *sep = "\\";
    const std::string fromHome = "C:\\AppData\\xwth\\config.ini";
#else
    const char *home = "HOME", *homeValue = "/home/u", *sep = "/";
    const std::string fromHome = "/home/u/.config/xwth/config.ini";
#endif
    struct Case {
        const char *config, *xdg, *home;
        std::string want;
    };
    const Case cases[] = {
        {"/tmp/c.ini", "/x", homeValue, "/tmp/c.ini"},
        {NULL, "/x/", homeValue, std::string("/x/xwth") + sep + "config.ini"},
        {NULL, NULL, homeValue, fromHome},
        {NULL, NULL, NULL, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EnvScope a("XWTH_CONFIG", cases[i].config), b("XDG_CONFIG_HOME", cases[i].xdg), c(home, cases[i].home);
        EXPECT_EQ(CConfigApp::GetConfigPath().GetString(), cases[i].want) << "case " << i;
    }
}

// Byte-exact sections and keys, a new file renamed over the old, the rest kept.
TEST(ConfigTest, ConfSaveReplacesTheFileWithTheSettingWritten) {
    TempDir dir;
    const std::string path = dir.file("config.ini");
    WriteFileBytes(path, "[Sender]\r\nCity=Lyon\r\n");
    EnvScope env("XWTH_CONFIG", path.c_str());
#ifndef _WIN32
    // Held open, the old file keeps its inode number from being reused and
    // still reads whole.
    std::ifstream reader(path, std::ios::binary);
    struct stat before = {}, after = {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
#endif
    Conf_Save("Sender", "Name", "Ann Example", HKEY_CURRENT_USER, "");
    Conf_Save("Fax", "CoverPage", "plain.cov", HKEY_CURRENT_USER, "Pages");
    EXPECT_EQ(ReadFileBytes(path),
              "[Sender]\r\nCity=Lyon\r\nName=Ann Example\r\n[Fax\\Pages]\r\nCoverPage=plain.cov\r\n");
#ifndef _WIN32
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "[Sender]\r\nCity=Lyon\r\n");
#endif
    Conf_Save("Sender", "City", NULL, HKEY_CURRENT_USER, NULL);  // NULL deletes the key
    EXPECT_EQ(ReadFileBytes(path), "[Sender]\r\nName=Ann Example\r\n[Fax\\Pages]\r\nCoverPage=plain.cov\r\n");

    // Without $XWTH_CONFIG the folders on the way are created.
    EnvScope noConfig("XWTH_CONFIG", NULL), xdg("XDG_CONFIG_HOME", dir.file("a/b").c_str());
    Conf_Save("Fax", "ArchiveFolder", "arch", HKEY_CURRENT_USER, "");
    EXPECT_EQ(ReadFileBytes(dir.file("a/b/xwth/config.ini")), "[Fax]\r\nArchiveFolder=arch\r\n");
}

TEST(ConfigTest, ConfSaveFailuresSetTheLastError) {
    TempDir dir;
    WriteFileBytes(dir.file("blocker"), "");
    struct Case {
        const char *file, *section, *key;
        DWORD want;
    };
    const Case cases[] = {
        {"blocker/sub/config.ini", "Fax", "CoverPage", ERROR_PATH_NOT_FOUND},
        {"config.ini", NULL, "CoverPage", ERROR_INVALID_PARAMETER},
        {"config.ini", "", "CoverPage", ERROR_INVALID_PARAMETER},
        {"config.ini", "Fax", NULL, ERROR_INVALID_PARAMETER},  // would delete the section
        {"config.ini", "Fax", "", ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EnvScope env("XWTH_CONFIG", dir.file(cases[i].file).c_str());
        SetLastError(0xdeadbeef);
        Conf_Save(cases[i].section, cases[i].key, "v", HKEY_CURRENT_USER, "");
        EXPECT_EQ(GetLastError(), cases[i].want) << "case " << i;
        EXPECT_FALSE(xwth_test::FileExists(dir.file(cases[i].file))) << "case " << i;
    }
}
