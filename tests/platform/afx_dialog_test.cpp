// CFileDialog's record as the constructor fills it, and its path accessors.
#include <afxdlgs.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileDialogTest, ConstructorFillsTheRecord) {
    CFileDialog dialog(TRUE, "txt", "C:\\Docs\\report.final.txt", OFN_FILEMUSTEXIST, "Text|*.txt|All|*.*");
    const OPENFILENAME& ofn = dialog.GetOFN();
    EXPECT_EQ(ofn.lStructSize, sizeof(OPENFILENAME));
    EXPECT_EQ(ofn.Flags, DWORD(OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK));
    EXPECT_EQ(ofn.nMaxFile, DWORD(_MAX_PATH));
    EXPECT_STREQ(ofn.lpstrDefExt, "txt");
    // A filter without its closing '|' is closed all the same.
    EXPECT_EQ(std::string(ofn.lpstrFilter, 20), std::string("Text\0*.txt\0All\0*.*\0\0", 20));
    EXPECT_STREQ(dialog.GetPathName(), "C:\\Docs\\report.final.txt");
    EXPECT_STREQ(dialog.GetFileName(), "report.final.txt");
    EXPECT_STREQ(dialog.GetFileExt(), "txt");
    static char several[] = "/d/e\0a.txt\0b.txt\0";
    dialog.GetOFN().lpstrFile = several;
    EXPECT_STREQ(dialog.GetPathName(), "/d/e");
    EXPECT_STREQ(dialog.GetFileExt(), "");
}

// The record size is the caller's to choose, and is checked before any
// dialog is shown.
TEST(FileDialogTest, RecordSizeIsChecked) {
    CFileDialog old(FALSE, nullptr, nullptr, 0, nullptr, nullptr, OPENFILENAME_SIZE_VERSION_400);
    EXPECT_EQ(old.GetOFN().lStructSize, DWORD(OPENFILENAME_SIZE_VERSION_400));
    CFileDialog bad(TRUE, nullptr, nullptr, 0, nullptr, nullptr, 12);
    EXPECT_EQ(bad.DoModal(), IDCANCEL);
    EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
}

}  // namespace
