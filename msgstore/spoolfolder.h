// Claiming and releasing message folders "FMnnnnnn" in the spool directory,
// and the identities that tell a message's own folder and files from others
// that later take the same names.
#pragma once

#include <afx.h>

namespace msgstore {

// The folder count: numbers run from 0 to kMaxFolders - 1.
constexpr int kMaxFolders = 999999;

enum class ClaimResult { Claimed, CannotCreate, NoFreeNumber };

// Creates the lowest-numbered free folder "<spool>\FM%06d" and returns its
// path in strFolder. On CannotCreate, strFolder holds the path whose creation
// failed with an error other than "exists".
ClaimResult ClaimLowestFreeFolder(const char* spool, CString& strFolder);

// A relative spool directory made absolute against the current directory, so
// that a later change of directory cannot point a message at another folder.
// An empty or absolute one is returned unchanged (a doubled separator stays).
CString AbsoluteSpool(const char* spool);

// Which file or folder a name stood for when it was read: its volume and
// index (device and inode). A removed and recreated folder, or a new file of
// the same name, reads as a different one. The one trap: a file system may
// hand a freed index to a new file, so files also compare their creation
// time, which tells them apart wherever the file system keeps one.
struct FileId {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    FILETIME created = {0, 0};
};

enum class IdCheck { Same, Gone, Other, Unknown };

// Reads the identity of what `path` names now; false with the last error set.
bool ReadFileId(const char* path, FileId& id);

// Same when `path` still names the recorded file or folder; Gone when nothing
// is there; Other when something else is; Unknown when it cannot be read.
// Folders compare volume and index only: their change time moves with every
// entry made in them.
IdCheck CheckFileId(const char* path, const FileId& recorded, bool folder);

// Removes a folder made by ClaimLowestFreeFolder (it must be empty); true
// when it is gone. Its number is free for the next claim at once.
bool RemoveClaimedFolder(const CString& strFolder);

}  // namespace msgstore
