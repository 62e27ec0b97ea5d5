// C runtime _access over the kernel32 slice.
#include <io.h>
#include <windows.h>

#include "crt/dosmaperr.h"

#include <cerrno>

extern "C" {

// What the Windows runtime checks: that the name exists, and for write
// access that it is not a read-only file. Permissions beyond the READONLY
// attribute are not consulted, as there.
WINPORT_API int _access(const char* path, int mode) {
    if (path == nullptr || (mode & ~6) != 0) {
        errno = EINVAL;
        return -1;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return winport::SetErrnoFromWin32(GetLastError());
    }
    if ((mode & 2) && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EACCES;
        return -1;
    }
    return 0;
}

}  // extern "C"
