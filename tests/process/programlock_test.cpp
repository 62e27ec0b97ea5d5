// Program lock: the first instance across processes, a killed one, the
// global namespace, a waiting lock, the mutex names, and copies.
#include <windows.h>
#include <afxwin.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <xwth/process.h>

#include "child_process.h"
#include "support/wine.h"

namespace {

using xwth_test::Await;
using xwth_test::ChildProcess;
using xwth_test::Report;

// The body of every child: XWTH_CHILD_ROLE says what it does, as the
// application XWTH_CHILD_NAME. Not run unless asked for.
TEST(ProgramLockChild, DISABLED_Run) {
    const char* role = std::getenv(xwth_test::kChildRole);
    if (role == nullptr) GTEST_SKIP() << "only run as a child";
    const std::string name = std::getenv(xwth_test::kChildName);
    const std::string dir = std::getenv(xwth_test::kChildDir);
    const std::string tag = std::getenv(xwth_test::kChildTag);
    CWinApp app(name.c_str());
    const std::string r = role;
    ZUZA_ProgramLock lock;  // held until the parent says exit
    if (r == "hold") {  // the application's lock, then without it
        auto held = std::make_unique<CProgramLock>(true);
        Report(dir, tag, "owns", held->OwnsLock() ? "1" : "0");
        Await(dir, tag, "release");
        held.reset();
        Report(dir, tag, "released", "1");
    } else if (r == "global") {
        Report(dir, tag, "owns", lock.Lock(NULL, true, false) && lock.OwnsLock() ? "1" : "0");
    } else if (r == "wait") {  // a waiting lock on the mutex named like the application
        Report(dir, tag, "waiting", "1");
        Report(dir, tag, "owns", lock.Lock(name.c_str(), false, true) && lock.OwnsLock() ? "1" : "0");
    }
    Await(dir, tag, "exit");
}

class ProgramLockTest : public ::testing::Test {
protected:
    std::string AppName() const {
        return std::string("lock-") + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void Tell(const char* tag, const char* key) { Report(m_dir.path(), tag, key, "1"); }
    std::string Ask(const char* tag, const char* key) { return Await(m_dir.path(), tag, key); }

    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_lockDir{"XWTH_LOCK_DIR", m_dir.file("locks").c_str()};
};

TEST_F(ProgramLockTest, FirstInstanceOwnsUntilDestroyedOrKilled) {
    const std::string app = AppName();
    ChildProcess first("hold", app, m_dir.path(), "first");
    EXPECT_EQ(Ask("first", "owns"), "1");
    ChildProcess second("hold", app, m_dir.path(), "second");
    EXPECT_EQ(Ask("second", "owns"), "0");
    {
        CWinApp self(app.c_str());
        CProgramLock here(true);
        EXPECT_FALSE(here.OwnsLock());
        EXPECT_TRUE(here.IsLockedElsewhere());
    }
    Tell("first", "release");
    EXPECT_EQ(Ask("first", "released"), "1");
    ChildProcess third("hold", app, m_dir.path(), "third");
    EXPECT_EQ(Ask("third", "owns"), "1");
    third.Kill();
    third.Wait();
    ChildProcess fourth("hold", app, m_dir.path(), "fourth");
    EXPECT_EQ(Ask("fourth", "owns"), "1") << "a killed first instance leaves the name free";
    for (const char* tag : {"first", "second", "fourth"}) {
        Tell(tag, "release");
        Tell(tag, "exit");
    }
}

TEST_F(ProgramLockTest, GlobalNameIsSeenByAnotherProcess) {
    const std::string app = AppName();
    ChildProcess child("global", app, m_dir.path(), "g");
    ASSERT_EQ(Ask("g", "owns"), "1");
    const HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, ("Global\\G_" + app).c_str());
    EXPECT_NE(h, nullptr);
    CloseHandle(h);
    ZUZA_ProgramLock lock;
    EXPECT_FALSE(lock.Lock(app.c_str(), true, false));
    EXPECT_TRUE(lock.IsLockedElsewhere());
    Tell("g", "exit");
}

// A waits and so owns the mutex until it exits; B's waiting Lock returns
// only then, owning it in turn (abandoned by A).
TEST_F(ProgramLockTest, WaitingLockWaitsForAnOwnerThatExits) {
    const std::string name = AppName();
    const HANDLE mine = CreateMutexA(NULL, FALSE, name.c_str());
    ASSERT_NE(mine, nullptr);
    ChildProcess a("wait", name, m_dir.path(), "a");
    ASSERT_EQ(Ask("a", "owns"), "1");
    ChildProcess b("wait", name, m_dir.path(), "b");
    ASSERT_EQ(Ask("b", "waiting"), "1");
    EXPECT_EQ(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "A owns it";
    EXPECT_FALSE(xwth_test::FileExists(m_dir.file("b.owns"))) << "B cannot be past its wait while A lives";
    Tell("a", "exit");
    a.Wait();
    EXPECT_EQ(Ask("b", "owns"), "1");
    EXPECT_EQ(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "B owns it now";
    Tell("b", "exit");
    b.Wait();
    EXPECT_EQ(WaitForSingleObject(mine, INFINITE), static_cast<DWORD>(WAIT_ABANDONED));
    ReleaseMutex(mine);
    CloseHandle(mine);
}

TEST_F(ProgramLockTest, MutexNameFromArgumentApplicationOrDefault) {
    const std::string app = AppName();
    const std::string longName(300, 'n');
    struct Case {
        const char* appName;  // NULL: no application object
        const char* name;
        bool global;
        std::string mutex;  // what Lock opens or creates; empty: nothing
    };
    const Case cases[] = {
        {app.c_str(), NULL, false, app},
        {app.c_str(), "X-lock", false, "X-lock"},
        {app.c_str(), "", true, "Global\\G_" + app},
        {NULL, NULL, false, "TQProgLock"},
        {app.c_str(), longName.c_str(), false, std::string(255, 'n')},
        {app.c_str(), longName.c_str(), true, "Global\\G_" + std::string(246, 'n')},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::unique_ptr<CWinApp> pApp(c.appName != NULL ? new CWinApp(c.appName) : nullptr);
        ZUZA_ProgramLock lock;
        EXPECT_TRUE(lock.Lock(c.name, c.global, false)) << "case " << i;
        EXPECT_TRUE(lock.OwnsLock()) << "case " << i;
        const HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, c.mutex.c_str());
        EXPECT_NE(h, nullptr) << "case " << i;
        CloseHandle(h);
        lock.Unlock();
        EXPECT_TRUE(lock.IsLockedElsewhere()) << "case " << i;
    }
    // A name the kernel takes for a path counts as success, holding nothing.
    ZUZA_ProgramLock odd;
    EXPECT_TRUE(odd.Lock("no\\such\\namespace", false, false));
    EXPECT_FALSE(odd.OwnsLock());
    // No argument: nothing is tried, nothing made.
    CWinApp self(app.c_str());
    CProgramLock idle;
    EXPECT_FALSE(idle.OwnsLock());
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, app.c_str()), nullptr);
}

// Copies hold their own handles: destroying both closes each once, and the
// mutex lives while either holds it.
TEST_F(ProgramLockTest, CopiesHoldTheirOwnHandle) {
    const std::string name = AppName();
    auto original = std::make_unique<CProgramLock>();
    ASSERT_TRUE(original->Lock(name.c_str(), false, false));
    CProgramLock copy(*original);
    CProgramLock assigned;
    assigned = copy;
    assigned = assigned;
    EXPECT_TRUE(copy.OwnsLock());
    EXPECT_TRUE(assigned.OwnsLock());
    EXPECT_NE(copy.m_hMutex, original->m_hMutex);
    EXPECT_NE(assigned.m_hMutex, copy.m_hMutex);
    original.reset();
    copy.Unlock();
    ZUZA_ProgramLock other;
    EXPECT_FALSE(other.Lock(name.c_str(), false, false)) << "still held through the assigned copy";
    assigned = CProgramLock();
    EXPECT_FALSE(assigned.OwnsLock());
    EXPECT_TRUE(other.Lock(name.c_str(), false, false)) << "the last holder is gone";
}

}  // namespace
