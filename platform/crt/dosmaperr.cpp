// Win32 error to C runtime errno.
#include "crt/dosmaperr.h"

#include <direct.h>

#include <cerrno>

namespace winport {

int SetErrnoFromWin32(DWORD error) {
    int e;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NO_MORE_FILES:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:  // a name too long is "not found" to this runtime
        e = ENOENT;
        break;
    case ERROR_TOO_MANY_OPEN_FILES: e = EMFILE; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_LOCK_VIOLATION:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        e = EACCES;
        break;
    case ERROR_INVALID_HANDLE: e = EBADF; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        e = ENOMEM;
        break;
    case ERROR_NOT_SAME_DEVICE: e = EXDEV; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        e = EEXIST;
        break;
    case ERROR_BROKEN_PIPE: e = EPIPE; break;
    case ERROR_DISK_FULL: e = ENOSPC; break;
    // RemoveDirectory on a file: the runtime documents ENOTEMPTY for "not a
    // folder" as well as for "not empty".
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_DIRECTORY:
        e = WP_ENOTEMPTY;
        break;
    default: e = EINVAL; break;
    }
    errno = e;
    return -1;
}

}  // namespace winport
