// kernel32 files and folders: dispositions, I/O on handles, attributes,
// copy, move, delete, folders and path names. Win32 API only.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

using xwth_test::FileExists;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Names in a folder other than "." and "..", sorted.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string n = fd.cFileName;
        if (n != "." && n != "..") {
            names.push_back(n);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

// Both spellings of a separator read as '/', for comparing paths.
std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

constexpr DWORD kAnyError = 0xFFFFFFFF;  // the call's last error is not checked

TEST(KernelFileTest, CreateFileDispositions) {
    struct Case {
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD error;
        const char* content;  // afterwards; nullptr: no file
    };
    const Case cases[] = {
        {CREATE_NEW, false, true, kAnyError, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {OPEN_EXISTING, true, true, kAnyError, "old"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {TRUNCATE_EXISTING, true, true, kAnyError, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TempDir dir;
        const std::string path = dir.file("f.dat");
        if (c.exists) {
            WriteFileBytes(path, "old");
        }
        SetLastError(0xdeadbeef);
        HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, c.disposition);
        const DWORD error = GetLastError();
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << "case " << i;
        if (c.error != kAnyError) {
            EXPECT_EQ(error, c.error) << "case " << i;
        }
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(h)) << "case " << i;
        }
        EXPECT_EQ(FileExists(path), c.content != nullptr) << "case " << i;
        if (c.content != nullptr) {
            EXPECT_EQ(ReadFileBytes(path), c.content) << "case " << i;
        }
    }
}

TEST(KernelFileTest, ReadWriteSeekAndSize) {
    TempDir dir;
    const std::string path = dir.file("io.dat");
    HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(n, 11u);

    struct Seek {
        LONG distance;
        DWORD method;
        DWORD position;
    };
    const Seek seeks[] = {{6, FILE_BEGIN, 6}, {-5, FILE_END, 6}, {2, FILE_CURRENT, 8}, {0, FILE_END, 11}};
    for (std::size_t i = 0; i < std::size(seeks); ++i) {
        if (i > 0 && seeks[i].method == FILE_CURRENT) {
            SetFilePointer(h, 6, nullptr, FILE_BEGIN);
        }
        EXPECT_EQ(SetFilePointer(h, seeks[i].distance, nullptr, seeks[i].method), seeks[i].position) << "case " << i;
    }

    SetFilePointer(h, 6, nullptr, FILE_BEGIN);
    char buf[16] = {};
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "world");
    // At the end a read succeeds with nothing.
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(n, 0u);

    SetLastError(0xdeadbeef);
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));

    LONG high = 0;
    EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 0);
    ASSERT_TRUE(SetEndOfFile(h));
    DWORD sizeHigh = 1;
    EXPECT_EQ(GetFileSize(h, &sizeHigh), 5u);
    EXPECT_EQ(sizeHigh, 0u);
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 5);

    LARGE_INTEGER to, now;
    to.QuadPart = 1;
    ASSERT_TRUE(SetFilePointerEx(h, to, &now, FILE_BEGIN));
    EXPECT_EQ(now.QuadPart, 1);
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadFileBytes(path), "hello");
}

TEST(KernelFileTest, HandleWithoutTheAccessRefusesTheCall) {
    TempDir dir;
    const std::string path = dir.file("ro.dat");
    WriteFileBytes(path, "data");
    DWORD n = 7;

    HANDLE reader = Open(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(n, 0u);
    CloseHandle(reader);

    HANDLE writer = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    char buf[4];
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(ReadFile(writer, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(writer);
    EXPECT_EQ(ReadFileBytes(path), "data");
}

TEST(KernelFileTest, BadHandlesFailWithInvalidHandle) {
    TempDir dir;
    HANDLE closed = Open(dir.file("c.dat"), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(closed, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(closed));
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir.path() + "\\*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    // Never opened, already closed, and a handle of another kind.
    const HANDLE handles[] = {nullptr, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x12345678)), closed, find};
    for (std::size_t i = 0; i < std::size(handles); ++i) {
        const HANDLE h = handles[i];
        char buf[4];
        DWORD n;
        LARGE_INTEGER li;
        li.QuadPart = 0;
        FILETIME ft;
        auto check = [&](const char* name, bool failed) {
            EXPECT_TRUE(failed) << name << " case " << i;
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << name << " case " << i;
            SetLastError(0xdeadbeef);
        };
        SetLastError(0xdeadbeef);
        check("ReadFile", !ReadFile(h, buf, sizeof buf, &n, nullptr));
        check("WriteFile", !WriteFile(h, "x", 1, &n, nullptr));
        check("SetFilePointer", SetFilePointer(h, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER);
        check("SetFilePointerEx", !SetFilePointerEx(h, li, nullptr, FILE_BEGIN));
        check("SetEndOfFile", !SetEndOfFile(h));
        check("FlushFileBuffers", !FlushFileBuffers(h));
        check("GetFileSize", GetFileSize(h, nullptr) == INVALID_FILE_SIZE);
        check("GetFileSizeEx", !GetFileSizeEx(h, &li));
        check("GetFileTime", !GetFileTime(h, &ft, &ft, &ft));
        if (h != find) {
            check("CloseHandle", !CloseHandle(h));
        }
    }
    EXPECT_TRUE(FindClose(find));
}

TEST(KernelFileTest, AttributesOfFilesFoldersAndMissingNames) {
    TempDir dir;
    const std::string file = dir.file("f.txt");
    WriteFileBytes(file, "12345");
    struct Case {
        std::string path;
        DWORD mustHave;
        DWORD mustLack;
        DWORD error;  // for INVALID_FILE_ATTRIBUTES
    };
    const Case cases[] = {
        {file, 0, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, 0},
        {dir.path(), FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_READONLY, 0},
        {dir.path() + "\\f.txt", 0, FILE_ATTRIBUTE_DIRECTORY, 0},
        {dir.file("missing.txt"), 0, 0, ERROR_FILE_NOT_FOUND},
        {dir.file("nofolder") + "\\x.txt", 0, 0, ERROR_PATH_NOT_FOUND},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SetLastError(0xdeadbeef);
        const DWORD attrs = GetFileAttributesA(c.path.c_str());
        if (c.error != 0) {
            EXPECT_EQ(attrs, INVALID_FILE_ATTRIBUTES) << "case " << i;
            EXPECT_EQ(GetLastError(), c.error) << "case " << i;
            continue;
        }
        ASSERT_NE(attrs, INVALID_FILE_ATTRIBUTES) << "case " << i;
        EXPECT_EQ(attrs & c.mustHave, c.mustHave) << "case " << i;
        EXPECT_EQ(attrs & c.mustLack, 0u) << "case " << i;
    }

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    HANDLE h = Open(file, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME written;
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    EXPECT_EQ(written.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(written.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetFileAttributesExA(dir.file("missing").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(KernelFileTest, ReadOnlyFileRefusesWritesAndDeletion) {
    TempDir dir;
    const std::string file = dir.file("locked.txt");
    WriteFileBytes(file, "keep");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    SetLastError(0xdeadbeef);
    EXPECT_EQ(Open(file, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(Open(file, GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(DeleteFileA(file.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFileBytes(file), "keep");

    HANDLE reader = Open(file, GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);

    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_FALSE(FileExists(file));
}

TEST(KernelFileTest, CopyFileRules) {
    TempDir dir;
    const std::string src = dir.file("src.txt");
    const std::string dst = dir.file("dst.txt");
    WriteFileBytes(src, "source bytes");
    WriteFileBytes(dst, "old target");

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(CopyFileA(src.c_str(), dst.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadFileBytes(dst), "old target");

    ASSERT_TRUE(CopyFileA(src.c_str(), dst.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(dst), "source bytes");
    WIN32_FILE_ATTRIBUTE_DATA a, b;
    ASSERT_TRUE(GetFileAttributesExA(src.c_str(), GetFileExInfoStandard, &a));
    ASSERT_TRUE(GetFileAttributesExA(dst.c_str(), GetFileExInfoStandard, &b));
    EXPECT_TRUE(SameTime(a.ftLastWriteTime, b.ftLastWriteTime)) << "last write time copied";

    const std::string fresh = dir.path() + "\\fresh.txt";
    EXPECT_TRUE(CopyFileA(src.c_str(), fresh.c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(dir.file("fresh.txt")), "source bytes");

    struct Failure {
        std::string from;
        std::string to;
        DWORD error;
    };
    const Failure failures[] = {
        {dir.file("missing.txt"), dir.file("x.txt"), ERROR_FILE_NOT_FOUND},
        {dir.path(), dir.file("folder-copy"), ERROR_ACCESS_DENIED},
        {src, dir.file("nofolder") + "\\x.txt", ERROR_PATH_NOT_FOUND},
    };
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(CopyFileA(failures[i].from.c_str(), failures[i].to.c_str(), FALSE)) << "case " << i;
        EXPECT_EQ(GetLastError(), failures[i].error) << "case " << i;
    }
    // Failed copies leave nothing behind, not even a temporary file.
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"dst.txt", "fresh.txt", "src.txt"}));
}

TEST(KernelFileTest, DeleteFileErrors) {
    TempDir dir;
    const std::string sub = dir.file("sub");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    struct Case {
        std::string path;
        DWORD error;
    };
    const Case cases[] = {
        {dir.file("missing.txt"), ERROR_FILE_NOT_FOUND},
        {dir.file("nofolder") + "\\x.txt", ERROR_PATH_NOT_FOUND},
        {sub, ERROR_ACCESS_DENIED},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(DeleteFileA(cases[i].path.c_str())) << "case " << i;
        EXPECT_EQ(GetLastError(), cases[i].error) << "case " << i;
    }
    const std::string file = dir.file("gone.txt");
    WriteFileBytes(file, "x");
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_FALSE(FileExists(file));
}

TEST(KernelFileTest, MoveFileRules) {
    TempDir dir;
    const std::string a = dir.file("a.txt");
    const std::string b = dir.file("b.txt");
    WriteFileBytes(a, "A");
    WriteFileBytes(b, "B");

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(MoveFileA(a.c_str(), b.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(b), "B");

    ASSERT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(ReadFileBytes(b), "A");

    const std::string folder = dir.file("folder");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string moved = dir.path() + "\\moved";
    ASSERT_TRUE(MoveFileA(folder.c_str(), moved.c_str()));
    EXPECT_NE(GetFileAttributesA(moved.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(MoveFileA(dir.file("missing").c_str(), dir.file("x").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(KernelFileTest, CreateAndRemoveDirectory) {
    TempDir dir;
    const std::string sub = dir.file("sub");
    const std::string file = dir.file("plain.txt");
    WriteFileBytes(file, "x");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    WriteFileBytes(dir.file("sub") + "/inner.txt", "x");

    struct Case {
        bool create;
        std::string path;
        DWORD error;
    };
    const Case cases[] = {
        {true, sub, ERROR_ALREADY_EXISTS},
        {true, file, ERROR_ALREADY_EXISTS},
        {true, dir.file("nofolder") + "\\deeper", ERROR_PATH_NOT_FOUND},
        {false, sub, ERROR_DIR_NOT_EMPTY},
        {false, dir.file("missing"), ERROR_FILE_NOT_FOUND},
        {false, file, ERROR_DIRECTORY},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SetLastError(0xdeadbeef);
        const BOOL ok = c.create ? CreateDirectoryA(c.path.c_str(), nullptr) : RemoveDirectoryA(c.path.c_str());
        EXPECT_FALSE(ok) << "case " << i;
        EXPECT_EQ(GetLastError(), c.error) << "case " << i;
    }
    ASSERT_TRUE(DeleteFileA((sub + "\\inner.txt").c_str()));
    EXPECT_TRUE(RemoveDirectoryA(sub.c_str()));
    EXPECT_FALSE(FileExists(sub));
}

TEST(KernelFileTest, BothSeparatorsAndDoubledOnesWork) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryA((dir.path() + "\\sub").c_str(), nullptr));
    const std::string mixed = dir.path() + "\\sub\\\\file.txt";
    HANDLE h = Open(mixed, GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n;
    WriteFile(h, "mixed", 5, &n, nullptr);
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(dir.file("sub") + "/file.txt"), "mixed");
    EXPECT_NE(GetFileAttributesA((dir.path() + "/sub/file.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Restores the current folder whatever the test does.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() { GetCurrentDirectoryA(sizeof m_saved, m_saved); }
    ~CurrentDirectoryGuard() { SetCurrentDirectoryA(m_saved); }

private:
    char m_saved[4096] = {};
};

TEST(KernelFileTest, CurrentDirectoryBufferSizes) {
    TempDir dir;
    CurrentDirectoryGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    const std::string want = dir.path();
    const DWORD len = static_cast<DWORD>(want.size());

    char big[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof big, big), len);
    EXPECT_EQ(Slashes(big), Slashes(want));
    std::vector<char> exact(len + 1);
    EXPECT_EQ(GetCurrentDirectoryA(len + 1, exact.data()), len);
    EXPECT_EQ(Slashes(exact.data()), Slashes(want));
    std::vector<char> small(len, 'z');
    EXPECT_EQ(GetCurrentDirectoryA(len, small.data()), len + 1) << "too small: the size needed";

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(SetCurrentDirectoryA(dir.file("missing").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(KernelFileTest, FullPathNameFoldsDotsLexically) {
    TempDir dir;
    CurrentDirectoryGuard guard;
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    struct Case {
        const char* input;
        std::string want;
        const char* filePart;
    };
    const Case cases[] = {
        {"a.txt", dir.path() + "/a.txt", "a.txt"},
        {"x\\..\\b.txt", dir.path() + "/b.txt", "b.txt"},
        {".\\sub\\.\\c.txt", dir.path() + "/sub/c.txt", "c.txt"},
        {"sub\\", dir.path() + "/sub/", nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[4096];
        char* part = nullptr;
        const DWORD n = GetFullPathNameA(c.input, sizeof buf, buf, &part);
        EXPECT_EQ(n, c.want.size()) << "case " << i;
        EXPECT_EQ(Slashes(buf), Slashes(c.want)) << "case " << i;
        if (c.filePart == nullptr) {
            EXPECT_EQ(part, nullptr) << "case " << i;
        } else {
            ASSERT_NE(part, nullptr) << "case " << i;
            EXPECT_STREQ(part, c.filePart) << "case " << i;
        }
    }
    const std::string full = dir.path() + "/a.txt";
    const DWORD len = static_cast<DWORD>(full.size());
    std::vector<char> exact(len + 1);
    EXPECT_EQ(GetFullPathNameA("a.txt", len + 1, exact.data(), nullptr), len);
    std::vector<char> small(len);
    EXPECT_EQ(GetFullPathNameA("a.txt", len, small.data(), nullptr), len + 1);
}

TEST(KernelFileTest, TempPathAndTempFileNames) {
    char temp[MAX_PATH];
    const DWORD len = GetTempPathA(sizeof temp, temp);
    ASSERT_GT(len, 0u);
    EXPECT_TRUE(temp[len - 1] == '\\' || temp[len - 1] == '/');
    EXPECT_EQ(GetTempPathA(len, temp), len + 1);

    TempDir dir;
    char name[MAX_PATH];
    const UINT fixed = GetTempFileNameA(dir.path().c_str(), "pre", 0x1234, name);
    EXPECT_EQ(fixed, 0x1234u);
    std::string s = Slashes(name);
    EXPECT_EQ(s, Slashes(dir.path()) + "/pre1234.tmp");
    EXPECT_FALSE(FileExists(name)) << "a given number only forms the name";

    const UINT chosen = GetTempFileNameA(dir.path().c_str(), "prefix", 0, name);
    ASSERT_NE(chosen, 0u);
    EXPECT_TRUE(FileExists(name));
    s = Slashes(name);
    EXPECT_EQ(s.rfind(Slashes(dir.path()) + "/pre", 0), 0u) << s;
    const UINT second = GetTempFileNameA(dir.path().c_str(), "pre", 0, name);
    EXPECT_NE(second, chosen);
    EXPECT_EQ(Listing(dir.path()).size(), 2u);
}

}  // namespace
