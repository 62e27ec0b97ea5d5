#include "msgstore/spoolfolder.h"

#include <direct.h>
#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <mutex>
#include <string>
#include <vector>

namespace msgstore {
namespace {

// Whole folder path limit: the 260-character path buffer less its NUL.
constexpr size_t kMaxPathChars = MAX_PATH - 1;
// "\FM" and six digits.
constexpr size_t kSuffixChars = 9;
// How long a snapshot of the spool may stand in for a new listing.
constexpr DWORD kSnapshotLifetimeMs = 1000;

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

// The spool directory's last write time, which moves whenever an entry is
// made or removed in it; false when it cannot be read.
bool ReadStamp(const char* spool, FILETIME& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(spool, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    stamp = data.ftLastWriteTime;
    return true;
}

bool SameStamp(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// Which numbers of one spool are taken, as last seen.
//
// The claim itself is always the folder's creation, which keeps concurrent
// creators apart whatever this snapshot says; the snapshot only chooses which
// number to try. Trying 0, 1, 2, ... costs one failed creation per taken
// number, so a spool of 10,000 messages would pay 10,000 system calls per new
// message. Instead the spool is listed once (names only: the C runtime's
// directory API; the Win32 search also fetches every entry's attributes and
// times, a status query per entry on POSIX systems) and the snapshot is kept
// while the spool's write time shows that nobody else changed it.
//
// This process's own creations and removals keep the snapshot current. A
// number that another process takes after the listing is found by the failed
// creation and skipped. A number that another process frees can hide only if
// its removal lands in the same tick of the file system's clock as one of
// ours; every snapshot is therefore listed afresh after kSnapshotLifetimeMs,
// so such a number is reused at the latest a second later.
class SpoolSnapshot {
public:
    ClaimResult Claim(const char* spool, CString& strFolder) {
        std::lock_guard<std::mutex> lock(m_mutex);
        FILETIME stamp;
        const bool stamped = ReadStamp(spool, stamp);
        if (!stamped || !IsCurrent(spool, stamp)) {
            Rescan(spool);
        }
        char path[MAX_PATH + 16];
        for (int n = 0; n < kMaxFolders; ++n) {
            if (m_taken[static_cast<size_t>(n)]) {
                continue;
            }
            snprintf(path, sizeof(path), "%s\\FM%06d", spool, n);
            if (_mkdir(path) == 0) {
                m_taken[static_cast<size_t>(n)] = true;
                m_valid = stamped && ReadStamp(spool, m_stamp);
                strFolder = path;
                return ClaimResult::Claimed;
            }
            if (errno != EEXIST) {
                m_valid = false;
                strFolder = path;
                return ClaimResult::CannotCreate;
            }
            m_taken[static_cast<size_t>(n)] = true;  // taken since the listing
        }
        m_valid = false;
        return ClaimResult::NoFreeNumber;
    }

    bool Remove(const CString& strFolder) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int length = strFolder.GetLength();
        const int n = length >= (int)kSuffixChars ? FolderNumber((LPCSTR)strFolder + length - 8) : -1;
        const CString spool = strFolder.Left(length - (int)kSuffixChars);
        FILETIME before;
        const bool current = n >= 0 && m_valid && m_spool == (LPCSTR)spool && ReadStamp(spool, before) &&
                             SameStamp(before, m_stamp);
        if (!RemoveDirectoryA(strFolder)) {
            return false;
        }
        if (current) {
            m_taken[static_cast<size_t>(n)] = false;
            m_valid = ReadStamp(spool, m_stamp);
        } else if (m_spool == (LPCSTR)spool) {
            m_valid = false;
        }
        return true;
    }

private:
    bool IsCurrent(const char* spool, const FILETIME& stamp) const {
        return m_valid && m_spool == spool && SameStamp(stamp, m_stamp) &&
               GetTickCount() - m_listedAt < kSnapshotLifetimeMs;
    }

    // Lists the spool. Without a readable listing (the spool is missing, or
    // its name is not one the runtime opens as given) every number stays a
    // candidate, and the creations themselves find the taken ones.
    void Rescan(const char* spool) {
        m_spool = spool;
        m_taken.assign(kMaxFolders, false);
        m_listedAt = GetTickCount();
        m_valid = false;
        DIR* dir = opendir(spool);
        if (dir == NULL) {
            return;
        }
        while (const dirent* entry = readdir(dir)) {
            const int n = FolderNumber(entry->d_name);
            if (n >= 0) {
                m_taken[static_cast<size_t>(n)] = true;
            }
        }
        closedir(dir);
    }

    std::mutex m_mutex;
    std::string m_spool;
    std::vector<bool> m_taken;
    FILETIME m_stamp = {0, 0};
    DWORD m_listedAt = 0;
    bool m_valid = false;
};

SpoolSnapshot& Snapshot() {
    static SpoolSnapshot* snapshot = new SpoolSnapshot;  // outlives every message, even static ones
    return *snapshot;
}

}  // namespace

ClaimResult ClaimLowestFreeFolder(const char* spool, CString& strFolder) {
    if (strlen(spool) + kSuffixChars > kMaxPathChars) {
        // No room for the whole suffix: a cut name would claim a folder that
        // no message recognises as its own, so nothing is created. The path
        // reported is the first one, cut to the path buffer.
        char path[MAX_PATH + 16];
        snprintf(path, sizeof(path), "%s\\FM%06d", spool, 0);
        path[kMaxPathChars] = '\0';
        strFolder = path;
        return ClaimResult::CannotCreate;
    }
    return Snapshot().Claim(spool, strFolder);
}

bool RemoveClaimedFolder(const CString& strFolder) {
    return Snapshot().Remove(strFolder);
}

}  // namespace msgstore

namespace msgstore {

CString AbsoluteSpool(const char* spool) {
    const bool absolute = spool[0] == '\0' || spool[0] == '\\' || spool[0] == '/' ||
                          (spool[0] != '\0' && spool[1] == ':');
    if (absolute) {
        return CString(spool);
    }
    char cwd[MAX_PATH];
    const DWORD len = GetCurrentDirectoryA(MAX_PATH, cwd);
    if (len == 0 || len >= MAX_PATH) {
        return CString(spool);  // the claim then fails on the length or the path
    }
    CString strSpool(cwd);
    if (cwd[len - 1] != '\\' && cwd[len - 1] != '/') {
        strSpool += "\\";
    }
    return strSpool + spool;
}

bool ReadFileId(const char* path, FileId& id) {
    // No access rights asked: reading the identity needs none, and a folder
    // opens only with backup semantics.
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL ok = GetFileInformationByHandle(h, &info);
    const DWORD err = GetLastError();
    CloseHandle(h);
    if (!ok) {
        SetLastError(err);
        return false;
    }
    id.volume = info.dwVolumeSerialNumber;
    id.indexHigh = info.nFileIndexHigh;
    id.indexLow = info.nFileIndexLow;
    id.created = info.ftCreationTime;
    return true;
}

IdCheck CheckFileId(const char* path, const FileId& recorded, bool folder) {
    FileId now;
    if (!ReadFileId(path, now)) {
        const DWORD err = GetLastError();
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? IdCheck::Gone : IdCheck::Unknown;
    }
    const bool same = now.volume == recorded.volume && now.indexHigh == recorded.indexHigh &&
                      now.indexLow == recorded.indexLow &&
                      (folder || SameStamp(now.created, recorded.created));
    return same ? IdCheck::Same : IdCheck::Other;
}

}  // namespace msgstore
