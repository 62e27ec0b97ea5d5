#include "msgstore/spoolfolder.h"

#include <direct.h>
#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <vector>

namespace msgstore {
namespace {

// Whole folder path limit: the 260-character path buffer less its NUL.
constexpr size_t kMaxPathChars = MAX_PATH - 1;

// "FM" and exactly six digits: the names this store creates.
int FolderNumber(const char* name) {
    if (name[0] != 'F' || name[1] != 'M') {
        return -1;
    }
    int n = 0;
    for (int i = 2; i < 8; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return -1;
        }
        n = n * 10 + (name[i] - '0');
    }
    return name[8] == '\0' ? n : -1;
}

// Marks the numbers whose names are taken already. Listing costs one pass over
// the directory instead of one failed creation per taken number, which is what
// keeps a spool with thousands of folders fast. The listing is only a hint: the
// claim itself is still the creation, so a name taken after the listing is
// skipped when its creation reports that it exists, and a name freed after it
// waits for the next message. The directory API of the C runtime is used
// because it yields names alone; the Win32 search also fetches every entry's
// attributes and times, one status query per entry on POSIX systems.
// Without a readable listing (the spool is missing, or its name is not one the
// runtime opens as given) every number stays a candidate.
void MarkTakenNumbers(const char* spool, std::vector<bool>& taken) {
    DIR* dir = opendir(spool);
    if (dir == NULL) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const int n = FolderNumber(entry->d_name);
        if (n >= 0 && n < kMaxFolders) {
            taken[static_cast<size_t>(n)] = true;
        }
    }
    closedir(dir);
}

}  // namespace

ClaimResult ClaimLowestFreeFolder(const char* spool, CString& strFolder) {
    char path[MAX_PATH];
    if (strlen(spool) + 9 > kMaxPathChars) {
        // No room for the whole suffix: a cut name would claim a folder that
        // no message recognises as its own, so nothing is created. The path
        // reported is the first one, cut to the buffer.
        snprintf(path, sizeof(path), "%s\\FM%06d", spool, 0);
        strFolder = path;
        return ClaimResult::CannotCreate;
    }

    std::vector<bool> taken(kMaxFolders, false);
    MarkTakenNumbers(spool, taken);
    for (int n = 0; n < kMaxFolders; ++n) {
        if (taken[static_cast<size_t>(n)]) {
            continue;
        }
        snprintf(path, sizeof(path), "%s\\FM%06d", spool, n);
        if (_mkdir(path) == 0) {
            strFolder = path;
            return ClaimResult::Claimed;
        }
        if (errno != EEXIST) {
            strFolder = path;
            return ClaimResult::CannotCreate;
        }
    }
    return ClaimResult::NoFreeNumber;
}

}  // namespace msgstore
