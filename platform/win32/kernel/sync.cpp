// kernel32 mutexes: unnamed ones inside the process, named ones shared
// between processes through lock files, and WaitForSingleObject on them.
//
// A named mutex is the lock file <directory>/mutex.<escaped name>, held with
// open-file-description locks through one descriptor per process and mutex
// (MutexCore), which every handle of that process to that name shares:
//
//   byte 0   shared lock: "this process holds the mutex open", so the mutex
//            exists exactly while some process holds this byte;
//   byte 1   exclusive, held for a moment: orders opening against the last
//            close, which unlinks the file;
//   byte 2   exclusive: held by the process one of whose threads owns it;
//   content  one byte, 1 while owned. An owner that releases writes 0; one
//            that ends without releasing (thread exit, crash, SIGKILL) leaves
//            1, and the next owner reports WAIT_ABANDONED.
//
// The kernel drops every lock of a process that dies, so a crashed process
// never leaves a name taken: a file nobody holds byte 0 of is a dead mutex,
// whatever it contains, and the next creator starts it afresh. An opener
// takes byte 1 and then checks that the path still names the file it opened;
// if the last closer unlinked it meanwhile, it opens again.
//
// Ownership inside the process is a thread id and a recursion count under
// the core's std::mutex; across processes it is byte 2, taken by polling
// with F_OFD_SETLK (1 ms doubling to 16 ms) so that a timed wait ends on
// time and no thread sleeps in the kernel holding the core. A thread keeps
// every mutex it owns alive, also after its handles are closed, until it
// releases it or ends, as the Windows kernel does.
//
// Directories (created on first use):
//   "Local\" and unprefixed names: $XWTH_LOCK_DIR/session, else
//       $XDG_RUNTIME_DIR/winport-mutex, else /tmp/winport-<uid>/mutex; 0700,
//       and refused unless it is our own directory;
//   "Global\" names: $XWTH_LOCK_DIR/global, else /tmp/winport-global; mode
//       1777 with files 0666, so the processes of every user meet there.
// A name is escaped byte by byte (letters, digits, '.', '_' and '-' stay,
// everything else becomes %XX), so no name can reach outside its directory
// and distinct names never share a file; an escaped name longer than 200
// bytes keeps its first 160 and ends in '~' and a 128-bit hash of the whole.
//
// A fork does not share the parent's mutexes: the child closes its copies of
// the descriptors (the parent's locks stay, they belong to the parent's
// descriptions) and its inherited handles fail with ERROR_INVALID_HANDLE.
#include <windows.h>

#include "win32/errors.h"
#include "win32/handles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace winport {
namespace {

constexpr off_t kExistsByte = 0;
constexpr off_t kGuardByte = 1;
constexpr off_t kOwnerByte = 2;

// One lock operation on one byte; false with errno on failure (EAGAIN when
// another description holds a conflicting lock and wait is false).
bool LockByte(int fd, off_t byte, short type, bool wait) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    for (;;) {
        if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return true;
        if (errno != EINTR) return false;
    }
}

// Whether a description other than fd's holds any lock on the byte.
bool HeldElsewhere(int fd, off_t byte) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return true;  // assume the worst: never reset a live mutex
    return fl.l_type != F_UNLCK;
}

bool SameFile(int fd, const std::string& path) {
    struct stat a {}, b {};
    return ::fstat(fd, &a) == 0 && ::lstat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class MutexCore;

// The mutexes the calling thread owns; a thread that ends abandons them.
struct OwnedMutexes {
    std::vector<std::shared_ptr<MutexCore>> cores;
    ~OwnedMutexes();
};
thread_local OwnedMutexes t_owned;

// Live named cores of this process by path, so that every handle to one
// name shares one descriptor and one owner.
struct Registry {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<MutexCore>> byPath;
};
Registry& TheRegistry() {
    static Registry* const registry = new Registry;  // used from thread-exit and fork handlers
    return *registry;
}

class MutexCore : public std::enable_shared_from_this<MutexCore> {
public:
    MutexCore(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ~MutexCore();
    MutexCore(const MutexCore&) = delete;
    MutexCore& operator=(const MutexCore&) = delete;

    DWORD Wait(DWORD dwMilliseconds);
    BOOL Release();
    // Called by a thread that ends while owning.
    void Abandon(DWORD tid);
    // In a forked child: forget the parent's descriptor.
    void DetachAfterFork() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
        m_dead = true;
    }

private:
    bool Named() const { return !m_path.empty(); }
    // Takes ownership for the calling thread; -1 (errno set) on failure,
    // else whether the previous owner abandoned it.
    int Take(DWORD tid);

    std::mutex m_mutex;
    std::condition_variable m_released;
    const std::string m_path;  // empty for an unnamed mutex
    int m_fd;
    bool m_dead = false;
    DWORD m_ownerTid = 0;
    unsigned long m_count = 0;
    bool m_abandoned = false;  // unnamed mutexes only; named ones keep it in the file
};

OwnedMutexes::~OwnedMutexes() {
    const DWORD tid = GetCurrentThreadId();
    for (const auto& core : cores) core->Abandon(tid);
}

MutexCore::~MutexCore() {
    if (m_fd < 0) return;
    // The last handle of this process is gone. If no other process holds the
    // mutex either, it ends here: unlink the file while holding the guard so
    // that no opener can be between its open and its check of the path.
    LockByte(m_fd, kGuardByte, F_WRLCK, true);
    if (LockByte(m_fd, kExistsByte, F_WRLCK, false) && SameFile(m_fd, m_path)) {
        ::unlink(m_path.c_str());  // may fail in a sticky folder for another user's file: harmless
    }
    ::close(m_fd);
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byPath.find(m_path);
    if (it != r.byPath.end() && it->second.expired()) r.byPath.erase(it);
}

int MutexCore::Take(DWORD tid) {
    bool abandoned = m_abandoned;
    if (Named()) {
        if (!LockByte(m_fd, kOwnerByte, F_WRLCK, false)) return -1;
        char mark = 0;
        abandoned = ::pread(m_fd, &mark, 1, 0) == 1 && mark == 1;
        mark = 1;
        if (::pwrite(m_fd, &mark, 1, 0) != 1) {
            const int err = errno;
            LockByte(m_fd, kOwnerByte, F_UNLCK, false);
            errno = err;
            return -1;
        }
    }
    m_abandoned = false;
    m_ownerTid = tid;
    m_count = 1;
    t_owned.cores.push_back(shared_from_this());
    return abandoned ? 1 : 0;
}

DWORD MutexCore::Wait(DWORD dwMilliseconds) {
    using Clock = std::chrono::steady_clock;
    const DWORD tid = GetCurrentThreadId();
    const bool forever = dwMilliseconds == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : dwMilliseconds);
    std::chrono::milliseconds poll(1);
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_dead) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    if (m_ownerTid == tid) {
        ++m_count;
        return WAIT_OBJECT_0;
    }
    for (;;) {
        if (m_ownerTid == 0) {
            const int taken = Take(tid);
            if (taken >= 0) return taken ? WAIT_ABANDONED : WAIT_OBJECT_0;
            if (errno != EAGAIN && errno != EACCES) {
                FailFromErrno(errno);
                return WAIT_FAILED;
            }
        }
        const Clock::time_point now = Clock::now();
        if (!forever && now >= deadline) return WAIT_TIMEOUT;
        // Another thread of this process releases with a notification;
        // another process only shows by polling its lock.
        Clock::time_point until = forever ? Clock::time_point::max() : deadline;
        if (Named() && m_ownerTid == 0) {
            until = std::min(until, now + poll);
            poll = std::min(poll * 2, std::chrono::milliseconds(16));
        }
        if (until == Clock::time_point::max()) {
            m_released.wait(lock);
        } else {
            m_released.wait_until(lock, until);
        }
    }
}

BOOL MutexCore::Release() {
    std::shared_ptr<MutexCore> keep;  // dropped after the lock: it may be the last reference
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_dead || m_ownerTid != GetCurrentThreadId()) {
        SetLastError(m_dead ? ERROR_INVALID_HANDLE : ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--m_count > 0) return TRUE;
    if (Named()) {
        const char mark = 0;
        (void)!::pwrite(m_fd, &mark, 1, 0);
        LockByte(m_fd, kOwnerByte, F_UNLCK, false);
    }
    m_ownerTid = 0;
    auto& owned = t_owned.cores;
    const auto it = std::find(owned.begin(), owned.end(), shared_from_this());
    if (it != owned.end()) {
        keep = std::move(*it);
        owned.erase(it);
    }
    m_released.notify_all();
    return TRUE;
}

void MutexCore::Abandon(DWORD tid) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ownerTid != tid || m_dead) return;
    if (Named()) {
        LockByte(m_fd, kOwnerByte, F_UNLCK, false);  // the mark stays 1
    } else {
        m_abandoned = true;
    }
    m_ownerTid = 0;
    m_count = 0;
    m_released.notify_all();
}

// A forked child runs one thread and shares the parent's descriptions: it
// must neither hold the parent's mutexes nor release the parent's locks.
void PrepareFork() { TheRegistry().mutex.lock(); }
void ParentAfterFork() { TheRegistry().mutex.unlock(); }
void ChildAfterFork() {
    Registry& r = TheRegistry();
    std::vector<std::shared_ptr<MutexCore>> live;
    for (auto& [path, weak] : r.byPath) {
        if (auto core = weak.lock()) live.push_back(std::move(core));
    }
    r.byPath.clear();
    r.mutex.unlock();
    for (const auto& core : live) core->DetachAfterFork();
    for (const auto& core : t_owned.cores) core->DetachAfterFork();
    t_owned.cores.clear();
}

// The handle: one per CreateMutexA/OpenMutexA, sharing the core.
class MutexHandle final : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Mutex;
    MutexHandle(std::shared_ptr<MutexCore> core, DWORD access) : Object(kKind), m_core(std::move(core)), m_access(access) {}
    MutexCore& core() const { return *m_core; }
    const std::shared_ptr<MutexCore>& shared() const { return m_core; }
    DWORD access() const { return m_access; }

private:
    std::shared_ptr<MutexCore> m_core;
    DWORD m_access;
};

// --- names and directories -----------------------------------------------------

struct ParsedName {
    bool global = false;
    std::string_view rest;  // after the namespace prefix
};

// false with the last error set for a name the kernel refuses.
bool ParseName(const char* name, ParsedName& out) {
    const std::string_view all(name);
    if (all.size() > MAX_PATH) {  // what the kernel's conversion buffer holds
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::string_view rest = all;
    if (rest.substr(0, 7) == "Global\\") {
        out.global = true;
        rest.remove_prefix(7);
    } else if (rest.substr(0, 6) == "Local\\") {
        rest.remove_prefix(6);
    }
    if (rest.find('\\') != std::string_view::npos) {
        SetLastError(ERROR_PATH_NOT_FOUND);  // a namespace directory that does not exist
        return false;
    }
    out.rest = rest;
    return true;
}

std::uint64_t Fnv1a(std::string_view s, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (const unsigned char c : s) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

std::string FileNameFor(std::string_view name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
            c == '-') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (out.size() > 200) {
        std::size_t keep = 160;
        while (keep > 0 && (out[keep - 1] == '%' || (keep > 1 && out[keep - 2] == '%'))) --keep;
        char tail[40];
        std::snprintf(tail, sizeof tail, "~%016llx%016llx",
                      static_cast<unsigned long long>(Fnv1a(name, 0xcbf29ce484222325ULL)),
                      static_cast<unsigned long long>(Fnv1a(name, 0x84222325cbf29ce4ULL)));
        out.resize(keep);
        out += tail;
    }
    return "mutex." + out;
}

// Makes dir if missing. A private directory must then be ours and closed to
// others; a shared one is made world-writable and sticky.
bool EnsureDirectory(const std::string& dir, bool shared) {
    const mode_t mode = shared ? 01777 : 0700;
    if (::mkdir(dir.c_str(), mode) == 0) {
        if (shared) ::chmod(dir.c_str(), mode);  // past the umask
        return true;
    }
    if (errno != EEXIST) return FailFromErrno(errno, dir.c_str(), ErrnoContext::Directory);
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return FailFromErrno(errno, dir.c_str(), ErrnoContext::Directory);
    if (!S_ISDIR(st.st_mode) || (!shared && (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0))) {
        SetLastError(ERROR_ACCESS_DENIED);  // somebody else's, or a trap
        return false;
    }
    return true;
}

// The directory of the namespace, created as needed; empty with the last
// error set when it cannot be had.
std::string NamespaceDirectory(bool global) {
    const char* base = std::getenv("XWTH_LOCK_DIR");
    std::vector<std::pair<std::string, bool>> chain;  // directory, shared
    if (base != nullptr && *base != '\0') {
        chain.emplace_back(base, false);
        chain.emplace_back(std::string(base) + (global ? "/global" : "/session"), global);
        // The base itself is the caller's choice: only made, never checked.
        if (::mkdir(base, 0700) != 0 && errno != EEXIST) {
            FailFromErrno(errno, base, ErrnoContext::Directory);
            return std::string();
        }
        chain.erase(chain.begin());
    } else if (global) {
        chain.emplace_back("/tmp/winport-global", true);
    } else {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime != nullptr && *runtime == '/') {
            chain.emplace_back(std::string(runtime) + "/winport-mutex", false);
        } else {
            const std::string mine = "/tmp/winport-" + std::to_string(::geteuid());
            chain.emplace_back(mine, false);
            chain.emplace_back(mine + "/mutex", false);
        }
    }
    for (const auto& [dir, shared] : chain) {
        if (!EnsureDirectory(dir, shared)) return std::string();
    }
    return chain.back().first;
}

// The core of a named mutex, opened or created; null with the last error set.
std::shared_ptr<MutexCore> OpenNamed(const char* name, bool create, bool& existed) {
    ParsedName parsed;
    if (!ParseName(name, parsed)) return nullptr;
    const std::string dir = NamespaceDirectory(parsed.global);
    if (dir.empty()) return nullptr;
    const std::string path = dir + "/" + FileNameFor(parsed.rest);

    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byPath.find(path);
    if (it != r.byPath.end()) {
        if (auto core = it->second.lock()) {
            existed = true;
            return core;
        }
    }
    for (;;) {
        const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0);
        const int fd = ::open(path.c_str(), flags, parsed.global ? 0666 : 0600);
        if (fd < 0) {
            SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : Win32ErrorFromErrno(errno, path.c_str()));
            return nullptr;
        }
        struct stat st {};
        if (parsed.global && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid()) {
            ::fchmod(fd, 0666);  // past the umask, so that other users can open it
        }
        if (!LockByte(fd, kGuardByte, F_WRLCK, true)) {
            const int err = errno;
            ::close(fd);
            FailFromErrno(err, path.c_str());
            return nullptr;
        }
        if (!SameFile(fd, path)) {  // the last closer unlinked it after our open
            ::close(fd);
            continue;
        }
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            SetLastError(ERROR_INVALID_HANDLE);  // the name belongs to something else
            return nullptr;
        }
        existed = HeldElsewhere(fd, kExistsByte);
        if (!existed) {
            if (!create) {  // a dead mutex: clear it away
                ::unlink(path.c_str());
                ::close(fd);
                SetLastError(ERROR_FILE_NOT_FOUND);
                return nullptr;
            }
            (void)!::ftruncate(fd, 0);  // a fresh mutex forgets a dead owner's mark
        }
        if (!LockByte(fd, kExistsByte, F_RDLCK, false)) {
            const int err = errno;
            ::close(fd);
            FailFromErrno(err, path.c_str());
            return nullptr;
        }
        LockByte(fd, kGuardByte, F_UNLCK, false);
        auto core = std::make_shared<MutexCore>(path, fd);
        r.byPath[path] = core;
        return core;
    }
}

void InstallForkHandlers() {
    static std::once_flag once;
    std::call_once(once, [] { ::pthread_atfork(PrepareFork, ParentAfterFork, ChildAfterFork); });
}

HANDLE NewHandle(std::shared_ptr<MutexCore> core, DWORD access) {
    return RegisterObject(std::make_shared<MutexHandle>(std::move(core), access));
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName) {
    (void)lpMutexAttributes;  // one user per process: default security only
    InstallForkHandlers();
    std::shared_ptr<MutexCore> core;
    bool existed = false;
    if (lpName == nullptr || *lpName == '\0') {
        core = std::make_shared<MutexCore>(std::string(), -1);
    } else {
        core = OpenNamed(lpName, true, existed);
        if (!core) return nullptr;
    }
    if (bInitialOwner && !existed && core->Wait(0) == WAIT_FAILED) return nullptr;
    HANDLE h = NewHandle(std::move(core), MUTEX_ALL_ACCESS);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

WINBASEAPI HANDLE WINAPI OpenMutexA(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName) {
    (void)bInheritHandle;  // no child process inherits handles here
    if (lpName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    InstallForkHandlers();
    bool existed = false;
    std::shared_ptr<MutexCore> core = OpenNamed(lpName, false, existed);
    return core ? NewHandle(std::move(core), dwDesiredAccess) : nullptr;
}

WINBASEAPI BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
    auto handle = LookupOrFail<MutexHandle>(hMutex);
    if (!handle) return FALSE;
    if ((handle->access() & MUTEX_MODIFY_STATE) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return handle->core().Release();
}

WINBASEAPI DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    auto handle = LookupOrFail<MutexHandle>(hHandle);
    if (!handle) return WAIT_FAILED;
    if ((handle->access() & SYNCHRONIZE) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return WAIT_FAILED;
    }
    return handle->core().Wait(dwMilliseconds);
}

WINBASEAPI BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                                       LPHANDLE lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle,
                                       DWORD dwOptions) {
    (void)bInheritHandle;
    if (hSourceProcessHandle != GetCurrentProcess() || hTargetProcessHandle != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto handle = LookupOrFail<MutexHandle>(hSourceHandle);
    if (!handle) return FALSE;
    const DWORD access = (dwOptions & DUPLICATE_SAME_ACCESS) ? handle->access() : dwDesiredAccess;
    HANDLE h = NewHandle(handle->shared(), access);
    if (lpTargetHandle != nullptr) *lpTargetHandle = h;
    if (dwOptions & DUPLICATE_CLOSE_SOURCE) CloseHandle(hSourceHandle);
    if (lpTargetHandle == nullptr) CloseHandle(h);  // Windows closes the duplicate nobody can name
    return TRUE;
}

}  // extern "C"
