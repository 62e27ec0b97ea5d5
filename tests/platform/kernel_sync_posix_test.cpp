// Named mutexes on POSIX: where their lock files live, what a fork shares,
// and what a killed process leaves.
#include <windows.h>

#include <filesystem>
#include <set>
#include <string>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "kernel_test_support.h"

namespace {

namespace fs = std::filesystem;

class SyncPosixTest : public ::testing::Test {
protected:
    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_lockDir{"XWTH_LOCK_DIR", m_dir.path().c_str()};
};

TEST_F(SyncPosixTest, EveryNameStaysInItsDirectory) {
    const std::string names[] = {
        "a/b", "a%2Fb", "a_b", "..", ".", "../../escape", "/etc/passwd", "A", "a", "",
        std::string("bin\x01\x7f\xff\xfe/..", 10), std::string(259, 'x'), std::string(258, 'x') + "y",
        std::string(86, '/') + "z", "Global\\..", "Global\\../../escape",
    };
    std::vector<HANDLE> handles;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (names[i].empty()) continue;  // "" makes an unnamed mutex
        const auto r = WITH_LAST_ERROR(CreateMutexA(NULL, FALSE, names[i].c_str()));
        ASSERT_NE(r.value, nullptr) << "case " << i;
        EXPECT_EQ(r.error, 0u) << "case " << i << ": distinct names never share a mutex";
        handles.push_back(r.value);
    }
    // One regular file per name, each directly in its namespace's folder.
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m_dir.path())) {
        const std::string parent = entry.path().parent_path().filename().string();
        if (entry.is_directory()) {
            EXPECT_TRUE(entry.path().parent_path() == fs::path(m_dir.path())) << entry.path();
            continue;
        }
        EXPECT_TRUE(entry.is_regular_file() && (parent == "session" || parent == "global")) << entry.path();
        EXPECT_LE(entry.path().filename().string().size(), 255u) << entry.path();
        files.insert(entry.path().string());
    }
    EXPECT_EQ(files.size(), handles.size());
    struct stat st {};
    ASSERT_EQ(::stat((m_dir.path() + "/session").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat((m_dir.path() + "/global").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 01777u);
    for (HANDLE h : handles) CloseHandle(h);
    // The last close of a mutex removes its file.
    EXPECT_TRUE(fs::is_empty(m_dir.path() + "/session"));
}

// Runs body in a forked child and returns its exit status (the number of
// failed checks, or 100+ for a crash).
template <class Body>
int InChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST_F(SyncPosixTest, ForkedChildSharesNothingButTheName) {
    const HANDLE h = CreateMutexA(NULL, TRUE, "forked");
    ASSERT_NE(h, nullptr);
    const int failures = InChild([h] {
        int bad = 0;
        bad += WaitForSingleObject(h, 0) != WAIT_FAILED;  // inherited handles are dead
        const HANDLE mine = CreateMutexA(NULL, FALSE, "forked");
        bad += GetLastError() != ERROR_ALREADY_EXISTS;
        bad += WaitForSingleObject(mine, 0) != WAIT_TIMEOUT;  // the parent's thread owns it
        CloseHandle(mine);
        return bad;
    });
    EXPECT_EQ(failures, 0);
    // The child's exit left the parent's ownership and the mutex alone.
    EXPECT_EQ(InChild([] { return WaitForSingleObject(OpenMutexA(SYNCHRONIZE, FALSE, "forked"), 0) != WAIT_TIMEOUT; }),
              0);
    EXPECT_TRUE(ReleaseMutex(h));
    EXPECT_TRUE(CloseHandle(h));
}

// A child that takes the mutex and is killed: with the parent holding a
// handle the mutex is abandoned; with nobody left it is gone.
TEST_F(SyncPosixTest, KilledOwnerLeavesItAbandonedOrGone) {
    for (const bool parentHolds : {true, false}) {
        const char* name = parentHolds ? "killed-held" : "killed-alone";
        const HANDLE mine = parentHolds ? CreateMutexA(NULL, FALSE, name) : NULL;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const HANDLE h = CreateMutexA(NULL, TRUE, name);
            if (parentHolds) WaitForSingleObject(h, INFINITE);
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        if (parentHolds) {
            EXPECT_EQ(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        if (parentHolds) {
            EXPECT_EQ(WaitForSingleObject(mine, INFINITE), static_cast<DWORD>(WAIT_ABANDONED));
            EXPECT_TRUE(ReleaseMutex(mine));
            CloseHandle(mine);
        } else {
            EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, name), nullptr);
            const HANDLE fresh = CreateMutexA(NULL, FALSE, name);
            EXPECT_EQ(GetLastError(), 0u);
            EXPECT_EQ(WaitForSingleObject(fresh, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "a new mutex, not abandoned";
            ReleaseMutex(fresh);
            CloseHandle(fresh);
        }
    }
}

}  // namespace
