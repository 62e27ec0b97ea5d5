// errno to Win32 error mapping, the one place where POSIX failures get their
// Windows codes.
#pragma once

#include <windows.h>

namespace winport {

// What the failed call was about: Windows answers EEXIST with 80 for a file
// and 183 for a folder, and ENOTDIR with 267 where the named object itself is
// not a folder (RemoveDirectory, SetCurrentDirectory).
enum class ErrnoContext { File, Directory };

// posixPath, when given, is the path of the failed call: ENOENT becomes 2 when
// its parent folder exists and 3 when not, as Windows tells the two apart.
[[nodiscard]] DWORD Win32ErrorFromErrno(int err, const char* posixPath = nullptr,
                                        ErrnoContext context = ErrnoContext::File);

// SetLastError(Win32ErrorFromErrno(...)); always returns FALSE so that a
// failing entry point can end with `return FailFromErrno(errno, path);`.
BOOL FailFromErrno(int err, const char* posixPath = nullptr,
                   ErrnoContext context = ErrnoContext::File);

}  // namespace winport
