// C runtime folder functions over the kernel32 slice, so that paths and
// errors behave exactly as the Win32 calls do.
#include <direct.h>
#include <windows.h>

#include "crt/dosmaperr.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

using winport::SetErrnoFromWin32;

extern "C" {

WINPORT_API int _mkdir(const char* dirname) {
    if (dirname == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return CreateDirectoryA(dirname, nullptr) ? 0 : SetErrnoFromWin32(GetLastError());
}

WINPORT_API int _rmdir(const char* dirname) {
    if (dirname == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return RemoveDirectoryA(dirname) ? 0 : SetErrnoFromWin32(GetLastError());
}

WINPORT_API int _chdir(const char* dirname) {
    if (dirname == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return SetCurrentDirectoryA(dirname) ? 0 : SetErrnoFromWin32(GetLastError());
}

WINPORT_API char* _getcwd(char* buffer, int maxlen) {
    if (buffer != nullptr && maxlen <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);  // NUL included
    if (needed == 0) {
        SetErrnoFromWin32(GetLastError());
        return nullptr;
    }
    if (buffer == nullptr) {
        const std::size_t size = maxlen > static_cast<int>(needed) ? static_cast<std::size_t>(maxlen) : needed;
        buffer = static_cast<char*>(std::malloc(size));
        if (buffer == nullptr) {
            errno = ENOMEM;
            return nullptr;
        }
        if (GetCurrentDirectoryA(static_cast<DWORD>(size), buffer) == 0) {
            std::free(buffer);
            SetErrnoFromWin32(GetLastError());
            return nullptr;
        }
        return buffer;
    }
    const DWORD got = GetCurrentDirectoryA(static_cast<DWORD>(maxlen), buffer);
    if (got == 0) {
        SetErrnoFromWin32(GetLastError());
        return nullptr;
    }
    if (got >= static_cast<DWORD>(maxlen)) {
        errno = ERANGE;
        return nullptr;
    }
    return buffer;
}

}  // extern "C"
