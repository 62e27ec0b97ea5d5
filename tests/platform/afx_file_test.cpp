// CFile and CFileStatus: open modes, I/O, lengths, status, removal, and the
// CFileException each failure carries. The bytes on disk are read back with
// the standard library.
#include <string.h>

#include <algorithm>
#include <string>

#include <afx.h>

#include "afx_test_support.h"
#include "support/testutil.h"

namespace {

using afx_test::CatchFileError;
using afx_test::FileError;
using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

// Local now as the file times read: through the system's local calendar time.
CTime LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return CTime(st);
}

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
    file.Flush();
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(ReadFileBytes(path), std::string("hello world\0!", 13));
}

TEST(FileTest, OpenFlagsChooseCreationAndTruncation) {
    TempDir dir;
    const std::string path = dir.file("existing.txt");
    struct Case {
        UINT flags;
        bool preexisting;
        BOOL wantOpen;
        std::string wantBytes;  // after writing "new"
    };
    const Case cases[] = {
        {CFile::modeCreate | CFile::modeWrite, true, TRUE, "new"},
        {CFile::modeCreate | CFile::modeWrite, false, TRUE, "new"},
        {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, true, TRUE, "newold"},
        {CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, false, TRUE, "new"},
        {CFile::modeWrite, true, TRUE, "newold"},
        {CFile::modeWrite | CFile::shareDenyNone | CFile::typeBinary, true, TRUE, "newold"},
        {CFile::modeWrite, false, FALSE, ""},
        {CFile::modeRead, false, FALSE, ""},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        if (c.preexisting)
            WriteFileBytes(path, "oldold");
        else
            DeleteFileA(path.c_str());
        CFile file;
        CFileException error;
        SetLastError(0xdeadbeef);
        ASSERT_EQ(file.Open(path.c_str(), c.flags, &error), c.wantOpen) << "case " << i;
        if (c.wantOpen) {
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
}

TEST(FileTest, MissingFolderIsABadPath) {
    TempDir dir;
    const std::string path = dir.file("no-such-folder") + "/file.dat";
    SetLastError(0xdeadbeef);
    FileError got = CatchFileError([&] { CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite); });
    ASSERT_TRUE(got.thrown);
    EXPECT_EQ(got.cause, CFileException::badPath);
    EXPECT_EQ(got.lOsError, ERROR_PATH_NOT_FOUND);
    EXPECT_STREQ(got.strFileName, path.c_str());

    CFile file;
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead));  // no error object: just FALSE
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);

    const std::string tooLong = dir.file(std::string(MAX_PATH, 'n'));
    CFileException error;
    EXPECT_FALSE(file.Open(tooLong.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(FileExists(tooLong));
}

TEST(FileTest, FailuresThrowWithTheirCause) {
    TempDir dir;
    const std::string path = dir.file("ro.txt");
    WriteFileBytes(path, "abc");
    CFile reader(path.c_str(), CFile::modeRead);

    FileError got = CatchFileError([&] { reader.Write("x", 1); });
    ASSERT_TRUE(got.thrown);
    EXPECT_EQ(got.cause, CFileException::accessDenied);
    EXPECT_EQ(got.lOsError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Slashes(got.strFileName.GetString()), Slashes(path));

    got = CatchFileError([&] { reader.Seek(-1, CFile::begin); });
    ASSERT_TRUE(got.thrown);
    EXPECT_EQ(got.cause, CFileException::badSeek);
    EXPECT_EQ(got.lOsError, ERROR_NEGATIVE_SEEK);

    EXPECT_TRUE(afx_test::Throws<CInvalidArgException>([&] { reader.Seek(0, 7); }));

    // A closed CFile answers like a bad handle. (While it was open, the file
    // was not shared: shareCompat means exclusive.)
    reader.Close();
    EXPECT_EQ(ReadFileBytes(path), "abc");
    reader.Close();  // closing twice is harmless
    char c;
    got = CatchFileError([&] { (void)reader.Read(&c, 1); });
    EXPECT_TRUE(got.thrown);
    EXPECT_EQ(got.lOsError, ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CatchFileError([&] { (void)reader.GetLength(); }).thrown);
    EXPECT_EQ(reader.Read(&c, 0), 0u);  // nothing to do, nothing to fail
}

TEST(FileTest, SetLengthCutsAndExtends) {
    TempDir dir;
    const std::string path = dir.file("len.bin");
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("0123456789", 10);
    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(6);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), std::string("0123\0\0", 6));
}

TEST(FileTest, NamesAndOwnership) {
    TempDir dir;
    const std::string path = dir.file("report.final.txt");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_STREQ(file.GetFileName(), "report.final.txt");
        EXPECT_STREQ(file.GetFileTitle(), "report.final");
        EXPECT_EQ(Slashes(file.GetFilePath().GetString()), Slashes(path));
        EXPECT_TRUE(file.IsKindOf(RUNTIME_CLASS(CFile)));
        file.Write("x", 1);
        // Opening again closes the first handle.
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        EXPECT_EQ(file.GetLength(), 1u);
    }  // the destructor closes: removal works even where open files are locked
    CFile::Remove(path.c_str());
    EXPECT_FALSE(FileExists(path));

    // A CFile around a caller's handle leaves it open.
    const std::string other = dir.file("borrowed.bin");
    HANDLE h = CreateFileA(other.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile borrowed(h);
        borrowed.Write("ab", 2);
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "c", 1, &written, NULL));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadFileBytes(other), "abc");
}

TEST(FileTest, StatusOfFilesAndFolders) {
    TempDir dir;
    const std::string path = dir.file("status.dat");
    const CTime before = LocalNow();
    WriteFileBytes(path, std::string(1234, 's'));
    const CTime after = LocalNow();

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    EXPECT_EQ(Slashes(status.m_szFullName), Slashes(path));
    EXPECT_GE(status.m_mtime, before - CTimeSpan(2));
    EXPECT_LE(status.m_mtime, after + CTimeSpan(2));
    EXPECT_LE(status.m_atime, after + CTimeSpan(2));

    CFile file(path.c_str(), CFile::modeRead);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));
    EXPECT_EQ(open.m_size, 1234u);
    EXPECT_EQ(open.m_mtime, status.m_mtime);
    EXPECT_EQ(Slashes(open.m_szFullName), Slashes(path));
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

TEST(FileTest, RemoveAndRenameThrowForMissingFiles) {
    TempDir dir;
    const std::string a = dir.file("a.txt");
    const std::string b = dir.file("b.txt");
    WriteFileBytes(a, "moved");
    CFile::Rename(a.c_str(), b.c_str());
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(ReadFileBytes(b), "moved");

    SetLastError(0xdeadbeef);
    FileError got = CatchFileError([&] { CFile::Rename(a.c_str(), b.c_str()); });
    ASSERT_TRUE(got.thrown);
    EXPECT_EQ(got.cause, CFileException::fileNotFound);
    EXPECT_EQ(got.lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(got.strFileName, a.c_str());

    CFile::Remove(b.c_str());
    EXPECT_FALSE(FileExists(b));
    SetLastError(0xdeadbeef);
    got = CatchFileError([&] { CFile::Remove(b.c_str()); });
    ASSERT_TRUE(got.thrown);
    EXPECT_EQ(got.cause, CFileException::fileNotFound);
    EXPECT_EQ(got.lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(got.strFileName, b.c_str());
}

}  // namespace
