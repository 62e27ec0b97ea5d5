// GetOpenFileNameA and GetSaveFileNameA answered by a scripted presenter and
// by the default one through a stand-in zenity.
#include <windows.h>
#include <winport.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

using xwth_test::ScopedEnv;
using xwth_test::TempDir;

std::vector<std::string> g_paths;  // the scripted choice
int g_answer = IDOK, g_calls = 0;

int Scripted(BOOL, LPOPENFILENAMEA lpofn) {
    ++g_calls;
    std::vector<LPCSTR> p;
    for (const std::string& s : g_paths) p.push_back(s.c_str());
    return g_answer != IDOK ? g_answer : WpSetFileDialogChoice(lpofn, p.data(), static_cast<int>(p.size()));
}

OPENFILENAMEA Record(char* buffer, DWORD size, DWORD flags) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    ofn.Flags = flags;
    return ofn;
}

std::string CurrentDir() {
    char buf[MAX_PATH];
    return GetCurrentDirectoryA(sizeof buf, buf) ? buf : "";
}

class FileDialogApiTest : public ::testing::Test {
protected:
    void SetUp() override { WpSetFileDialogPresenter(&Scripted); }
    void TearDown() override {
        WpSetFileDialogPresenter(NULL);
        SetCurrentDirectoryA(m_cwd.c_str());
    }
    std::string m_cwd = CurrentDir();
};

TEST_F(FileDialogApiTest, ChoiceInTheSystemsLayout) {
    const DWORD multi = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_NOCHANGEDIR, one = OFN_NOCHANGEDIR;
    const struct {
        DWORD flags, size;
        std::vector<std::string> paths;
        DWORD error;
        std::string bytes;  // lpstrFile's first bytes afterwards
        WORD offset, extension;
        const char* title;
    } cases[] = {
        {one, 16, {"/d/e/report.txt"}, 0, std::string("/d/e/report.txt\0", 16), 5, 12, "report.txt"},
        {one, 15, {"/d/e/report.txt"}, FNERR_BUFFERTOOSMALL, std::string("\x10\0", 2), 0, 0, ""},
        {one, 260, {"/d/README", "/d/b.txt"}, 0, std::string("/d/README\0", 10), 3, 9, "README"},
        {multi, 18, {"/d/e/a.txt", "/d/e/b.log"}, 0, std::string("/d/e\0a.txt\0b.log\0\0", 18), 5, 0, ""},
        {multi, 17, {"/d/e/a.txt", "/d/e/b.log"}, FNERR_BUFFERTOOSMALL, std::string("\x12\0", 2), 0, 0, ""},
        {multi, 260, {"/a.txt", "/b.txt"}, 0, std::string("/\0a.txt\0b.txt\0\0", 15), 2, 0, ""},
        {multi, 260, {"/d/e/a.txt", "/d/f/b"}, 0, std::string("/d\0e/a.txt\0f/b\0\0", 16), 3, 0, ""},
        {multi, 260, {"/d/only.txt"}, 0, std::string("/d/only.txt\0", 12), 3, 8, "only.txt"},
        {OFN_ALLOWMULTISELECT | one, 260, {"/d/a", "/d/b"}, 0, std::string("/d a b\0", 7), 3, 0, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        g_paths = c.paths;
        std::vector<char> buffer(c.size + 1, '#');
        char title[64] = "";
        OPENFILENAMEA ofn = Record(buffer.data(), c.size, c.flags);
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof title;
        EXPECT_EQ(GetOpenFileNameA(&ofn), c.error == 0) << "case " << i;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << "case " << i;
        EXPECT_EQ(std::string(buffer.data(), c.bytes.size()), c.bytes) << "case " << i;
        EXPECT_EQ(buffer[c.size], '#') << "case " << i << ": written past nMaxFile";
        EXPECT_EQ(ofn.nFileOffset, c.offset) << "case " << i;
        EXPECT_EQ(ofn.nFileExtension, c.extension) << "case " << i;
        EXPECT_STREQ(title, c.title) << "case " << i;
    }
    // Without OFN_NOCHANGEDIR the dialog leaves the chosen folder current.
    TempDir scratch;
    std::filesystem::create_directories(scratch.file("one"));
    char buffer[MAX_PATH];
    for (const DWORD flags : {DWORD(OFN_NOCHANGEDIR), DWORD(0)}) {
        g_paths = {scratch.file("one/a.txt")};
        OPENFILENAMEA ofn = Record(buffer, sizeof buffer, flags);
        ASSERT_TRUE(GetSaveFileNameA(&ofn));
        EXPECT_EQ(CurrentDir(), flags != 0 ? m_cwd : scratch.file("one"));
    }
}

TEST_F(FileDialogApiTest, RecordChecksAndAnswers) {
    char buffer[MAX_PATH] = "";
    const struct {
        DWORD structSize;
        char* file;
        DWORD flags;
        int answer;
        DWORD error;
        int calls;
    } cases[] = {
        {sizeof(OPENFILENAMEA), buffer, 0, IDOK, 0, 1},
        {OPENFILENAME_SIZE_VERSION_400, buffer, 0, IDOK, 0, 1},
        {sizeof(OPENFILENAMEA) + 4, buffer, 0, IDOK, CDERR_STRUCTSIZE, 0},
        {sizeof(OPENFILENAMEA), nullptr, 0, IDOK, CDERR_INITIALIZATION, 0},
        {sizeof(OPENFILENAMEA), buffer, OFN_ENABLEHOOK, IDOK, CDERR_NOHOOK, 0},
        {sizeof(OPENFILENAMEA), buffer, OFN_NOCHANGEDIR, IDCANCEL, 0, 1},
        {sizeof(OPENFILENAMEA), buffer, 0, CDERR_DIALOGFAILURE, CDERR_DIALOGFAILURE, 1},
    };
    g_paths = {"/nowhere/x.txt"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        g_calls = 0;
        g_answer = cases[i].answer;
        OPENFILENAMEA ofn = Record(cases[i].file, sizeof buffer, cases[i].flags);
        ofn.lStructSize = cases[i].structSize;
        EXPECT_EQ(GetSaveFileNameA(&ofn), cases[i].answer == IDOK && cases[i].error == 0) << "case " << i;
        EXPECT_EQ(CommDlgExtendedError(), cases[i].error) << "case " << i;
        EXPECT_EQ(g_calls, cases[i].calls) << "case " << i;
    }
    g_answer = IDOK;
}

// The default presenter runs zenity: a stand-in script on a scratch PATH
// records its arguments and answers.
TEST(ZenityTest, RecordBecomesTheCommandLine) {
    TempDir bin;
    ScopedEnv path("PATH", bin.path().c_str()), display("DISPLAY", ":77"), wayland("WAYLAND_DISPLAY", nullptr);
    const struct {
        BOOL save;
        DWORD flags;
        const char *file, *initialDir, *title, *filter;
        DWORD filterIndex;
        const char *answer, *args;
        std::string result;  // "" for a cancel
    } cases[] = {
        {FALSE, OFN_ALLOWMULTISELECT | OFN_EXPLORER, "", "/init", "Pick", "Text\0*.txt;*.log\0All\0*.*\0", 2,
         "/x/a.txt\n/x/b.txt\n",
         "[--file-selection][--multiple][--separator=\n][--title=Pick][--filename=/init/]"
         "[--file-filter=All | *][--file-filter=Text | *.txt *.log]",
         std::string("/x\0a.txt\0b.txt\0\0", 16)},
        {TRUE, OFN_OVERWRITEPROMPT, "sub\\name", "/ignored", nullptr, nullptr, 0, "/x/y/name\n",
         "[--file-selection][--save][--confirm-overwrite][--filename=sub/name]", std::string("/x/y/name.txt\0", 14)},
        {FALSE, 0, "a.doc", "/init/", nullptr, "Docs\0*.doc\0", 1, "/x/a.doc",
         "[--file-selection][--filename=/init/a.doc][--file-filter=Docs | *.doc]", std::string("/x/a.doc\0", 9)},
        // An answer that ends the script with exit status 1: a cancel.
        {FALSE, 0, "", nullptr, nullptr, nullptr, 0, "' ; exit '1", "[--file-selection]", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        xwth_test::WriteFileBytes(bin.file("zenity"), "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" +
                                                          bin.file("args") + "'\nprintf '%s' '" + c.answer + "'\n");
        ASSERT_EQ(chmod(bin.file("zenity").c_str(), 0755), 0);
        char buffer[512];
        strcpy(buffer, c.file);
        OPENFILENAMEA ofn = Record(buffer, sizeof buffer, c.flags | OFN_NOCHANGEDIR);
        ofn.lpstrInitialDir = c.initialDir;
        ofn.lpstrTitle = c.title;
        ofn.lpstrFilter = c.filter;
        ofn.nFilterIndex = c.filterIndex;
        ofn.lpstrDefExt = "txt";
        EXPECT_EQ(c.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn), !c.result.empty()) << "case " << i;
        EXPECT_EQ(xwth_test::ReadFileBytes(bin.file("args")), c.args) << "case " << i;
        EXPECT_EQ(std::string(buffer, c.result.size()), c.result) << "case " << i;
    }
    // No display, or no zenity on PATH: a cancel, and zenity never runs.
    std::filesystem::remove(bin.file("args"));
    char buffer[MAX_PATH] = "";
    OPENFILENAMEA ofn = Record(buffer, sizeof buffer, 0);
    {
        ScopedEnv noDisplay("DISPLAY", nullptr);
        EXPECT_FALSE(GetOpenFileNameA(&ofn));
    }
    ScopedEnv noZenity("PATH", "/nonexistent");
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_FALSE(xwth_test::FileExists(bin.file("args")));
}

}  // namespace
