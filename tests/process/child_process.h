// Child processes for the cross-process tests: the test program runs itself
// with one disabled test as the child's body, and parent and child talk
// through small files in a shared folder ("<tag>.<key>").
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/testutil.h"

#if !defined(_WIN32)
#  include <fcntl.h>
#  include <signal.h>
#  include <spawn.h>
#  include <sys/wait.h>
#  include <unistd.h>
extern char** environ;
#endif

namespace xwth_test {

// The child's environment: what it does and where it reports.
inline constexpr const char* kChildRole = "XWTH_CHILD_ROLE";
inline constexpr const char* kChildName = "XWTH_CHILD_NAME";
inline constexpr const char* kChildDir = "XWTH_CHILD_DIR";
inline constexpr const char* kChildTag = "XWTH_CHILD_TAG";

// Creates <dir>/<tag>.<key> holding value, whole or not at all.
inline void Report(const std::string& dir, const std::string& tag, const std::string& key, const std::string& value) {
    const std::string path = dir + "/" + tag + "." + key;
    WriteFileBytes(path + ".tmp", value);
    std::filesystem::rename(path + ".tmp", path);
}

// The content of <dir>/<tag>.<key> once it exists; "(none)" if it never
// comes (a minute: a hung child fails the test instead of hanging it).
inline std::string Await(const std::string& dir, const std::string& tag, const std::string& key) {
    const std::string path = dir + "/" + tag + "." + key;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    // Every report holds text; an empty read is a file still being renamed
    // into place (Windows may refuse to open it for that moment).
    for (;;) {
        if (FileExists(path)) {
            std::string text = ReadFileBytes(path);
            if (!text.empty()) return text;
        }
        if (std::chrono::steady_clock::now() > giveUp) return "(none)";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

class ChildProcess {
public:
    // Runs this test program as a child with the given role.
    ChildProcess(const char* role, const std::string& name, const std::string& dir, const std::string& tag) {
        ScopedEnv r(kChildRole, role), n(kChildName, name.c_str()), d(kChildDir, dir.c_str()), t(kChildTag, tag.c_str());
        std::string filter = "--gtest_filter=ProgramLockChild.DISABLED_Run";
        std::string disabled = "--gtest_also_run_disabled_tests";
#if defined(_WIN32)
        char exe[MAX_PATH];
        GetModuleFileNameA(NULL, exe, MAX_PATH);
        std::string cmd = std::string("\"") + exe + "\" " + filter + " " + disabled;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        m_ok = CreateProcessA(exe, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
#else
        std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
        char* argv[] = {exe.data(), filter.data(), disabled.data(), nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        m_ok = posix_spawn(&m_pid, exe.c_str(), &quiet, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&quiet);
#endif
        EXPECT_TRUE(m_ok) << "starting child " << tag;
    }
    ~ChildProcess() {
        Kill();
        Wait();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // SIGKILL, or TerminateProcess on Windows: no clean-up in the child.
    void Kill() {
        if (!m_ok) return;
#if defined(_WIN32)
        TerminateProcess(m_pi.hProcess, 9);
#else
        ::kill(m_pid, SIGKILL);
#endif
    }
    void Wait() {
        if (!m_ok) return;
        m_ok = false;
#if defined(_WIN32)
        WaitForSingleObject(m_pi.hProcess, INFINITE);
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
#else
        ::waitpid(m_pid, nullptr, 0);
#endif
    }

private:
    bool m_ok = false;
#if defined(_WIN32)
    PROCESS_INFORMATION m_pi = {};
#else
    pid_t m_pid = -1;
#endif
};

}  // namespace xwth_test
