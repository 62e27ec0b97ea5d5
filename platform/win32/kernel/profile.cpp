// kernel32 profiles: WIN.INI and private INI files, read and written with
// Windows semantics over the INI core.
//
// Reading is one open, read and close of the file, and nothing is cached, so
// a change made by another process is seen by the next call. Writing
// replaces the file atomically: under an exclusive lock the current text is
// read, the edit is written to a temporary file in the same folder, and that
// file is renamed over the old one. A process killed at any point leaves
// either the old or the new text, and concurrent writers in any number of
// processes take turns, so none loses another's update. There is no fsync:
// the case guarded against is the death of a process, not of the machine.
//
// Only regular files are profiles: a FIFO, a device or a folder fails at
// once (a read gives the default, a write ERROR_ACCESS_DENIED) and nothing
// waits on it. A write needs write permission for the effective user as well
// as the owner's write bit (Windows' read-only attribute, which holds even
// for root). A fork never leaves a child holding a writer's lock.
#include "win32/errors.h"
#include "win32/kernel/ini.h"
#include "win32/kernel/nls.h"
#include "win32/paths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <pthread.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace winport {
namespace {

// ---- where the files are ---------------------------------------------------

// WIN.INI: $XWTH_WININI, else ${XDG_CONFIG_HOME:-$HOME/.config}/xwth/win.ini.
// defaultLocation tells whether the second form was used.
std::string WinIniPath(bool* defaultLocation = nullptr) {
    const char* explicitPath = std::getenv("XWTH_WININI");
    if (defaultLocation != nullptr) {
        *defaultLocation = explicitPath == nullptr || *explicitPath == '\0';
    }
    if (explicitPath != nullptr && *explicitPath != '\0') {
        return ToPosixPath(explicitPath);
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && *config != '\0') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : ".") + "/.config";
    }
    return base + "/xwth/win.ini";
}

// The file a profile call works on. NULL is WIN.INI; a bare name (no
// separator) lives in the Windows folder, which here is WIN.INI's folder, as
// on Windows where both are C:\Windows; anything else is the path itself.
std::string ProfilePath(LPCSTR fileName, bool* isDefaultWinIni = nullptr) {
    if (isDefaultWinIni != nullptr) {
        *isDefaultWinIni = false;
    }
    if (fileName != nullptr && NameOffset(fileName) != 0) {
        return ToPosixPath(fileName);
    }
    bool defaultLocation = false;
    const std::string winIni = WinIniPath(&defaultLocation);
    if (fileName == nullptr || ini::NamesEqual(fileName, "win.ini")) {
        if (isDefaultWinIni != nullptr) {
            *isDefaultWinIni = defaultLocation;
        }
        return winIni;
    }
    return winIni.substr(0, NameOffset(winIni)) + fileName;
}

// The default WIN.INI folder is ours to create; any other folder must exist.
void EnsureWinIniFolder(const std::string& winIni) {
    const std::string folder = winIni.substr(0, NameOffset(winIni));
    const std::string parent = folder.substr(0, NameOffset(folder.substr(0, folder.size() - 1)));
    ::mkdir(parent.c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
}

// ---- reading ---------------------------------------------------------------

// A growing byte buffer that is never cleared: each thread keeps one for
// reading profiles, so a lookup costs no allocation once it has warmed up.
class ReadBuffer {
public:
    // The whole of an open file; false with errno set on failure. A read
    // shorter than asked is the end of a regular file, so a file smaller
    // than the buffer costs one read() and no fstat().
    bool ReadAll(int fd) {
        m_size = 0;
        if (m_capacity == 0) {
            Grow(16 * 1024);
        }
        for (;;) {
            const std::size_t room = m_capacity - m_size;
            const ssize_t n = ::read(fd, m_data.get() + m_size, room);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            m_size += static_cast<std::size_t>(n);
            if (n == 0 || static_cast<std::size_t>(n) < room) {
                return true;
            }
            Grow(m_capacity * 2);
        }
    }

    [[nodiscard]] std::string_view view() const { return {m_data.get(), m_size}; }

private:
    void Grow(std::size_t capacity) {
        auto bigger = std::make_unique<char[]>(capacity);
        if (m_size != 0) {
            std::memcpy(bigger.get(), m_data.get(), m_size);
        }
        m_data = std::move(bigger);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_size = 0;
};

// The file entry point of the INI core: the text of a profile, or false
// (errno set) when it cannot be read. The text lives in a per-thread buffer
// until the thread's next profile call.
// Opens name in dirfd's folder for reading without waiting: a FIFO without a
// writer would block the open, a device read forever. -1 with errno set;
// EACCES for anything but a regular file.
int OpenRegular(int dirfd, const char* name, int flags, struct stat& st) {
    const int fd = ::openat(dirfd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | flags);
    if (fd < 0) {
        return -1;
    }
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        const int err = statted ? EACCES : errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

bool LoadProfile(const std::string& path, std::string_view& text) {
    thread_local ReadBuffer buffer;
    struct stat st;
    const int fd = OpenRegular(AT_FDCWD, path.c_str(), 0, st);
    if (fd < 0) {
        return false;
    }
    const bool ok = buffer.ReadAll(fd);
    const int err = errno;
    ::close(fd);
    errno = err;
    if (!ok) {
        return false;
    }
    text = buffer.view();
    return true;
}

// ---- results into the caller's buffer -----------------------------------

// A single string: at most size - 1 characters and a NUL; returns the count.
// A NUL inside s (a file may hold one) ends it. s may overlap the buffer (a
// default string passed in the result buffer).
DWORD CopyString(std::string_view s, LPSTR buffer, DWORD size) {
    const std::size_t n = std::min<std::size_t>(std::min(s.find('\0'), s.size()), size - 1);
    std::memmove(buffer, s.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

// A list of NUL-ended strings, then one more NUL. Windows' rule for a buffer
// of size n that does not hold the list with a byte to spare: the list is
// cut after n - 2 characters, two NULs end it, and the call returns n - 2.
//
//   list (total chars)          n    buffer                       returns
//   "ab\0cd\0"        (6)       8    "ab\0cd\0\0"                 6
//   "ab\0cd\0"        (6)       7    "ab\0cd\0\0"  (cut: n - 2)   5
//   "ab\0cd\0"        (6)       5    "ab\0c\0\0"                  3
//   (empty)           (0)       4    "\0"                         0
//   any               -         1    "\0"                         0
class ListWriter {
public:
    ListWriter(LPSTR buffer, DWORD size) : m_buffer(buffer), m_size(size) {}

    // Appends one string made of the given pieces.
    void Add(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        Put(a);
        Put(b);
        Put(c);
        Put(std::string_view("\0", 1));
    }

    [[nodiscard]] bool empty() const { return m_total == 0; }

    DWORD Finish() {
        if (m_total + 2 <= m_size) {
            m_buffer[m_total] = '\0';
            return static_cast<DWORD>(m_total);
        }
        if (m_size < 2) {
            m_buffer[0] = '\0';
            return 0;
        }
        m_buffer[m_size - 2] = '\0';
        m_buffer[m_size - 1] = '\0';
        return m_size - 2;
    }

private:
    void Put(std::string_view s) {
        const std::size_t room = m_size >= 2 ? m_size - 2 : 0;
        if (m_total < room && !s.empty()) {
            std::memcpy(m_buffer + m_total, s.data(), std::min(s.size(), room - m_total));
        }
        m_total += s.size();
    }

    LPSTR m_buffer;
    DWORD m_size;
    std::size_t m_total = 0;
};

// One pair of matching quotes (' or ") around a value goes on reading.
std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// ---- writing ---------------------------------------------------------------

bool WriteAllV(int fd, struct iovec* iov, int count) {
    while (count > 0) {
        const ssize_t n = ::writev(fd, iov, count);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        std::size_t left = static_cast<std::size_t>(n);
        while (count > 0 && left >= iov->iov_len) {
            left -= iov->iov_len;
            ++iov;
            --count;
        }
        if (count > 0) {
            iov->iov_base = static_cast<char*>(iov->iov_base) + left;
            iov->iov_len -= left;
        }
    }
    return true;
}

// Holds an open folder and, while it lives, the exclusive writers' lock.
//
// The lock is flock() on the folder itself. The profile cannot carry it: the
// rename replaces its inode, so a writer would lock a file that is no longer
// the profile. A lock file beside it would be left behind in folders that
// their owners sweep and list. The folder's inode outlives every rename in
// it, and flock belongs to the open file description, so threads of one
// process exclude each other as processes do, and the kernel drops the lock
// of a process that dies. Writers to different profiles of one folder take
// turns too, which costs nothing that matters.
//
// A forked child shares the open file description, and with it the lock:
// the parent's close alone would leave the folder locked until the child
// exits or execs, and the child's own profile writes would wait on it for
// ever. So the lock is dropped explicitly (which frees it for every holder
// of the description), and a fork handler closes the child's copies of the
// descriptors held at the moment of the fork.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0) {
            return;
        }
        m_slot = Track(m_fd);  // before the lock: a fork in between finds it
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int err = errno;
                Release();
                errno = err;
                return;
            }
        }
    }
    ~FolderLock() {
        if (m_fd >= 0) {
            ::flock(m_fd, LOCK_UN);
            Release();
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    [[nodiscard]] int fd() const { return m_fd; }

private:
    // Descriptors of the locks held now, plus one (0 is a free slot). A
    // process holding more at once than there are slots leaves the extra
    // ones to the explicit unlock alone.
    static constexpr int kSlots = 64;
    static inline std::atomic<int> s_held[kSlots];

    static void CloseHeldInChild() {
        for (std::atomic<int>& slot : s_held) {
            const int held = slot.exchange(0);
            if (held > 0) {
                ::close(held - 1);
            }
        }
    }
    static int Track(int fd) {
        for (int i = 0; i < kSlots; ++i) {
            int expected = 0;
            if (s_held[i].compare_exchange_strong(expected, fd + 1)) {
                return i;
            }
        }
        return -1;
    }
    void Release() {
        if (m_slot >= 0) {
            s_held[m_slot].store(0);
        }
        ::close(m_fd);
        m_fd = -1;
    }

    int m_fd = -1;
    int m_slot = -1;

    friend void CloseFolderLocksInChild();
};

void CloseFolderLocksInChild() {
    FolderLock::CloseHeldInChild();
}

// Registered when the library loads, so that no fork can come between a
// first lock and the handler.
[[maybe_unused]] const int g_forkHandler = ::pthread_atfork(nullptr, nullptr, &CloseFolderLocksInChild);

// Writes pieces to name in dirfd's folder by way of a temporary file and a
// rename. The temporary file is unnamed (O_TMPFILE) until the moment before
// the rename; where the file system cannot do that, or /proc is not mounted
// to name it through, it is ".<name>.wptmp", which only a lock holder ever
// uses, so a leftover is overwritten next time.
bool ReplaceFile(int dirfd, const std::string& name, const struct iovec* pieces, int count, bool keepMode,
                 mode_t mode) {
    const std::string tempName = "." + name + ".wptmp";
    struct iovec iov[8];
    const auto writeAll = [&](int fd) {
        std::copy(pieces, pieces + count, iov);  // the write consumes its copy
        return WriteAllV(fd, iov, count) && (!keepMode || ::fchmod(fd, mode) == 0);
    };

    bool named = false;
    bool ok = false;
    int fd = ::openat(dirfd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ok = writeAll(fd);
        if (ok) {
            char procPath[64];
            std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
            ok = ::linkat(AT_FDCWD, procPath, dirfd, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0;
            if (!ok && errno == EEXIST) {  // left by a writer that died before its rename
                ::unlinkat(dirfd, tempName.c_str(), 0);
                ok = ::linkat(AT_FDCWD, procPath, dirfd, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0;
            }
            named = ok;
            if (!ok && errno == ENOENT) {  // no /proc: the named way after all
                ::close(fd);
                fd = -1;
            }
        }
    }
    if (fd < 0) {
        named = true;
        fd = ::openat(dirfd, tempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            return false;
        }
        ok = writeAll(fd);
    }
    if (ok) {
        ok = ::renameat(dirfd, tempName.c_str(), dirfd, name.c_str()) == 0;
    }
    const int err = errno;
    ::close(fd);
    if (!ok && named) {
        ::unlinkat(dirfd, tempName.c_str(), 0);
    }
    errno = err;
    return ok;
}

// WritePrivateProfileString on a resolved path; see PlanWrite for the edit.
BOOL WriteProfile(std::string path, LPCSTR section, LPCSTR key, LPCSTR value) {
    for (int hop = 0;; ++hop) {
        const std::size_t nameAt = NameOffset(path);
        const std::string name = path.substr(nameAt);
        const std::string folder = nameAt == 0 ? std::string(".") : path.substr(0, nameAt);
        if (name.empty()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        FolderLock lock(folder);
        if (lock.fd() < 0) {
            SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
            return FALSE;
        }

        // The current text, read under the lock.
        thread_local ReadBuffer buffer;
        std::string_view text;
        bool exists = false;
        mode_t mode = 0;
        struct stat st;
        const int fd = OpenRegular(lock.fd(), name.c_str(), O_NOFOLLOW, st);
        if (fd < 0) {
            if (errno == ELOOP && hop < 8) {
                // A symbolic link: edit the file it names, keep the link.
                char real[4096];
                if (::realpath(path.c_str(), real) != nullptr) {
                    path = real;
                    continue;
                }
                SetLastError(ERROR_PATH_NOT_FOUND);
                return FALSE;
            }
            if (errno != ENOENT) {
                return FailFromErrno(errno, path.c_str());
            }
        } else {
            // A read-only profile stays as it is, as on Windows (and for root);
            // so does one that the effective user may not write.
            if ((st.st_mode & S_IWUSR) == 0 || ::faccessat(lock.fd(), name.c_str(), W_OK, AT_EACCESS) != 0) {
                ::close(fd);
                SetLastError(ERROR_ACCESS_DENIED);
                return FALSE;
            }
            const bool ok = buffer.ReadAll(fd);
            const int err = errno;
            ::close(fd);
            if (!ok) {
                return FailFromErrno(err, path.c_str());
            }
            text = buffer.view();
            exists = true;
            mode = st.st_mode & 07777;
        }

        const auto splice = ini::PlanWrite(text, section, key, value);
        if (!splice && exists) {
            return TRUE;  // already says so
        }
        // Even an edit that changes nothing creates a missing file, as Windows does.
        struct iovec iov[3];
        int count = 0;
        if (splice) {
            // The unchanged parts go out straight from the read buffer.
            char* const base = const_cast<char*>(text.data());
            iov[count++] = {base, splice->cutBegin};
            iov[count++] = {const_cast<char*>(splice->insert.data()), splice->insert.size()};
            iov[count++] = {base + splice->cutEnd, text.size() - splice->cutEnd};
        }
        if (!ReplaceFile(lock.fd(), name, iov, count, exists, mode)) {
            return FailFromErrno(errno, path.c_str());
        }
        return TRUE;
    }
}

// ---- GetPrivateProfileIntA's number ----------------------------------------

// The number at the start of a value, read as Windows reads it: leading
// blanks and one sign, then "0x" hexadecimal, "0o" octal, "0b" binary or
// decimal, up to the first character that is not a digit; 32-bit
// wrap-around; a minus negates the result.
UINT ParseProfileInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        const char p = s[i + 1];
        base = p == 'x' ? 16 : p == 'o' ? 8 : p == 'b' ? 2 : 10;
        if (base != 10) {
            i += 2;
        }
    }
    UINT total = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'z') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'Z') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

// Returns the number of characters copied, not counting the final NUL.
//
//   section  key     in the file                 default     buffer gets            returns
//   "s"      "k"     [s] k=value                 -           "value"                5
//   "S"      "K"     [s] k=value                 -           "value"                5  (case ignored)
//   "s"      "k"     [s]  k  =  two words        -           "two words"            9  (blanks trimmed)
//   "s"      "k"     [s] k="quoted "             -           "quoted "              7  (one quote pair off)
//   "s"      "k"     [s] k="half                 -           "\"half"               5
//   "s"      "k"     [s] k=                      "d"         ""                     0  (present, empty)
//   "s"      "k"     (no such key)               "dflt  "    "dflt"                 4  (trailing blanks off)
//   "s"      "k"     (no such key)               NULL        ""                     0
//   "s"      "k"     [s] k=value, size 4         -           "val"                  3
//   "s"      NULL    [s] a=1 b=2                 -           "a\0b\0\0"             4  (list, see ListWriter)
//   "s"      NULL    [s] (no keys), or no [s]    "d"         "d"                    1  (no list: the default)
//   NULL     -       [s] [t]                     -           "s\0t\0\0"             4
//   any      any     missing file                "d"         "d"                    1  (last error 2)
//   any      any     anything, size 0            -           untouched              0
WINBASEAPI DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                                 LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
    if (lpReturnedString == nullptr || nSize == 0) {
        return 0;
    }
    std::string_view text;
    if (!LoadProfile(ProfilePath(lpFileName), text)) {
        text = {};
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    if (lpAppName == nullptr) {
        ListWriter list(lpReturnedString, nSize);
        ini::ScanLines(text, [&](const ini::Line& line) {
            // "[]" is left out: its empty name would end the list early.
            if (line.kind == ini::LineKind::Section && !line.name.empty()) {
                list.Add(line.name);
            }
            return true;
        });
        return list.Finish();
    }
    if (lpKeyName == nullptr) {
        ListWriter list(lpReturnedString, nSize);
        ini::ScanSection(text, ini::Trim(lpAppName), [&](const ini::Line& line) {
            if (line.kind == ini::LineKind::Entry) {
                list.Add(line.name);
            }
            return true;
        });
        if (!list.empty()) {
            return list.Finish();
        }
        // No keys, or no such section: the default, as for a missing key.
    }
    // An empty section or key name finds nothing, not even "[]" or "=x".
    std::optional<std::string_view> value;
    if (lpKeyName != nullptr && *lpAppName != '\0' && *lpKeyName != '\0') {
        value = ini::FindValue(text, lpAppName, ini::Trim(lpKeyName));
    }
    if (value) {
        return CopyString(Unquote(*value), lpReturnedString, nSize);
    }
    std::string_view fallback = lpDefault != nullptr ? lpDefault : "";
    while (!fallback.empty() && fallback.back() == ' ') {
        fallback.remove_suffix(1);
    }
    return CopyString(fallback, lpReturnedString, nSize);
}

// The value read as GetPrivateProfileStringA gives it (into 30 characters,
// as Windows does), then as a number:
//
//   value         returns        why
//   (missing)     nDefault
//   (empty)       nDefault
//   "42"          42
//   "+1"          1
//   "-3"          (UINT)-3       negative numbers come back as they are
//   "42A"         42             digits up to the first other character
//   "A42"         0              no digits: 0, not the default
//   "0x10"        16             "0x" hexadecimal (also "0o" octal, "0b" binary)
//   "4294967297"  1              wraps around at 2^32
//   "\"7\""       7              the quotes go first
WINBASEAPI UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault,
                                             LPCSTR lpFileName) {
    char buffer[30];
    if (GetPrivateProfileStringA(lpAppName, lpKeyName, "", buffer, sizeof buffer, lpFileName) == 0) {
        return static_cast<UINT>(nDefault);
    }
    return ParseProfileInt(buffer);
}

WINBASEAPI DWORD WINAPI GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize,
                                                  LPCSTR lpFileName) {
    if (lpAppName == nullptr || lpReturnedString == nullptr || nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string_view text;
    if (!LoadProfile(ProfilePath(lpFileName), text)) {
        lpReturnedString[0] = '\0';
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    // "key=value" for each key (both trimmed, quotes kept), other content
    // lines as they are; comments and blank lines are left out.
    ListWriter list(lpReturnedString, nSize);
    ini::ScanSection(text, ini::Trim(lpAppName), [&](const ini::Line& line) {
        if (line.kind == ini::LineKind::Entry) {
            list.Add(line.name, "=", line.value);
        } else if (line.kind == ini::LineKind::Other) {
            list.Add(line.text);
        }
        return true;
    });
    SetLastError(ERROR_SUCCESS);
    return list.Finish();
}

WINBASEAPI DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) {
    if (lpszReturnBuffer == nullptr || nSize == 0) {
        return 0;
    }
    return GetPrivateProfileStringA(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}

WINBASEAPI BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                                  LPCSTR lpFileName) {
    if (lpAppName == nullptr) {
        if (lpKeyName == nullptr && lpString == nullptr) {
            return TRUE;  // "flush the cache": there is none
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (lpFileName != nullptr && *lpFileName == '\0') {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    bool defaultWinIni = false;
    const std::string path = ProfilePath(lpFileName, &defaultWinIni);
    if (defaultWinIni) {
        EnsureWinIniFolder(path);
    }
    return WriteProfile(path, lpAppName, lpKeyName, lpString);
}

// WIN.INI's [intl] stands for the user's regional settings, as on Windows
// where that section maps to them: a key missing from the file reads as the
// locale's own value (nls::IntlLocaleValue), a key present wins.
WINBASEAPI DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                          LPSTR lpReturnedString, DWORD nSize) {
    std::string regional;
    if (lpAppName != nullptr && ini::NamesEqual(ini::Trim(lpAppName), "intl") &&
        nls::IntlLocaleValue(lpKeyName, regional)) {
        lpDefault = regional.c_str();
    }
    return GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, nullptr);
}

WINBASEAPI UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault) {
    char buffer[30];
    if (GetProfileStringA(lpAppName, lpKeyName, "", buffer, sizeof buffer) == 0) {
        return static_cast<UINT>(nDefault);
    }
    return ParseProfileInt(buffer);
}

WINBASEAPI BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString) {
    return WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, nullptr);
}

}  // extern "C"
