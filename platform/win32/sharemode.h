// Windows share modes between the file handles of CreateFileA.
#pragma once

#include <windows.h>

namespace winport {

// Checks a new open of the regular file fd (its access wantRead/wantWrite,
// its dwShareMode) against the opens of the same file made through
// CreateFileA, in this and every other process, and records it while fd
// stays open. FALSE, with ERROR_SHARING_VIOLATION, when either side's
// sharing refuses the other's access. Where the file system keeps no locks
// nothing is enforced.
bool ClaimShareMode(int fd, bool wantRead, bool wantWrite, DWORD dwShareMode);

}  // namespace winport
