// kernel32 folders: create and remove, current folder, full path names,
// the temporary folder and temporary file names.
#include "win32/errors.h"
#include "win32/paths.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace winport {
namespace {

// The string-returning calls share one contract: when the text and its NUL
// fit, copy them and return the length without the NUL; otherwise leave the
// buffer alone and return the size needed, NUL included.
DWORD ReturnString(const std::string& s, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || s.size() + 1 > size) {
        return static_cast<DWORD>(s.size() + 1);
    }
    std::memcpy(buffer, s.c_str(), s.size() + 1);
    return static_cast<DWORD>(s.size());
}

bool CurrentDirectory(std::string& out) {
    std::vector<char> buf(4096);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) {
            return false;
        }
        buf.resize(buf.size() * 2);
    }
    out = buf.data();
    return true;
}

// Lexical resolution, as Windows does it: "." and ".." are folded without
// looking at the disk, doubled separators collapse, a trailing separator
// stays. The result is spelled with '/'.
std::string FullPath(const std::string& cwd, std::string_view input) {
    std::string joined = ToPosixPath(input);
    if (joined.empty() || joined[0] != '/') {
        joined = cwd + "/" + joined;
    }
    const bool trailing = joined.size() > 1 && joined.back() == '/';
    std::vector<std::string_view> parts;
    std::string_view rest(joined);
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const auto part : parts) {
        out += '/';
        out += part;
    }
    if (out.empty() || trailing) {
        out += '/';
    }
    return out;
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
    if (lpPathName == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpPathName);
    if (::mkdir(path.c_str(), 0777) != 0) {
        // An existing file of that name is also ERROR_ALREADY_EXISTS.
        return FailFromErrno(errno, path.c_str(), ErrnoContext::Directory);
    }
    return TRUE;
}

WINBASEAPI BOOL WINAPI RemoveDirectoryA(LPCSTR lpPathName) {
    if (lpPathName == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpPathName);
    if (::rmdir(path.c_str()) != 0) {
        const int err = errno == EEXIST ? ENOTEMPTY : errno;
        return FailFromErrno(err, path.c_str(), ErrnoContext::Directory);
    }
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    std::string cwd;
    if (!CurrentDirectory(cwd)) {
        FailFromErrno(errno);
        return 0;
    }
    return ReturnString(cwd, lpBuffer, nBufferLength);
}

WINBASEAPI BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
    if (lpPathName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpPathName);
    if (::chdir(path.c_str()) != 0) {
        return FailFromErrno(errno, path.c_str(), ErrnoContext::Directory);
    }
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer,
                                         LPSTR* lpFilePart) {
    if (lpFilePart != nullptr) {
        *lpFilePart = nullptr;
    }
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(lpFileName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_NAME);
        return 0;
    }
    std::string cwd;
    if (lpFileName[0] != '/' && lpFileName[0] != '\\' && !CurrentDirectory(cwd)) {
        FailFromErrno(errno);
        return 0;
    }
    const std::string full = FullPath(cwd, lpFileName);
    const DWORD result = ReturnString(full, lpBuffer, nBufferLength);
    if (result < nBufferLength && lpFilePart != nullptr && full.back() != '/') {
        *lpFilePart = lpBuffer + NameOffset(full);
    }
    return result;
}

WINBASEAPI DWORD WINAPI GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
    const char* tmp = std::getenv("TMPDIR");
    std::string path = (tmp != nullptr && *tmp != '\0') ? ToPosixPath(tmp) : std::string("/tmp");
    if (path.back() != '/') {
        path += '/';
    }
    return ReturnString(path, lpBuffer, nBufferLength);
}

WINBASEAPI UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique,
                                        LPSTR lpTempFileName) {
    if (lpPathName == nullptr || lpTempFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // <path>\<first three characters of prefix><hex number>.tmp, the number
    // 16 bits wide; with uUnique 0 a free number is chosen and the file is
    // created empty, otherwise only the name is formed.
    std::string folder = lpPathName;
    if (!folder.empty() && !IsPathSeparator(folder.back())) {
        folder += '/';
    }
    const std::string prefix = lpPrefixString != nullptr ? std::string(lpPrefixString).substr(0, 3) : "";
    auto nameFor = [&](unsigned number) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X.tmp", number);
        return folder + prefix + hex;
    };
    std::string name;
    if (uUnique != 0) {
        name = nameFor(uUnique & 0xFFFF);
        if (name.size() >= MAX_PATH) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
        return uUnique & 0xFFFF;
    }
    // Successive calls start where the last one stopped, so a folder filling
    // with temporary files does not cost a growing number of probes.
    static std::atomic<unsigned> s_next{(static_cast<unsigned>(::getpid()) * 2654435761u) >> 16};
    const unsigned start = s_next.fetch_add(1);
    for (unsigned i = 0; i < 0x10000; ++i) {
        const unsigned number = ((start + i) & 0xFFFF) == 0 ? 1 : (start + i) & 0xFFFF;
        name = nameFor(number);
        if (name.size() >= MAX_PATH) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return 0;
        }
        const std::string posix = ToPosixPath(name);
        const int fd = ::open(posix.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            s_next.store(start + i + 1);
            std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
            return number;
        }
        if (errno != EEXIST) {
            // The folder itself is the problem: Windows says ERROR_DIRECTORY.
            FailFromErrno(errno, posix.c_str());
            if (GetLastError() == ERROR_PATH_NOT_FOUND) {
                SetLastError(ERROR_DIRECTORY);
            }
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

}  // extern "C"
