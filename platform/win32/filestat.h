// File status in Windows terms: attributes, FILETIME stamps, 64-bit size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>

namespace winport {

// FILETIME counts 100 ns ticks since 1601-01-01 UTC; this is the tick count
// of the POSIX epoch 1970-01-01.
constexpr std::uint64_t kEpochDelta100ns = 116444736000000000ull;

struct FileStat {
    DWORD attributes = 0;
    std::uint64_t size = 0;
    FILETIME created{};   // birth time where the file system keeps one, else the change time
    FILETIME accessed{};
    FILETIME written{};
    unsigned mode = 0;    // st_mode, for the callers that need POSIX detail
};

[[nodiscard]] FILETIME FileTimeFromTimespec(std::int64_t sec, std::uint32_t nsec);
[[nodiscard]] std::uint64_t FileTimeTicks(const FILETIME& ft);
[[nodiscard]] FILETIME FileTimeFromTicks(std::uint64_t ticks);

// Windows attributes of a POSIX mode: DIRECTORY; READONLY for a file without
// the owner's write bit (folders never read as read-only: Windows ignores the
// bit on them); NORMAL when nothing else applies.
[[nodiscard]] DWORD AttributesFromMode(unsigned mode);

// stat of a path (symbolic links followed) or of an open descriptor; false
// with errno set on failure. dirfd/name form: relative to an open folder.
bool StatPath(const char* posixPath, FileStat& out);
bool StatAt(int dirfd, const char* name, FileStat& out);
bool StatFd(int fd, FileStat& out);

}  // namespace winport
