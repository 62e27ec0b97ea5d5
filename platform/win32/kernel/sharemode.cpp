// Share modes as open-file-description locks. Every open through CreateFileA
// that reads or writes marks, with a lock on one byte of a range far past any
// file's data, what it does (reads, writes) and what it refuses to share
// (denies read, denies write). A new open asks whether any other open holds
// a mark its access or its sharing conflicts with. The kernel drops the
// marks with the last descriptor of the open, also when a process dies.
//
// Marks are advisory: a program that opens the file without CreateFileA is
// neither seen nor refused. A descriptor may hold only the lock type its
// mode allows (read-only: shared, write-only: exclusive), so each kind of
// mark has many slots and an exclusive mark takes a free one. The check and
// the marking happen under flock() on the same file, so two opens that
// would refuse each other cannot both pass.
#include "win32/sharemode.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace winport {
namespace {

enum Mark { kReads = 0, kWrites = 1, kDeniesRead = 2, kDeniesWrite = 3 };

constexpr off_t kMarkBase = 0x7FFF000000000000LL;
constexpr off_t kSlots = 4096;

off_t MarkStart(Mark mark) { return kMarkBase + static_cast<off_t>(mark) * kSlots; }

// Whether another open holds a mark of this kind; false also when the file
// system answers no lock queries (then nothing is enforced).
bool Held(int fd, Mark mark) {
    struct flock fl = {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = MarkStart(mark);
    fl.l_len = kSlots;
    return ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

void Put(int fd, Mark mark, short type) {
    for (off_t slot = 0; slot < kSlots; ++slot) {
        struct flock fl = {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = MarkStart(mark) + slot;
        fl.l_len = 1;
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0 || (errno != EAGAIN && errno != EACCES)) return;
    }
}

// flock() guard for the check and the marking. Another program may hold
// flock on the file for long (mail readers lock mailboxes this way): after
// about two seconds the claim goes ahead without the guard.
class FileGuard {
public:
    explicit FileGuard(int fd) : m_fd(fd) {
        const struct timespec pause = {0, 2000000};
        for (int attempt = 0; attempt < 1000; ++attempt) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                m_held = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) return;
            ::nanosleep(&pause, nullptr);
        }
    }
    ~FileGuard() {
        if (m_held) ::flock(m_fd, LOCK_UN);
    }
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;

private:
    int m_fd;
    bool m_held = false;
};

}  // namespace

bool ClaimShareMode(int fd, bool wantRead, bool wantWrite, DWORD dwShareMode) {
    if (!wantRead && !wantWrite) return true;  // attribute access shares with everything
    const bool shareRead = (dwShareMode & FILE_SHARE_READ) != 0;
    const bool shareWrite = (dwShareMode & FILE_SHARE_WRITE) != 0;
    FileGuard guard(fd);
    if ((wantRead && Held(fd, kDeniesRead)) || (wantWrite && Held(fd, kDeniesWrite)) ||
        (!shareRead && Held(fd, kReads)) || (!shareWrite && Held(fd, kWrites))) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
    const short type = wantRead ? F_RDLCK : F_WRLCK;
    if (wantRead) Put(fd, kReads, type);
    if (wantWrite) Put(fd, kWrites, type);
    if (!shareRead) Put(fd, kDeniesRead, type);
    if (!shareWrite) Put(fd, kDeniesWrite, type);
    return true;
}

}  // namespace winport
