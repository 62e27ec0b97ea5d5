// errno to Win32 error mapping.
#include "win32/errors.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>

namespace winport {
namespace {

// The folder part of a POSIX path ("." for a bare name, "/" for the root).
bool ParentFolderExists(const char* posixPath) {
    std::string p(posixPath);
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    const auto slash = p.rfind('/');
    std::string parent;
    if (slash == std::string::npos) {
        parent = ".";
    } else if (slash == 0) {
        parent = "/";
    } else {
        parent = p.substr(0, slash);
    }
    struct stat st;
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

DWORD Win32ErrorFromErrno(int err, const char* posixPath, ErrnoContext context) {
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT:
        if (posixPath != nullptr && *posixPath != '\0' && !ParentFolderExists(posixPath)) {
            return ERROR_PATH_NOT_FOUND;
        }
        return posixPath != nullptr && *posixPath == '\0' ? ERROR_PATH_NOT_FOUND
                                                          : ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        // A file where a folder was expected in the middle of a path is a
        // missing path to Windows; the named object itself not being a folder
        // is ERROR_DIRECTORY for the folder calls.
        if (context == ErrnoContext::Directory && posixPath != nullptr) {
            struct stat st;
            if (::stat(posixPath, &st) == 0 && !S_ISDIR(st.st_mode)) {
                return ERROR_DIRECTORY;
            }
        }
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:  // writing to, deleting or opening a folder as a file
        return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST:
        return context == ErrnoContext::Directory ? ERROR_ALREADY_EXISTS : ERROR_FILE_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EFBIG: return ERROR_FILE_TOO_LARGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EMLINK: return ERROR_TOO_MANY_LINKS;
    case EBUSY: return ERROR_BUSY;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EAGAIN: return ERROR_LOCK_VIOLATION;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOTSUP: return ERROR_NOT_SUPPORTED;
    case EIO: return ERROR_IO_DEVICE;
    case EFAULT: return ERROR_NOACCESS;
    default: return ERROR_INVALID_FUNCTION;
    }
}

BOOL FailFromErrno(int err, const char* posixPath, ErrnoContext context) {
    SetLastError(Win32ErrorFromErrno(err, posixPath, context));
    return FALSE;
}

}  // namespace winport
