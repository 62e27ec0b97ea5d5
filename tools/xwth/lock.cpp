// xwth lock NAME [--global] [--wait] -- COMMAND [ARGS...]
//
// Takes the program lock NAME as a program's instance would, then holds the
// mutex's ownership while COMMAND runs, so that a waiting instance runs
// after it and a non-waiting one refuses. Exit status: the command's own,
// 75 when another holder has the lock, 2 for a usage error, 127 when the
// command cannot be started.
#include "lock.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <xwth/process.h>

#if defined(_WIN32)
#  include <process.h>
#else
#  include <spawn.h>
#  include <sys/wait.h>
extern char** environ;
#endif

namespace xwth_tool {
namespace {

constexpr int kLockHeld = 75;  // EX_TEMPFAIL: try again later

void PrintLockUsage(FILE* out) {
    std::fputs(
        "usage: xwth lock NAME [--global] [--wait] -- COMMAND [ARGS...]\n"
        "\n"
        "Runs COMMAND only when no other holder of the program lock NAME exists, and\n"
        "holds the lock while it runs. The lock is the named mutex the library uses\n"
        "to tell a program's first instance from later ones; a holder that crashes\n"
        "or is killed never leaves the name taken.\n"
        "\n"
        "  --global   the name lives in the global namespace (seen by all users'\n"
        "             sessions) as Global\\G_NAME\n"
        "  --wait     wait for the current holder to finish instead of refusing\n"
        "\n"
        "exit status: COMMAND's, 75 when the lock is held elsewhere, 2 for a usage\n"
        "error, 127 when COMMAND cannot be started\n",
        out);
}

// The command's exit status, 128 + signal when a signal ended it, or 127.
int RunCommand(char** argv) {
#if defined(_WIN32)
    const intptr_t rc = _spawnvp(_P_WAIT, argv[0], argv);
    if (rc == -1) {
        std::fprintf(stderr, "xwth lock: cannot run '%s': %s\n", argv[0], std::strerror(errno));
        return 127;
    }
    return static_cast<int>(rc);
#else
    pid_t pid;
    const int err = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ);
    if (err != 0) {
        std::fprintf(stderr, "xwth lock: cannot run '%s': %s\n", argv[0], std::strerror(err));
        return 127;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#endif
}

}  // namespace

int RunLock(int argc, char** argv) {
    const char* name = nullptr;
    bool global = false, wait = false;
    int i = 0;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            PrintLockUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--global") == 0) {
            global = true;
        } else if (std::strcmp(argv[i], "--wait") == 0) {
            wait = true;
        } else if (argv[i][0] != '-' && name == nullptr) {
            name = argv[i];
        } else {
            std::fprintf(stderr, "xwth lock: unexpected argument '%s'\n\n", argv[i]);
            PrintLockUsage(stderr);
            return 2;
        }
    }
    if (name == nullptr || *name == '\0' || i + 1 >= argc) {
        std::fputs(name == nullptr || *name == '\0' ? "xwth lock: a lock NAME is needed\n\n"
                                                    : "xwth lock: a COMMAND after '--' is needed\n\n",
                   stderr);
        PrintLockUsage(stderr);
        return 2;
    }

    ZUZA_ProgramLock lock;
    lock.Lock(name, global, wait);
    if (!lock.OwnsLock() && GetLastError() == ERROR_PATH_NOT_FOUND) {
        std::fprintf(stderr, "xwth lock: '%s' is not a lock name: no '\\' may follow the namespace\n", name);
        return 2;
    }
    // Two instances that both find the name free both hold a handle; the one
    // that owns the mutex runs. Owning it also makes waiting instances queue.
    const DWORD got = lock.OwnsLock() ? WaitForSingleObject(lock.m_hMutex, wait ? INFINITE : 0) : WAIT_TIMEOUT;
    if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
        std::fprintf(stderr, "xwth lock: '%s%s' is held by another process\n", global ? "Global\\G_" : "", name);
        return kLockHeld;
    }
    const int status = RunCommand(argv + i + 1);
    ReleaseMutex(lock.m_hMutex);
    return status;
}

int DemoProgramLock() {
    char self[MAX_PATH] = {0};
    if (GetModuleFileNameA(NULL, self, MAX_PATH) == 0) {
        std::fprintf(stderr, "xwth demo: cannot find the program's own file\n");
        return 1;
    }
    // One name per demo process, so that two demos do not meet.
    const std::string name = "XWTH-demo-" + std::to_string(GetCurrentProcessId());
    char lockWord[] = "lock", dashes[] = "--", dateWord[] = "date", formatWord[] = "format",
         moment[] = "@1700000000", picture[] = "yyyy-MM-dd";
    std::string nameArg = name;
    char* child[] = {self, lockWord, nameArg.data(), dashes, self, dateWord, formatWord, moment, picture, nullptr};
    const std::string command = "xwth lock " + name + " -- xwth date format @1700000000 yyyy-MM-dd";

    CProgramLock holder;
    if (!holder.Lock(name.c_str(), false, false) || !holder.OwnsLock()) {
        std::fprintf(stderr, "xwth demo: cannot take the program lock %s (error %lu)\n", name.c_str(),
                     (unsigned long)GetLastError());
        return 1;
    }
    std::printf("program lock %s, held by this process:\n  %s\n", name.c_str(), command.c_str());
    std::fflush(stdout);
    const int refused = RunCommand(child);
    std::printf("  status %d (%s)\n", refused, refused == kLockHeld ? "refused: the first instance runs" : "not refused");
    holder.Unlock();
    std::printf("released:\n  %s\n", command.c_str());
    std::fflush(stdout);
    const int ran = RunCommand(child);
    std::printf("  status %d (%s)\n", ran, ran == 0 ? "ran" : "did not run");
    return refused == kLockHeld && ran == 0 ? 0 : 1;
}

}  // namespace xwth_tool
