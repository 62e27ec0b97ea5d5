// CTrueFileDialog answered by a scripted presenter in a scratch home: the
// folder it opens in, the name it proposes, the current directory, the
// chosen paths and the log lines.
#include <windows.h>
#include <winport.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <TQLog.h>
#include <xwth/filedialog.h>

#include "support/testutil.h"

namespace {

using xwth_test::ScopedEnv;

std::string CurrentDir() {
    char buf[MAX_PATH];
    return GetCurrentDirectoryA(sizeof buf, buf) ? buf : "";
}

// What the presenter answers (nothing: cancel), and what it saw.
std::vector<std::string> g_answer;
std::string g_file, g_initialDir, g_cwd;
DWORD g_maxFile = 0;

int Scripted(BOOL, LPOPENFILENAMEA lpofn) {
    g_file = lpofn->lpstrFile;
    g_initialDir = lpofn->lpstrInitialDir;
    g_maxFile = lpofn->nMaxFile;
    g_cwd = CurrentDir();
    std::vector<LPCSTR> p;
    for (const std::string& s : g_answer) p.push_back(s.c_str());
    return p.empty() ? IDCANCEL : WpSetFileDialogChoice(lpofn, p.data(), static_cast<int>(p.size()));
}

class TrueFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* d : {"home/Documents", "docs", "other", "start"}) std::filesystem::create_directories(S(d));
        xwth_test::WriteFileBytes(S("file.txt"), "x");
        ASSERT_TRUE(SetCurrentDirectoryA(S("start").c_str()));
        WpSetFileDialogPresenter(&Scripted);
        TQLogSetSink(&Catch, &m_log);
    }
    void TearDown() override {
        TQLogSetSink(NULL, NULL);
        WpSetFileDialogPresenter(NULL);
        SetCurrentDirectoryA(m_cwd.c_str());
    }
    static void Catch(void* log, const char* category, const char* text) {
        if (std::string(category) == "XWTH") static_cast<std::vector<std::string>*>(log)->push_back(text);
    }
    std::string S(const char* name) const { return m_scratch.file(name); }

    xwth_test::TempDir m_scratch;
    ScopedEnv m_home{"HOME", S("home").c_str()}, m_config{"XDG_CONFIG_HOME", S("cfg").c_str()};
    std::string m_cwd = CurrentDir();
    std::vector<std::string> m_log;
};

TEST_F(TrueFileDialogTest, OpensInAFolderThatExists) {
    const std::string docs = S("home/Documents");
    const struct {
        std::string name, initialDir;  // "" leaves the record's lpstrInitialDir NULL
        std::string wantDir, wantCwd, wantFile;  // what the dialog was given and saw
    } cases[] = {
        {S("docs/report.txt"), "", S("docs/"), S("docs"), "report.txt"},
        {S("docs") + "\\", "", S("docs") + "\\", S("docs"), ""},
        {S("docs"), "", m_scratch.path() + "/", m_scratch.path(), "docs"},
        {"report.txt", "", docs, docs, "report.txt"},
        {"report.txt", "../other", "../other", S("other"), "report.txt"},
        {"a*b.txt", S("other"), S("other"), S("other"), ""},
        {S("missing/report.txt"), S("missing"), docs, docs, S("missing/report.txt")},
        // An existing file is accepted as the folder but cannot be made current.
        {S("missing/report.txt"), S("file.txt"), S("file.txt"), S("start"), S("missing/report.txt")},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        g_answer = {S("other/chosen.txt")};
        CTrueFileDialog dialog(TRUE, "txt", c.name.c_str(), OFN_HIDEREADONLY, "Text|*.txt||");
        if (!c.initialDir.empty()) dialog.GetOFN().lpstrInitialDir = c.initialDir.c_str();
        EXPECT_EQ(dialog.DoModal(), IDOK) << "case " << i;
        EXPECT_EQ(g_initialDir, c.wantDir) << "case " << i;
        EXPECT_EQ(g_cwd, c.wantCwd) << "case " << i;
        EXPECT_EQ(g_file, c.wantFile) << "case " << i;
        EXPECT_EQ(CurrentDir(), S("start")) << "case " << i << ": the current directory moved";
    }
}

TEST_F(TrueFileDialogTest, ChosenFilesAsFullPaths) {
    const std::string docs = S("docs");
    const DWORD multi = OFN_ALLOWMULTISELECT;
    const struct {
        DWORD flags;
        std::vector<std::string> answer;
        DWORD maxFile;
        std::vector<std::string> want;  // nothing: the dialog answers IDCANCEL
    } cases[] = {
        {multi, {docs + "/a.txt", docs + "/b.txt"}, 2048, {docs + "\\a.txt", docs + "\\b.txt"}},
        {multi, {docs + "/only.txt"}, 2048, {docs + "/only.txt"}},
        {multi, {"/a.txt", "/b.txt"}, 2048, {"/a.txt", "/b.txt"}},
        {0, {docs + "/one.txt"}, MAX_PATH, {docs + "/one.txt"}},
        {multi, {}, 2048, {}},
        {multi, std::vector<std::string>(100, docs + "/a-name-of-twenty.txt"), 2048, {}},  // too many
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        g_answer = c.answer;
        CTrueFileDialog dialog(TRUE, nullptr, nullptr, c.flags);
        EXPECT_EQ(dialog.DoModal(), c.want.empty() ? IDCANCEL : IDOK) << "case " << i;
        EXPECT_EQ(g_maxFile, c.maxFile) << "case " << i;
        EXPECT_EQ(CurrentDir(), S("start")) << "case " << i;
        if (c.want.empty()) continue;
        CStringArray paths;
        paths.Add("stale");
        EXPECT_EQ(dialog.GetFilePaths(paths), static_cast<int>(c.want.size())) << "case " << i;
        std::vector<std::string> got(paths.GetData(), paths.GetData() + paths.GetSize());
        EXPECT_EQ(got, c.want) << "case " << i;
    }
    EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
}

// A dialog whose proposed name has no folder, confirmed.
TEST_F(TrueFileDialogTest, LogLinesOfOneDialog) {
    g_answer = {S("docs/a.txt")};
    CTrueFileDialog(TRUE, nullptr, "report.txt").DoModal();
    const std::vector<std::string> want = {
        "-> CheckPath", "<- CheckPath good", "-> CTrueFileDialog::DoModal", "CTrueFileDialog::DoModal 'report.txt'\n",
        "-> DirFromPath", "DirFromPath after _makepath ''\n", "<- DirFromPath good", "-> DirFromDir",
        "<- DirFromDir bad", "-> GetMyDocPath", "<- GetMyDocPath good", "<- CTrueFileDialog::DoModal good"};
    EXPECT_EQ(m_log, want);
}

TEST_F(TrueFileDialogTest, FolderChosenAnewOnEveryCall) {
    g_answer.clear();
    CTrueFileDialog dialog(TRUE, nullptr, "report.txt");
    const std::string other = S("other");
    dialog.GetOFN().lpstrInitialDir = other.c_str();
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "round " << round;
        EXPECT_EQ(g_initialDir, other) << "round " << round;
    }
}

}  // namespace
