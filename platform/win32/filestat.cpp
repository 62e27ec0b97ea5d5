// File status in Windows terms.
#include "win32/filestat.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace winport {
namespace {

bool FromStatx(const struct statx& sx, FileStat& out) {
    out.mode = sx.stx_mode;
    out.size = sx.stx_size;
    out.attributes = AttributesFromMode(sx.stx_mode);
    out.accessed = FileTimeFromTimespec(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    out.written = FileTimeFromTimespec(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    if ((sx.stx_mask & STATX_BTIME) != 0) {
        out.created = FileTimeFromTimespec(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
    } else {
        out.created = FileTimeFromTimespec(sx.stx_ctime.tv_sec, sx.stx_ctime.tv_nsec);
    }
    return true;
}

constexpr unsigned kStatxMask = STATX_BASIC_STATS | STATX_BTIME;

}  // namespace

FILETIME FileTimeFromTimespec(std::int64_t sec, std::uint32_t nsec) {
    const std::int64_t ticks = sec * 10000000 + nsec / 100 + static_cast<std::int64_t>(kEpochDelta100ns);
    return FileTimeFromTicks(ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks));
}

std::uint64_t FileTimeTicks(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FileTimeFromTicks(std::uint64_t ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

DWORD AttributesFromMode(unsigned mode) {
    if (S_ISDIR(mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    if ((mode & S_IWUSR) == 0) {
        return FILE_ATTRIBUTE_READONLY;
    }
    return FILE_ATTRIBUTE_NORMAL;
}

bool StatPath(const char* posixPath, FileStat& out) {
    return StatAt(AT_FDCWD, posixPath, out);
}

bool StatAt(int dirfd, const char* name, FileStat& out) {
    struct statx sx;
    if (::statx(dirfd, name, AT_STATX_SYNC_AS_STAT, kStatxMask, &sx) != 0) {
        return false;
    }
    return FromStatx(sx, out);
}

bool StatFd(int fd, FileStat& out) {
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, kStatxMask, &sx) != 0) {
        return false;
    }
    return FromStatx(sx, out);
}

}  // namespace winport
