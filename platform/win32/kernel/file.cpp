// kernel32 files: CreateFileA and the calls on file handles, attributes,
// copy, delete and move.
#include "win32/errors.h"
#include "win32/filestat.h"
#include "win32/sharemode.h"
#include "win32/handles.h"
#include "win32/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace winport {
namespace {

// Owns one POSIX descriptor; the last reference closes it (and removes the
// file when it was opened with FILE_FLAG_DELETE_ON_CLOSE).
class FileObject final : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::File;

    FileObject(int fd, bool canWrite, std::string deletePath)
        : Object(kKind), m_fd(fd), m_canWrite(canWrite), m_deletePath(std::move(deletePath)) {}
    ~FileObject() override {
        ::close(m_fd);
        if (!m_deletePath.empty()) {
            ::unlink(m_deletePath.c_str());
        }
    }

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] bool canWrite() const { return m_canWrite; }

private:
    const int m_fd;
    const bool m_canWrite;
    const std::string m_deletePath;  // absolute, so a later chdir does not matter
};

// Windows' READONLY attribute binds everyone, even an administrator; the
// owner's write bit plays that part here, so root is refused as well.
bool IsReadOnlyFile(unsigned mode) { return !S_ISDIR(mode) && (mode & S_IWUSR) == 0; }

int OpenNoIntr(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string AbsolutePath(const std::string& posixPath) {
    if (!posixPath.empty() && posixPath[0] == '/') {
        return posixPath;
    }
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return posixPath;
    }
    return std::string(cwd) + "/" + posixPath;
}

// Read and write failures: a handle opened without the access asked for is
// EBADF to POSIX and ERROR_ACCESS_DENIED to Windows.
BOOL FailIo(int err) {
    if (err == EBADF || err == EINVAL) {
        SetLastError(ERROR_ACCESS_DENIED);
    } else if (err == EISDIR) {
        SetLastError(ERROR_INVALID_FUNCTION);
    } else {
        SetLastError(Win32ErrorFromErrno(err));
    }
    return FALSE;
}

// Copies every byte of in to out from their current offsets.
bool CopyContents(int in, int out) {
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n == 0) {
            return true;
        }
        if (n > 0) {
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return false;
        }
        break;  // no kernel copy between these two: plain read and write
    }
    char buf[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            done += w;
        }
    }
}

// rename that refuses an existing target; false with errno EEXIST then.
bool RenameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File system without RENAME_NOREPLACE: link() refuses an existing name too.
    if (::link(from, to) != 0) {
        return false;
    }
    ::unlink(from);
    return true;
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                     LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                                     DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                                     HANDLE /*hTemplateFile*/) {
    // Share modes hold between the handles of this call, in every process
    // (win32/sharemode.h); they are checked before a file is truncated.
    if (lpFileName == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = ToPosixPath(lpFileName);
    // GENERIC_* or the file-specific read (1), write (2) and append (4) rights.
    const bool wantRead = (dwDesiredAccess & (GENERIC_READ | GENERIC_ALL | 0x1u)) != 0;
    const bool wantWrite = (dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL | 0x2u | 0x4u)) != 0;
    int access = wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;
    const int base = access | O_CLOEXEC;
    const mode_t createMode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

    bool mayCreate = false;
    bool truncate = false;
    switch (dwCreationDisposition) {
    case CREATE_NEW: mayCreate = true; break;
    case CREATE_ALWAYS: mayCreate = true; truncate = true; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: mayCreate = true; break;
    case TRUNCATE_EXISTING:
        if (!wantWrite) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        truncate = true;
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }

    int fd = -1;
    bool existed = false;
    // OPEN_ALWAYS mostly meets a file that is there (a log, a mailbox): it
    // looks for it before trying to create it, one path walk instead of two.
    const bool existingFirst = dwCreationDisposition == OPEN_ALWAYS;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        if (mayCreate && !(existingFirst && attempt == 0)) {
            fd = OpenNoIntr(path.c_str(), base | O_CREAT | O_EXCL, createMode);
            if (fd >= 0) {
                existed = false;
                break;
            }
            if (errno != EEXIST || dwCreationDisposition == CREATE_NEW) {
                FailFromErrno(errno, path.c_str());
                return INVALID_HANDLE_VALUE;
            }
        }
        existed = true;
        fd = OpenNoIntr(path.c_str(), base);
        if (fd < 0 && !wantRead && !wantWrite && errno == EACCES) {
            fd = OpenNoIntr(path.c_str(), O_PATH | O_CLOEXEC);  // attribute-only access
        }
        if (fd < 0) {
            // Deleted between the two opens: create it after all.
            if (errno == ENOENT && mayCreate) {
                continue;
            }
            const int err = errno;
            FailFromErrno(err, path.c_str());
            return INVALID_HANDLE_VALUE;
        }
    }
    if (fd < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }

    if (existed) {
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            const int err = errno;
            ::close(fd);
            FailFromErrno(err);
            return INVALID_HANDLE_VALUE;
        }
        // A folder opens only with FILE_FLAG_BACKUP_SEMANTICS; a read-only
        // file does not open for writing (checked before truncating it).
        const bool refuse = S_ISDIR(st.st_mode)
                                ? (dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) == 0
                                : (wantWrite || truncate) && IsReadOnlyFile(st.st_mode);
        if (refuse) {
            ::close(fd);
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        if (S_ISREG(st.st_mode) && !ClaimShareMode(fd, wantRead, wantWrite, dwShareMode)) {
            ::close(fd);
            return INVALID_HANDLE_VALUE;
        }
        if (truncate && ::ftruncate(fd, 0) != 0) {
            const int err = errno;
            ::close(fd);
            FailFromErrno(err);
            return INVALID_HANDLE_VALUE;
        }
    }

    if (!existed && !ClaimShareMode(fd, wantRead, wantWrite, dwShareMode)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }

    std::string deletePath;
    if (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) {
        deletePath = AbsolutePath(path);
    }
    void* handle = RegisterObject(std::make_shared<FileObject>(fd, wantWrite, std::move(deletePath)));
    // Windows reports an existing file for the two dispositions that may
    // create one, and clears the last error otherwise.
    const bool reportExisting =
        existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

WINBASEAPI BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, void* /*lpOverlapped*/) {
    if (lpNumberOfBytesRead != nullptr) {
        *lpNumberOfBytesRead = 0;
    }
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (lpBuffer == nullptr && nNumberOfBytesToRead != 0) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    // A regular file is read until the count or the end; end of file is a
    // successful read of fewer bytes (0 at the end), as on Windows.
    DWORD total = 0;
    auto* out = static_cast<char*>(lpBuffer);
    while (total < nNumberOfBytesToRead) {
        const ssize_t n = ::read(file->fd(), out + total, nNumberOfBytesToRead - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailIo(errno);
        }
        if (n == 0) {
            break;
        }
        total += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesRead != nullptr) {
        *lpNumberOfBytesRead = total;
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, void* /*lpOverlapped*/) {
    if (lpNumberOfBytesWritten != nullptr) {
        *lpNumberOfBytesWritten = 0;
    }
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (lpBuffer == nullptr && nNumberOfBytesToWrite != 0) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    const auto* in = static_cast<const char*>(lpBuffer);
    while (total < nNumberOfBytesToWrite) {
        const ssize_t n = ::write(file->fd(), in + total, nNumberOfBytesToWrite - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (lpNumberOfBytesWritten != nullptr) {
                *lpNumberOfBytesWritten = total;
            }
            return FailIo(errno);
        }
        total += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesWritten != nullptr) {
        *lpNumberOfBytesWritten = total;
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove,
                                        PLARGE_INTEGER lpNewFilePointer, DWORD dwMoveMethod) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    int whence = SEEK_SET;
    switch (dwMoveMethod) {
    case FILE_BEGIN: break;
    case FILE_CURRENT: whence = SEEK_CUR; break;
    case FILE_END: whence = SEEK_END; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    // One lseek: it refuses (EINVAL) a position before the start and leaves
    // the pointer where it was, as Windows does.
    const off_t target = ::lseek(file->fd(), static_cast<off_t>(liDistanceToMove.QuadPart), whence);
    if (target < 0) {
        if (errno == EINVAL && liDistanceToMove.QuadPart < 0) {
            SetLastError(ERROR_NEGATIVE_SEEK);
            return FALSE;
        }
        return FailFromErrno(errno);
    }
    if (lpNewFilePointer != nullptr) {
        lpNewFilePointer->QuadPart = target;
    }
    return TRUE;
}

WINBASEAPI DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod) {
    // With a high part the distance is the 64-bit (high:low) pair; without
    // one it is the signed 32-bit low part and the result must fit 32 bits.
    LARGE_INTEGER distance;
    if (lpDistanceToMoveHigh != nullptr) {
        distance.QuadPart = static_cast<LONGLONG>((static_cast<ULONGLONG>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                                  static_cast<DWORD>(lDistanceToMove));
    } else {
        distance.QuadPart = lDistanceToMove;
    }
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return INVALID_SET_FILE_POINTER;
    }
    const off_t before = ::lseek(file->fd(), 0, SEEK_CUR);
    LARGE_INTEGER now;
    if (!SetFilePointerEx(hFile, distance, &now, dwMoveMethod)) {
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh == nullptr && now.QuadPart > 0xFFFFFFFELL) {
        ::lseek(file->fd(), before, SEEK_SET);
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh != nullptr) {
        *lpDistanceToMoveHigh = static_cast<LONG>(now.QuadPart >> 32);
    }
    // 0xFFFFFFFF can be a real low part: callers tell it apart by a cleared
    // last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(now.QuadPart);
}

WINBASEAPI BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const off_t pos = ::lseek(file->fd(), 0, SEEK_CUR);
    if (pos < 0 || ::ftruncate(file->fd(), pos) != 0) {
        return FailIo(errno);
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (!file->canWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (::fsync(file->fd()) != 0) {
        return FailIo(errno);
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (lpFileSize == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FileStat st;
    if (!StatFd(file->fd(), st)) {
        return FailFromErrno(errno);
    }
    lpFileSize->QuadPart = static_cast<LONGLONG>(st.size);
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size)) {
        return INVALID_FILE_SIZE;
    }
    if (lpFileSizeHigh != nullptr) {
        *lpFileSizeHigh = static_cast<DWORD>(size.QuadPart >> 32);
    }
    SetLastError(ERROR_SUCCESS);  // 0xFFFFFFFF may be a real low part
    return static_cast<DWORD>(size.QuadPart);
}

// The volume serial is the device number folded to 32 bits and the index is
// the inode number: together they tell one file from another for as long as
// it exists, which is all Windows promises of them too.
WINBASEAPI BOOL WINAPI GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (lpFileInformation == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FileStat st;
    struct stat ids;
    if (!StatFd(file->fd(), st) || ::fstat(file->fd(), &ids) != 0) {
        return FailFromErrno(errno);
    }
    const std::uint64_t dev = static_cast<std::uint64_t>(ids.st_dev);
    const std::uint64_t ino = static_cast<std::uint64_t>(ids.st_ino);
    lpFileInformation->dwFileAttributes = st.attributes;
    lpFileInformation->ftCreationTime = st.created;
    lpFileInformation->ftLastAccessTime = st.accessed;
    lpFileInformation->ftLastWriteTime = st.written;
    lpFileInformation->dwVolumeSerialNumber = static_cast<DWORD>(dev ^ (dev >> 32));
    lpFileInformation->nFileSizeHigh = static_cast<DWORD>(st.size >> 32);
    lpFileInformation->nFileSizeLow = static_cast<DWORD>(st.size);
    lpFileInformation->nNumberOfLinks = static_cast<DWORD>(ids.st_nlink);
    lpFileInformation->nFileIndexHigh = static_cast<DWORD>(ino >> 32);
    lpFileInformation->nFileIndexLow = static_cast<DWORD>(ino);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

WINBASEAPI BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                                   LPFILETIME lpLastWriteTime) {
    auto file = LookupOrFail<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    FileStat st;
    if (!StatFd(file->fd(), st)) {
        return FailFromErrno(errno);
    }
    if (lpCreationTime != nullptr) {
        *lpCreationTime = st.created;
    }
    if (lpLastAccessTime != nullptr) {
        *lpLastAccessTime = st.accessed;
    }
    if (lpLastWriteTime != nullptr) {
        *lpLastWriteTime = st.written;
    }
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    if (lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string path = ToPosixPath(lpFileName);
    FileStat st;
    if (!StatPath(path.c_str(), st)) {
        FailFromErrno(errno, path.c_str());
        return INVALID_FILE_ATTRIBUTES;
    }
    return st.attributes;
}

WINBASEAPI BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId,
                                            LPVOID lpFileInformation) {
    if (lpFileName == nullptr || lpFileInformation == nullptr || fInfoLevelId != GetFileExInfoStandard) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpFileName);
    FileStat st;
    if (!StatPath(path.c_str(), st)) {
        return FailFromErrno(errno, path.c_str());
    }
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
    data->dwFileAttributes = st.attributes;
    data->ftCreationTime = st.created;
    data->ftLastAccessTime = st.accessed;
    data->ftLastWriteTime = st.written;
    // Windows reports no size for a folder.
    const std::uint64_t size = (st.attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : st.size;
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    return TRUE;
}

WINBASEAPI BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
    if (lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpFileName);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        return FailFromErrno(errno, path.c_str());
    }
    // Only READONLY has a POSIX meaning, and only on files: Windows keeps the
    // bit on a folder without it stopping anyone from writing there.
    if (S_ISDIR(st.st_mode)) {
        return TRUE;
    }
    const mode_t mode = (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                            ? (st.st_mode & 07777 & ~mode_t{0222})
                            : (st.st_mode & 07777) | S_IWUSR;
    if (mode != (st.st_mode & 07777) && ::chmod(path.c_str(), mode) != 0) {
        return FailFromErrno(errno, path.c_str());
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    if (lpExistingFileName == nullptr || lpNewFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string from = ToPosixPath(lpExistingFileName);
    const std::string to = ToPosixPath(lpNewFileName);
    const int in = OpenNoIntr(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return FailFromErrno(errno, from.c_str());
    }
    struct stat src;
    if (::fstat(in, &src) != 0 || S_ISDIR(src.st_mode)) {
        ::close(in);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    struct stat dst;
    if (::stat(to.c_str(), &dst) == 0) {
        if (bFailIfExists) {
            ::close(in);
            SetLastError(ERROR_FILE_EXISTS);
            return FALSE;
        }
        if (S_ISDIR(dst.st_mode) || IsReadOnlyFile(dst.st_mode)) {
            ::close(in);
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }

    // The copy is built under a temporary name in the target's folder and
    // renamed into place, so a failed copy leaves no half-written target.
    std::string temp = to.substr(0, NameOffset(to)) + "." + to.substr(NameOffset(to)) + ".wpcopy-XXXXXX";
    const int out = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return FailFromErrno(err, to.c_str());
    }
    bool ok = CopyContents(in, out);
    int err = errno;
    if (ok) {
        // The copy keeps the source's permissions (its READONLY attribute)
        // and last write time, as CopyFile does.
        const struct timespec times[2] = {src.st_atim, src.st_mtim};
        ok = ::fchmod(out, src.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
        err = errno;
    }
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok) {
        ok = bFailIfExists ? RenameNoReplace(temp.c_str(), to.c_str())
                           : ::rename(temp.c_str(), to.c_str()) == 0;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        if (err == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
            return FALSE;
        }
        return FailFromErrno(err, to.c_str());
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpFileName);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) {
        return FailFromErrno(errno, path.c_str());
    }
    if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && IsReadOnlyFile(st.st_mode))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (::unlink(path.c_str()) != 0) {
        return FailFromErrno(errno, path.c_str());
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
    if (lpExistingFileName == nullptr || lpNewFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string from = ToPosixPath(lpExistingFileName);
    const std::string to = ToPosixPath(lpNewFileName);
    struct stat src;
    if (::lstat(from.c_str(), &src) != 0) {
        return FailFromErrno(errno, from.c_str());
    }
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    bool ok;
    if (replace) {
        // Windows replaces files only: never a folder, never with a folder,
        // never a read-only file.
        struct stat dst;
        if (::stat(to.c_str(), &dst) == 0 &&
            (S_ISDIR(dst.st_mode) || S_ISDIR(src.st_mode) || IsReadOnlyFile(dst.st_mode))) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        ok = ::rename(from.c_str(), to.c_str()) == 0;
    } else {
        ok = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
        if (!ok && (errno == EINVAL || errno == ENOSYS)) {
            struct stat dst;
            if (::lstat(to.c_str(), &dst) == 0) {
                errno = EEXIST;
            } else {
                ok = ::rename(from.c_str(), to.c_str()) == 0;
            }
        }
    }
    if (ok) {
        return TRUE;
    }
    const int err = errno;
    if (err == EEXIST) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (err == EXDEV) {
        if ((dwFlags & MOVEFILE_COPY_ALLOWED) == 0 || S_ISDIR(src.st_mode)) {
            SetLastError(ERROR_NOT_SAME_DEVICE);
            return FALSE;
        }
        if (!CopyFileA(lpExistingFileName, lpNewFileName, !replace)) {
            return FALSE;
        }
        ::unlink(from.c_str());
        return TRUE;
    }
    return FailFromErrno(err, to.c_str());
}

WINBASEAPI BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
    return MoveFileExA(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

}  // extern "C"
