// CFile and CFileStatus: open modes, I/O, lengths, status, removal, and the
// CFileException each failure carries. The bytes on disk are read back with
// the standard library.
#include <string.h>

#include <string>

#include <afx.h>

#include "afx_test_support.h"
#include "support/testutil.h"

namespace {

using afx_test::CatchFileError;
using afx_test::FileError;
using afx_test::Slashes;
using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

TEST(FileTest, WritesSeeksAndReads) {
    TempDir dir;
    const std::string path = dir.file("data.bin");
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.GetPosition(), 11u);
    file.SeekToBegin();
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 5), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
    EXPECT_EQ(file.Seek(1, CFile::current), 7u);
    memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 4u);  // short read at the end
    EXPECT_STREQ(buffer, "orld");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.SeekToEnd(), 11u);
    file.Write("\0!", 2);
    file.SetLength(12);  // cutting below the position moves it
    EXPECT_EQ(file.GetPosition(), 12u);
    file.SetLength(15);  // extending adds zeros
    EXPECT_EQ(file.GetLength(), 15u);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(ReadFileBytes(path), std::string("hello world\0\0\0\0", 15));
}

TEST(FileTest, OpenFlagsChooseCreationAndTruncation) {
    TempDir dir;
    const std::string path = dir.file("existing.txt");
    struct Case {
        UINT flags;
        bool preexisting;
        const char* wantBytes;  // after writing "new"; NULL: Open fails
    };
    const Case cases[] = {
        {CFile::modeCreate | CFile::modeWrite, true, "new"},
        {CFile::modeCreate | CFile::modeWrite, false, "new"},
        {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, true, "newold"},
        {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, false, "new"},
        {CFile::modeWrite | CFile::shareDenyNone | CFile::typeBinary, true, "newold"},
        {CFile::modeWrite, false, NULL},
        {CFile::modeRead, false, NULL},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        c.preexisting ? WriteFileBytes(path, "oldold") : (void)DeleteFileA(path.c_str());
        CFile file;
        CFileException error;
        SetLastError(0xdeadbeef);
        ASSERT_EQ(file.Open(path.c_str(), c.flags, &error), c.wantBytes != NULL) << "case " << i;
        if (c.wantBytes != NULL) {
            file.Write("new", 3);
            file.Close();
            EXPECT_EQ(ReadFileBytes(path), c.wantBytes) << "case " << i;
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "case " << i;
            EXPECT_EQ(error.m_cause, CFileException::fileNotFound) << "case " << i;
            EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND) << "case " << i;
            EXPECT_STREQ(error.m_strFileName, path.c_str()) << "case " << i;
            EXPECT_FALSE(FileExists(path)) << "case " << i;
        }
    }
    CFile file;
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead));  // no error object: just FALSE
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    const std::string tooLong = dir.file(std::string(MAX_PATH, 'n'));
    CFileException error;
    EXPECT_FALSE(file.Open(tooLong.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
}

TEST(FileTest, FailuresThrowWithTheirCause) {
    TempDir dir;
    const CString ro = dir.file("ro.txt").c_str(), missing = dir.file("missing.txt").c_str();
    const CString noFolder = (dir.file("no-such-folder") + "/file.dat").c_str();
    WriteFileBytes(ro.GetString(), "abc");
    CFile reader(ro, CFile::modeRead);
    CFile closed;
    char c;
    using FE = CFileException;
    const FileError cases[][2] = {
        {CatchFileError([&] { CFile file(noFolder, CFile::modeCreate | CFile::modeWrite); }),
         {true, FE::badPath, ERROR_PATH_NOT_FOUND, noFolder}},
        {CatchFileError([&] { reader.Write("x", 1); }), {true, FE::accessDenied, ERROR_ACCESS_DENIED, ro}},
        {CatchFileError([&] { reader.Seek(-1, CFile::begin); }), {true, FE::badSeek, ERROR_NEGATIVE_SEEK, ro}},
        {CatchFileError([&] { CFile::Rename(missing, ro); }), {true, FE::fileNotFound, ERROR_FILE_NOT_FOUND, missing}},
        {CatchFileError([&] { CFile::Remove(missing); }), {true, FE::fileNotFound, ERROR_FILE_NOT_FOUND, missing}},
        {CatchFileError([&] { (void)closed.Read(&c, 1); }), {true, FE::fileNotFound, ERROR_INVALID_HANDLE, ""}},
        {CatchFileError([&] { (void)closed.GetLength(); }), {true, FE::fileNotFound, ERROR_INVALID_HANDLE, ""}},
        {CatchFileError([&] { (void)closed.Read(&c, 0); }), {}},  // nothing to do, nothing to fail
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i][0], cases[i][1]) << "case " << i;
    EXPECT_FALSE(FileExists(noFolder.GetString()));
    EXPECT_TRUE(afx_test::Throws<CInvalidArgException>([&] { reader.Seek(0, 7); }));
    reader.Close();
    reader.Close();  // closing twice is harmless
    EXPECT_EQ(ReadFileBytes(ro.GetString()), "abc");
}

TEST(FileTest, NamesOwnershipRenameAndRemove) {
    TempDir dir;
    const std::string path = dir.file("report.final.txt"), renamed = dir.file("renamed.txt");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_STREQ(file.GetFileName(), "report.final.txt");
        EXPECT_STREQ(file.GetFileTitle(), "report.final");
        EXPECT_EQ(Slashes(file.GetFilePath().GetString()), Slashes(path));
        file.Write("x", 1);
        // Opening again closes the first handle.
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        EXPECT_EQ(file.GetLength(), 1u);
    }  // the destructor closes: renaming works even where open files are locked
    CFile::Rename(path.c_str(), renamed.c_str());
    EXPECT_EQ(ReadFileBytes(renamed), "x");
    CFile::Remove(renamed.c_str());
    EXPECT_FALSE(FileExists(path) || FileExists(renamed));

    // A CFile around a caller's handle leaves it open.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile borrowed(h);
        borrowed.Write("ab", 2);
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "c", 1, &written, NULL));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadFileBytes(path), "abc");
}

TEST(FileTest, StatusOfFilesAndFolders) {
    TempDir dir;
    const std::string path = dir.file("status.dat");
    SYSTEMTIME st;
    GetLocalTime(&st);  // file times read in local calendar time
    const CTime before(st);
    WriteFileBytes(path, std::string(1234, 's'));
    GetLocalTime(&st);
    const CTime after(st);

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    EXPECT_EQ(Slashes(status.m_szFullName), Slashes(path));
    EXPECT_GE(status.m_mtime, before - CTimeSpan(2));
    EXPECT_LE(status.m_mtime, after + CTimeSpan(2));

    CFile file(path.c_str(), CFile::modeRead);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));
    EXPECT_EQ(open.m_size, 1234u);
    EXPECT_EQ(open.m_mtime, status.m_mtime);
    file.Close();
    EXPECT_FALSE(file.GetStatus(open));

    CFileStatus folder;
    ASSERT_TRUE(CFile::GetStatus(dir.path().c_str(), folder));
    EXPECT_NE(folder.m_attribute & CFile::directory, 0);
    CFileStatus missing;
    EXPECT_FALSE(CFile::GetStatus(dir.file("missing").c_str(), missing));
    EXPECT_EQ(Slashes(missing.m_szFullName), Slashes(dir.file("missing")));
    EXPECT_FALSE(CFile::GetStatus(NULL, missing));
}

}  // namespace
