// kernel32 directory search: FindFirstFileA, FindNextFileA, FindClose.
#include "win32/errors.h"
#include "win32/filestat.h"
#include "win32/handles.h"
#include "win32/paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace winport {
namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows wildcard matching, without regard to case. Beyond '*' and '?' the
// pattern follows the DOS rules Windows still applies to FindFirstFile:
//
//   pattern   name        match   why
//   *.*       readme      yes     a '.' before only wildcards also matches the end
//   *.*       a.b.c       yes
//   *.        readme      yes     '*' before '.' stops at the name's last dot
//   *.        a.txt       no
//   *.txt     a.txt.bak   no
//   a?        a           yes     '?' matches nothing at the end or before a dot
//   a??.txt   ab.txt      yes
//   A*.TXT    abc.txt     yes     case is ignored
class Wildcard {
public:
    explicit Wildcard(std::string_view pattern) : m_pattern(pattern) {}

    [[nodiscard]] bool Matches(std::string_view name) const {
        const auto dot = name.rfind('.');
        m_lastDot = dot == std::string_view::npos ? name.size() : dot;
        m_name = name;
        return MatchFrom(0, 0);
    }

private:
    // Only '*' and '?' from here to the end of the pattern.
    [[nodiscard]] bool OnlyWildcardsFrom(std::size_t p) const {
        return m_pattern.find_first_not_of("*?", p) == std::string_view::npos;
    }

    [[nodiscard]] bool MatchFrom(std::size_t p, std::size_t n) const {
        while (p < m_pattern.size()) {
            const char c = m_pattern[p];
            if (c == '*') {
                while (p + 1 < m_pattern.size() && m_pattern[p + 1] == '*') {
                    ++p;
                }
                // Before a '.', the star may not run past the name's last dot.
                std::size_t limit = m_name.size();
                if (p + 1 < m_pattern.size() && m_pattern[p + 1] == '.' && m_lastDot >= n) {
                    limit = m_lastDot;
                }
                for (std::size_t k = n; k <= limit; ++k) {
                    if (MatchFrom(p + 1, k)) {
                        return true;
                    }
                }
                return false;
            }
            if (c == '?') {
                if (n < m_name.size() && MatchFrom(p + 1, n + 1)) {
                    return true;
                }
                if (n == m_name.size() || m_name[n] == '.') {
                    ++p;  // matches nothing here
                    continue;
                }
                return false;
            }
            if (c == '.' && n == m_name.size() && OnlyWildcardsFrom(p + 1)) {
                ++p;
                continue;
            }
            if (n == m_name.size() || Fold(c) != Fold(m_name[n])) {
                return false;
            }
            ++p;
            ++n;
        }
        return n == m_name.size();
    }

    std::string_view m_pattern;
    mutable std::string_view m_name;
    mutable std::size_t m_lastDot = 0;
};

// Owns the open folder and the names that matched, taken when the search
// began; each entry's details are read when it is handed out.
class FindObject final : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Find;

    FindObject(int dirfd, std::vector<std::string> names)
        : Object(kKind), m_dirfd(dirfd), m_names(std::move(names)) {}
    ~FindObject() override { ::close(m_dirfd); }

    // Fills data with the next entry that still exists; false at the end.
    bool Next(WIN32_FIND_DATAA& data) {
        while (m_next < m_names.size()) {
            const std::string& name = m_names[m_next++];
            FileStat st;
            if (!StatAt(m_dirfd, name.c_str(), st)) {
                // A dangling symbolic link still shows, as itself.
                struct statx sx;
                if (::statx(m_dirfd, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &sx) != 0) {
                    continue;  // removed since the search began
                }
                st = FileStat{};
                st.attributes = FILE_ATTRIBUTE_NORMAL;
                st.written = FileTimeFromTimespec(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
                st.created = st.accessed = st.written;
            }
            std::memset(&data, 0, sizeof data);
            data.dwFileAttributes = st.attributes;
            data.ftCreationTime = st.created;
            data.ftLastAccessTime = st.accessed;
            data.ftLastWriteTime = st.written;
            const std::uint64_t size = (st.attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : st.size;
            data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            data.nFileSizeLow = static_cast<DWORD>(size);
            const std::size_t len = std::min(name.size(), sizeof data.cFileName - 1);
            std::memcpy(data.cFileName, name.data(), len);
            return true;
        }
        return false;
    }

private:
    const int m_dirfd;
    const std::vector<std::string> m_names;
    std::size_t m_next = 0;
};

// NTFS hands names out in upper-cased order with "." and ".." first; doing
// the same keeps callers that (knowingly or not) rely on it working.
bool NtfsOrder(const std::string& a, const std::string& b) {
    const bool aDots = a == "." || a == "..";
    const bool bDots = b == "." || b == "..";
    if (aDots != bDots) {
        return aDots;
    }
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Fold(a[i]);
        const char y = Fold(b[i]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
    }
    return a.size() < b.size();
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
    if (lpFileName == nullptr || lpFindFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string_view query(lpFileName);
    const std::size_t nameAt = NameOffset(query);
    const std::string_view pattern = query.substr(nameAt);
    const std::string folder = nameAt == 0 ? std::string(1, '.') : ToPosixPath(query.substr(0, nameAt));
    const int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd < 0) {
        // A missing folder is "path not found"; a file named as the folder
        // itself ("file.txt\*") is an invalid name, as NTFS answers a file
        // name with a separator after it.
        const int err = errno;
        struct stat st;
        const bool fileAsFolder = err == ENOTDIR && ::stat(folder.substr(0, folder.size() - 1).c_str(), &st) == 0;
        SetLastError(fileAsFolder                       ? ERROR_INVALID_NAME
                     : err == ENOENT || err == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                       : Win32ErrorFromErrno(err));
        return INVALID_HANDLE_VALUE;
    }
    std::vector<std::string> names;
    if (!pattern.empty()) {
        const bool literal = pattern.find_first_of("*?") == std::string_view::npos;
        struct stat st;
        if (literal && ::fstatat(dirfd, std::string(pattern).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            names.emplace_back(pattern);  // the common exact-name probe costs no folder scan
        } else {
            const int scanfd = ::dup(dirfd);
            DIR* dir = scanfd >= 0 ? ::fdopendir(scanfd) : nullptr;
            if (dir == nullptr) {
                const int err = errno;
                if (scanfd >= 0) {
                    ::close(scanfd);
                }
                ::close(dirfd);
                SetLastError(Win32ErrorFromErrno(err));
                return INVALID_HANDLE_VALUE;
            }
            const Wildcard wildcard(pattern);
            while (const dirent* entry = ::readdir(dir)) {
                if (wildcard.Matches(entry->d_name)) {
                    names.emplace_back(entry->d_name);
                }
            }
            ::closedir(dir);
            std::sort(names.begin(), names.end(), NtfsOrder);
        }
    }
    auto find = std::make_shared<FindObject>(dirfd, std::move(names));
    if (!find->Next(*lpFindFileData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return RegisterObject(std::move(find));
}

WINBASEAPI BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
    auto find = LookupOrFail<FindObject>(hFindFile);
    if (!find) {
        return FALSE;
    }
    if (lpFindFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!find->Next(*lpFindFileData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI FindClose(HANDLE hFindFile) {
    if (!UnregisterObject(hFindFile, ObjectKind::Find)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

}  // extern "C"
