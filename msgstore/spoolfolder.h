// Claiming and releasing message folders "FMnnnnnn" in the spool directory.
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

// Removes a folder made by ClaimLowestFreeFolder (it must be empty); true
// when it is gone. Its number is free for the next claim at once.
bool RemoveClaimedFolder(const CString& strFolder);

}  // namespace msgstore
