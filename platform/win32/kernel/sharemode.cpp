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
// mark has many slots and an exclusive mark takes a free one.
//
// An open that writes and shares neither its own access nor its own refusal
// with anybody (a writer denying write: no other open may write or deny
// write while it lives) holds those two kinds whole, with one exclusive lock
// over both ranges: taking it is the mark and the check at once, and it fails
// exactly when another open holds a mark of either kind. The common writer
// (a log, a mailbox append) so costs one lock and no query.
//
// An open marks first and looks for conflicts after, so of two opens that
// would refuse each other the later one to look always sees the other's
// marks: they cannot both pass. They can both see each other when they race;
// then each takes its marks back and tries again under flock() on the file,
// one at a time, which lets one of them through. The common case, nobody
// else having the file open, costs a lock per mark and one query.
#include "win32/sharemode.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace winport {
namespace {

// Each access next to its refusal, so a kind held whole pairs with its
// neighbour into one range.
enum Mark { kReads = 0, kDeniesRead = 1, kWrites = 2, kDeniesWrite = 3 };

constexpr off_t kMarkBase = 0x7FFF000000000000LL;
constexpr off_t kSlots = 4096;

off_t MarkStart(Mark mark) { return kMarkBase + static_cast<off_t>(mark) * kSlots; }

// A lock request over `len` bytes from `start`.
struct flock Span(short type, off_t start, off_t len) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = len;
    return fl;
}

// Whether another open holds a mark of a kind from `first` to `last`; false
// also when the file system answers no lock queries (then nothing is enforced).
bool Held(int fd, Mark first, Mark last) {
    struct flock fl = Span(F_WRLCK, MarkStart(first), MarkStart(last) + kSlots - MarkStart(first));
    return ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

bool Held(int fd, Mark mark) { return Held(fd, mark, mark); }

// Whether one lock of another open covers every slot of the mark.
bool HeldWhole(int fd, Mark mark) {
    struct flock fl = Span(F_WRLCK, MarkStart(mark), 1);
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0 || fl.l_type == F_UNLCK) return false;
    return fl.l_start <= MarkStart(mark) && (fl.l_len == 0 || fl.l_start + fl.l_len >= MarkStart(mark) + kSlots);
}

// Takes a free slot of the mark; its offset, or -1 when none was taken.
off_t Put(int fd, Mark mark, short type) {
    for (off_t slot = 0; slot < kSlots; ++slot) {
        struct flock fl = Span(type, MarkStart(mark) + slot, 1);
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return fl.l_start;
        if (errno != EAGAIN && errno != EACCES) return -1;
        // An open holding the kind whole leaves no slot free.
        if (slot == 0 && HeldWhole(fd, mark)) return -1;
    }
    return -1;
}

void TakeBack(int fd, off_t at, off_t len) {
    if (at < 0) return;
    struct flock fl = Span(F_UNLCK, at, len);
    ::fcntl(fd, F_OFD_SETLK, &fl);
}

// The first and last kind in the set; false when the set is empty.
bool KindSpan(const bool (&kinds)[4], int& first, int& last) {
    first = 4;
    last = -1;
    for (int m = 0; m < 4; ++m) {
        if (kinds[m]) {
            first = first < m ? first : m;
            last = m;
        }
    }
    return last >= 0;
}

// One open's marks and the kinds of mark it must not meet in another open.
// A kind it both has and avoids it holds whole when it may lock exclusively
// (it writes); such kinds come in pairs, an access with its refusal, and the
// pairs are neighbours, so they always form one range.
class Claim {
public:
    Claim(int fd, bool wantRead, bool wantWrite, DWORD dwShareMode) : m_fd(fd) {
        const bool shareRead = (dwShareMode & FILE_SHARE_READ) != 0;
        const bool shareWrite = (dwShareMode & FILE_SHARE_WRITE) != 0;
        m_has[kReads] = wantRead;
        m_has[kWrites] = wantWrite;
        m_has[kDeniesRead] = !shareRead;
        m_has[kDeniesWrite] = !shareWrite;
        bool avoids[4];  // the kinds of mark another open must not hold
        avoids[kReads] = !shareRead;
        avoids[kWrites] = !shareWrite;
        avoids[kDeniesRead] = wantRead;
        avoids[kDeniesWrite] = wantWrite;
        m_type = wantRead ? F_RDLCK : F_WRLCK;
        for (int m = 0; m < 4; ++m) {
            m_whole[m] = wantWrite && m_has[m] && avoids[m];
            m_asks[m] = avoids[m] && !m_whole[m];
        }
    }

    void Mark() {
        int first, last;
        if (KindSpan(m_whole, first, last)) {
            m_wholeStart = MarkStart(static_cast<enum Mark>(first));
            m_wholeLen = MarkStart(static_cast<enum Mark>(last)) + kSlots - m_wholeStart;
            struct flock fl = Span(F_WRLCK, m_wholeStart, m_wholeLen);
            if (::fcntl(m_fd, F_OFD_SETLK, &fl) != 0) {
                m_wholeStart = -1;
                m_refused = errno == EAGAIN || errno == EACCES;
            }
        }
        for (int m = 0; m < 4; ++m) {
            if (m_has[m] && !m_whole[m]) m_at[m] = Put(m_fd, static_cast<enum Mark>(m), m_type);
        }
    }
    void TakeBackMarks() {
        TakeBack(m_fd, m_wholeStart, m_wholeLen);
        m_wholeStart = -1;
        m_refused = false;
        for (int m = 0; m < 4; ++m) {
            TakeBack(m_fd, m_at[m], 1);
            m_at[m] = -1;
        }
    }
    // Mostly nobody else has the file open, which one query over the span
    // of the kinds to avoid shows. A mark inside the span may be of a kind
    // that does not matter: then each kind is asked on its own. Kinds held
    // whole were checked when they were taken.
    [[nodiscard]] bool MeetsAConflict() const {
        if (m_refused) return true;
        int first, last;
        if (!KindSpan(m_asks, first, last) ||
            !Held(m_fd, static_cast<enum Mark>(first), static_cast<enum Mark>(last)))
            return false;
        for (int m = first; m <= last; ++m) {
            if (m_asks[m] && Held(m_fd, static_cast<enum Mark>(m))) return true;
        }
        return false;
    }

private:
    int m_fd;
    short m_type;
    bool m_has[4] = {};
    bool m_whole[4] = {};  // held with one exclusive lock over their ranges
    bool m_asks[4] = {};   // avoided and not held whole: asked after marking
    bool m_refused = false;
    off_t m_wholeStart = -1;
    off_t m_wholeLen = 0;
    off_t m_at[4] = {-1, -1, -1, -1};
};

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
    Claim claim(fd, wantRead, wantWrite, dwShareMode);
    claim.Mark();
    if (!claim.MeetsAConflict()) return true;
    claim.TakeBackMarks();
    FileGuard guard(fd);
    claim.Mark();
    if (!claim.MeetsAConflict()) return true;
    // The caller closes fd, which drops the marks.
    SetLastError(ERROR_SHARING_VIOLATION);
    return false;
}

}  // namespace winport
