// CTrueFileDialog driven from OnInitDialog, in both builds: the dialog is
// answered as soon as its window exists (on Windows by commands posted to
// the system's dialog; in the Linux build the default presenter cancels
// without a display). What it was opened with, what it returns, and the
// current directory around it are the library's doing.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <xwth/filedialog.h>

#include "support/testutil.h"

namespace {

std::string CurrentDir() {
    char buf[MAX_PATH];
    return GetCurrentDirectoryA(sizeof buf, buf) ? buf : "";
}

// Types `names` into the file name box (none: cancels) and confirms.
struct Answerer : CTrueFileDialog {
    Answerer(const char* name, const char* names)
        : CTrueFileDialog(TRUE, nullptr, name, OFN_ALLOWMULTISELECT), names(names) {}
    BOOL OnInitDialog() override {
        seenDir = m_ofn.lpstrInitialDir;
        seenCwd = CurrentDir();
        tied = CWnd::FromHandlePermanent(m_hWnd) == this;
        if (names != nullptr) ::PostMessageA(m_hWnd, WM_USER + 104 /* CDM_SETCONTROLTEXT */, 0x47C /* cmb13 */,
                                             reinterpret_cast<LPARAM>(names));
        ::PostMessageA(m_hWnd, WM_COMMAND, names != nullptr ? IDOK : IDCANCEL, 0);
        return CTrueFileDialog::OnInitDialog();
    }
    const char* names;
    std::string seenDir, seenCwd;
    bool tied = false;  // the object was the dialog window's while it was up
};

TEST(TrueFileDialogDriveTest, OpensInTheProposedFolderAndKeepsTheCurrentOne) {
    xwth_test::TempDir scratch;
    const std::string docs = scratch.file("docs");
    std::filesystem::create_directories(docs);
    for (const char* name : {"a.txt", "b.txt"}) xwth_test::WriteFileBytes(docs + "\\" + name, "x");
    xwth_test::ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    const struct {
        const char* names;
        std::vector<std::string> want;  // nothing: cancelled
    } cases[] = {
        {nullptr, {}},
#if defined(_WIN32)
        {"a.txt", {docs + "\\a.txt"}},
        {"\"a.txt\" \"b.txt\"", {docs + "\\a.txt", docs + "\\b.txt"}},
#endif
    };
    const std::string before = CurrentDir();
    for (size_t i = 0; i < std::size(cases); ++i) {
        Answerer dialog((docs + "\\report.txt").c_str(), cases[i].names);
        EXPECT_EQ(dialog.DoModal(), cases[i].want.empty() ? IDCANCEL : IDOK) << "case " << i;
        EXPECT_EQ(CommDlgExtendedError(), 0u) << "case " << i;
        EXPECT_EQ(dialog.seenDir, docs + "\\") << "case " << i;
        EXPECT_EQ(dialog.seenCwd, docs) << "case " << i;
        EXPECT_EQ(CurrentDir(), before) << "case " << i;
        EXPECT_TRUE(dialog.tied && dialog.GetSafeHwnd() == NULL) << "case " << i;
        CStringArray paths;
        if (!cases[i].want.empty()) dialog.GetFilePaths(paths);
        EXPECT_EQ(std::vector<std::string>(paths.GetData(), paths.GetData() + paths.GetSize()), cases[i].want)
            << "case " << i;
    }
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
