// kernel32 files and folders: dispositions, I/O on handles, attributes,
// copy, move, delete, folders and path names. Win32 API only.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/kernel_test_support.h"
#include "support/testutil.h"
#include "support/wine.h"

namespace {

using xwth_test::FileExists;
using xwth_test::Listing;
using xwth_test::ReadFileBytes;
using xwth_test::Returns;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

constexpr DWORD kAnyError = 0xFFFFFFFF;  // the call's last error is not checked

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Both spellings of a separator read as '/', for comparing paths.
std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

TEST(KernelFileTest, CreateFileDispositions) {
    // content: afterwards; nullptr: no file
    struct Case { DWORD disposition; bool exists; bool opens; DWORD error; const char* content; };
    const Case cases[] = {
        {CREATE_NEW, false, true, kAnyError, ""},           {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},     {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr}, {OPEN_EXISTING, true, true, kAnyError, "old"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},       {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {TRUNCATE_EXISTING, true, true, kAnyError, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TempDir dir;
        // Doubled and mixed separators name the same file.
        const std::string path = dir.path() + "\\\\f.dat";
        if (c.exists) {
            WriteFileBytes(dir.file("f.dat"), "old");
        }
        const auto got = WITH_LAST_ERROR(Open(path, GENERIC_READ | GENERIC_WRITE, c.disposition));
        EXPECT_EQ(got.value != INVALID_HANDLE_VALUE, c.opens) << "case " << i;
        EXPECT_EQ(got.error, c.error == kAnyError ? got.error : c.error) << "case " << i;
        EXPECT_TRUE(got.value == INVALID_HANDLE_VALUE || CloseHandle(got.value)) << "case " << i;
        EXPECT_EQ(FileExists(dir.file("f.dat")), c.content != nullptr) << "case " << i;
        EXPECT_EQ(ReadFileBytes(dir.file("f.dat")), c.content != nullptr ? c.content : "") << "case " << i;
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

    struct Seek { LONG distance; DWORD method; DWORD position; };
    const Seek seeks[] = {{6, FILE_BEGIN, 6}, {-5, FILE_END, 6}, {2, FILE_CURRENT, 8}, {0, FILE_END, 11}};
    for (std::size_t i = 0; i < std::size(seeks); ++i) {
        EXPECT_EQ(SetFilePointer(h, seeks[i].distance, nullptr, seeks[i].method), seeks[i].position) << "case " << i;
    }
    EXPECT_EQ(WITH_LAST_ERROR(SetFilePointer(h, -1, nullptr, FILE_BEGIN)),
              Returns(INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(WITH_LAST_ERROR(SetFilePointer(h, -12, nullptr, FILE_END)),
              Returns(INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 11u);  // a refused move moves nothing
    SetFilePointer(h, 6, nullptr, FILE_BEGIN);
    char buf[16] = {};
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "world");
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));  // at the end: success, nothing read
    EXPECT_EQ(n, 0u);

    LONG high = 0;
    DWORD sizeHigh = 1;
    LARGE_INTEGER size, to{}, now;
    EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 0);
    ASSERT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, &sizeHigh), 5u);
    EXPECT_EQ(sizeHigh, 0u);
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 5);
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
    for (const DWORD access : {static_cast<DWORD>(GENERIC_READ), static_cast<DWORD>(GENERIC_WRITE)}) {
        HANDLE h = Open(path, access, OPEN_EXISTING);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << access;
        char buf[4];
        DWORD n = 7;
        const auto refused = [&] {
            return access == GENERIC_READ ? WriteFile(h, "x", 1, &n, nullptr) : ReadFile(h, buf, 4, &n, nullptr);
        };
        EXPECT_EQ(WITH_LAST_ERROR(refused()), Returns(FALSE, ERROR_ACCESS_DENIED)) << access;
        EXPECT_EQ(n, 0u) << access;
        CloseHandle(h);
    }
    EXPECT_EQ(ReadFileBytes(path), "data");
}

TEST(KernelFileTest, BadHandlesFailWithInvalidHandle) {
    TempDir dir;
    // The find handle first: Windows may hand a closed handle's value to the
    // next object opened.
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir.path() + "\\*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    HANDLE closed = Open(dir.file("c.dat"), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(closed, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(closed));
    // Never opened, already closed, and a handle of another kind.
    const HANDLE handles[] = {nullptr, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x12345678)), closed, find};
    for (std::size_t i = 0; i < std::size(handles); ++i) {
        const HANDLE h = handles[i];
        char buf[4];
        DWORD n;
        LARGE_INTEGER li{};
        FILETIME ft;
        const std::pair<const char*, std::function<bool()>> calls[] = {
            {"ReadFile", [&] { return !ReadFile(h, buf, sizeof buf, &n, nullptr); }},
            {"WriteFile", [&] { return !WriteFile(h, "x", 1, &n, nullptr); }},
            {"SetFilePointer", [&] { return SetFilePointer(h, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER; }},
            {"SetFilePointerEx", [&] { return !SetFilePointerEx(h, li, nullptr, FILE_BEGIN); }},
            {"SetEndOfFile", [&] { return !SetEndOfFile(h); }},
            {"FlushFileBuffers", [&] { return !FlushFileBuffers(h); }},
            {"GetFileSize", [&] { return GetFileSize(h, nullptr) == INVALID_FILE_SIZE; }},
            {"GetFileSizeEx", [&] { return !GetFileSizeEx(h, &li); }},
            {"GetFileTime", [&] { return !GetFileTime(h, &ft, &ft, &ft); }},
            {"CloseHandle", [&] { return !CloseHandle(h); }},
        };
        for (const auto& [name, fails] : calls) {
            if (h == find && std::strcmp(name, "CloseHandle") == 0) {
                continue;  // the find handle is FindClose's
            }
            EXPECT_EQ(WITH_LAST_ERROR(fails()), Returns(true, ERROR_INVALID_HANDLE)) << name << " case " << i;
        }
    }
    EXPECT_TRUE(FindClose(find));
}

TEST(KernelFileTest, AttributesOfFilesAndFolders) {
    TempDir dir;
    const std::string file = dir.file("f.txt");
    WriteFileBytes(file, "12345");
    struct Case { std::string path; DWORD mustHave; DWORD mustLack; };
    const Case cases[] = {
        {file, 0, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
        {dir.path(), FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_READONLY},
        {dir.path() + "\\f.txt", 0, FILE_ATTRIBUTE_DIRECTORY},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const DWORD attrs = GetFileAttributesA(cases[i].path.c_str());
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(cases[i].path.c_str(), GetFileExInfoStandard, &data)) << "case " << i;
        EXPECT_EQ(data.dwFileAttributes, attrs) << "case " << i;
        EXPECT_EQ(attrs & cases[i].mustHave, cases[i].mustHave) << "case " << i;
        EXPECT_EQ(attrs & cases[i].mustLack, 0u) << "case " << i;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME written;
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    HANDLE h = Open(file, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    CloseHandle(h);
    EXPECT_TRUE(xwth_test::SameTime(written, data.ftLastWriteTime));
}

// Wine leaves the read-only attribute to Unix permissions, which root passes.
const char* WineAsRoot() {
    const char* user = std::getenv("USERNAME");
    return xwth_test::RunningUnderWine() && user != nullptr && std::strcmp(user, "root") == 0
               ? "Wine run as root opens read-only files for writing"
               : nullptr;
}

BOOL OpensForWriting(const char* path, DWORD disposition) {
    const HANDLE h = Open(path, GENERIC_WRITE, disposition);
    return h != INVALID_HANDLE_VALUE && CloseHandle(h);
}

// One table for the refusals of CreateFileA, CopyFileA, MoveFileA,
// DeleteFileA, CreateDirectoryA, RemoveDirectoryA, GetFileAttributes(Ex)A and
// SetCurrentDirectoryA; none of them changes the folder. A read-only file
// refuses writes and deletion but opens for reading.
TEST(KernelFileTest, RefusalsChangeNothing) {
    TempDir dir;
    const std::string src = dir.file("src.txt"), dst = dir.file("dst.txt"), locked = dir.file("locked.txt");
    const std::string sub = dir.file("sub"), missing = dir.file("missing"), deep = dir.file("nofolder") + "\\x.txt";
    WriteFileBytes(src, "source bytes");
    WriteFileBytes(dst, "old target");
    WriteFileBytes(locked, "keep");
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    WriteFileBytes(sub + "/inner.txt", "x");
    using S = const char*;
    const auto copy = [](S a, S b) { return CopyFileA(a, b, TRUE); };
    const auto copyOver = [](S a, S b) { return CopyFileA(a, b, FALSE); };
    const auto move = [](S a, S b) { return MoveFileA(a, b); };
    const auto del = [](S a, S) { return DeleteFileA(a); };
    const auto mkdir = [](S a, S) { return CreateDirectoryA(a, nullptr); };
    const auto rmdir = [](S a, S) { return RemoveDirectoryA(a); };
    const auto attrs = [](S a, S) -> BOOL { return GetFileAttributesA(a) != INVALID_FILE_ATTRIBUTES; };
    const auto attrsEx = [](S a, S) {
        WIN32_FILE_ATTRIBUTE_DATA d;
        return GetFileAttributesExA(a, GetFileExInfoStandard, &d);
    };
    const auto cd = [](S a, S) { return SetCurrentDirectoryA(a); };
    const auto write = [](S a, S) { return OpensForWriting(a, OPEN_EXISTING); };
    const auto create = [](S a, S) { return OpensForWriting(a, CREATE_ALWAYS); };
    // wine: why Wine succeeds
    struct Case { BOOL (*call)(S, S); std::string a, b; DWORD error; const char* wine = nullptr; };
    const Case cases[] = {
        {copy, src, dst, ERROR_FILE_EXISTS},          {copyOver, missing, dir.file("x.txt"), ERROR_FILE_NOT_FOUND},
        {copyOver, sub, dir.file("copy"), ERROR_ACCESS_DENIED}, {copyOver, src, deep, ERROR_PATH_NOT_FOUND},
        {move, src, dst, ERROR_ALREADY_EXISTS},       {move, missing, dir.file("x"), ERROR_FILE_NOT_FOUND},
        {del, missing, {}, ERROR_FILE_NOT_FOUND},     {del, deep, {}, ERROR_PATH_NOT_FOUND},
        {del, sub, {}, ERROR_ACCESS_DENIED},          {del, locked, {}, ERROR_ACCESS_DENIED},
        {mkdir, sub, {}, ERROR_ALREADY_EXISTS},       {mkdir, src, {}, ERROR_ALREADY_EXISTS},
        {mkdir, deep, {}, ERROR_PATH_NOT_FOUND},      {rmdir, sub, {}, ERROR_DIR_NOT_EMPTY},
        {rmdir, missing, {}, ERROR_FILE_NOT_FOUND},   {rmdir, src, {}, ERROR_DIRECTORY},
        {attrs, missing, {}, ERROR_FILE_NOT_FOUND},   {attrs, deep, {}, ERROR_PATH_NOT_FOUND},
        {attrsEx, missing, {}, ERROR_FILE_NOT_FOUND}, {attrsEx, deep, {}, ERROR_PATH_NOT_FOUND},
        {cd, missing, {}, ERROR_FILE_NOT_FOUND},
        {write, locked, {}, ERROR_ACCESS_DENIED, WineAsRoot()}, {create, locked, {}, ERROR_ACCESS_DENIED, WineAsRoot()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto got = WITH_LAST_ERROR(cases[i].call(cases[i].a.c_str(), cases[i].b.c_str()));
        TODO_WINE_EXPECT_FALSE(got.value, cases[i].wine) << "case " << i;
        TODO_WINE_EXPECT_EQ(cases[i].error, got.error, cases[i].wine) << "case " << i;
    }
    // Not even a temporary file is left behind.
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"dst.txt", "locked.txt", "src.txt", "sub"}));
    EXPECT_EQ(ReadFileBytes(dst), "old target");
    TODO_WINE_EXPECT_EQ(std::string("keep"), ReadFileBytes(locked), WineAsRoot());
    HANDLE reader = Open(locked, GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(DeleteFileA(locked.c_str()));
    EXPECT_FALSE(FileExists(locked));
}

TEST(KernelFileTest, CopyMoveDeleteAndFolders) {
    TempDir dir;
    const std::string a = dir.file("a.txt"), b = dir.file("b.txt");
    WriteFileBytes(a, "A");
    WriteFileBytes(b, "B");
    ASSERT_TRUE(CopyFileA(a.c_str(), b.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(b), "A");
    WIN32_FILE_ATTRIBUTE_DATA da, db;
    ASSERT_TRUE(GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &da));
    ASSERT_TRUE(GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &db));
    EXPECT_TRUE(xwth_test::SameTime(da.ftLastWriteTime, db.ftLastWriteTime)) << "last write time copied";
    ASSERT_TRUE(CopyFileA(a.c_str(), (dir.path() + "\\fresh.txt").c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(dir.file("fresh.txt")), "A");

    WriteFileBytes(a, "A2");
    ASSERT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadFileBytes(b), "A2");
    const std::string folder = dir.file("folder");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(MoveFileA(folder.c_str(), (dir.path() + "\\moved").c_str()));
    EXPECT_NE(GetFileAttributesA(dir.file("moved").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"b.txt", "fresh.txt", "moved"}));

    EXPECT_TRUE(DeleteFileA(b.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(dir.file("moved").c_str()));
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"fresh.txt"});
}

// Large enough, exactly fitting, too small (the size needed, NUL counted).
template <class Call>
void ExpectBufferSizes(const std::string& want, Call call) {
    const DWORD len = static_cast<DWORD>(want.size());
    for (const DWORD size : {len + 10, len + 1, len}) {
        std::vector<char> buf(size + 1, 'z');
        EXPECT_EQ(call(size, buf.data()), size > len ? len : len + 1) << size;
        if (size > len) {
            EXPECT_EQ(Slashes(buf.data()), Slashes(want)) << size;
        }
    }
}

TEST(KernelFileTest, CurrentAndFullPathNames) {
    TempDir dir;
    char saved[4096];  // put back at the end; no check in between returns early
    ASSERT_GT(GetCurrentDirectoryA(sizeof saved, saved), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    ExpectBufferSizes(dir.path(), [](DWORD n, char* buf) { return GetCurrentDirectoryA(n, buf); });
    ExpectBufferSizes(dir.path() + "/a.txt",
                      [](DWORD n, char* buf) { return GetFullPathNameA("a.txt", n, buf, nullptr); });

    // Dots fold lexically; a name ending in a separator has no file part.
    // want: after the current folder
    struct Case { const char* input; const char* want; const char* filePart; };
    const Case cases[] = {
        {"x\\..\\b.txt", "/b.txt", "b.txt"},
        {".\\sub\\.\\c.txt", "/sub/c.txt", "c.txt"},
        {"sub\\", "/sub/", nullptr},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        char buf[4096];
        char* part = nullptr;
        const std::string want = dir.path() + c.want;
        EXPECT_EQ(GetFullPathNameA(c.input, sizeof buf, buf, &part), want.size()) << "case " << i;
        EXPECT_EQ(Slashes(buf), Slashes(want)) << "case " << i;
        EXPECT_STREQ(part, c.filePart) << "case " << i;
    }
    EXPECT_TRUE(SetCurrentDirectoryA(saved));
}

TEST(KernelFileTest, TempPathAndTempFileNames) {
    char temp[MAX_PATH];
    const DWORD len = GetTempPathA(sizeof temp, temp);
    ASSERT_GT(len, 0u);
    EXPECT_TRUE(temp[len - 1] == '\\' || temp[len - 1] == '/');
    EXPECT_EQ(GetTempPathA(len, temp), len + 1);

    TempDir dir;
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA(dir.path().c_str(), "pre", 0x1234, name), 0x1234u);
    EXPECT_EQ(Slashes(name), Slashes(dir.path()) + "/pre1234.tmp");
    EXPECT_FALSE(FileExists(name)) << "a given number only forms the name";

    const UINT chosen = GetTempFileNameA(dir.path().c_str(), "prefix", 0, name);
    ASSERT_NE(chosen, 0u);
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(Slashes(name).rfind(Slashes(dir.path()) + "/pre", 0), 0u) << name;
    EXPECT_NE(GetTempFileNameA(dir.path().c_str(), "pre", 0, name), chosen);
    EXPECT_EQ(Listing(dir.path()).size(), 2u);
}

}  // namespace
