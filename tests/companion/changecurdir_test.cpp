// CChangeCurDir: restores the remembered folder exactly when one of its Changes succeeded.
#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "TQTH.h"
#include "support/testutil.h"

namespace fs = std::filesystem;

namespace {

// Each test starts inside its own temporary folder and leaves the process
// where it was, even when an expectation fails (before the folder is removed).
class ChangeCurDirTest : public ::testing::Test {
protected:
    ChangeCurDirTest() : m_saved(fs::current_path()) {
        fs::create_directory(dir.file("start"));
        fs::create_directory(dir.file("other"));
        fs::current_path(dir.file("start"));
    }
    ~ChangeCurDirTest() override { fs::current_path(m_saved); }

    static bool IsCurrent(const std::string& path) { return fs::equivalent(fs::current_path(), path); }

    xwth_test::TempDir dir;

private:
    fs::path m_saved;
};

}  // namespace

TEST_F(ChangeCurDirTest, RestoresAfterChangeEvenWhenALaterChangeFails) {
    {
        CChangeCurDir guard;
        EXPECT_NE(guard.Change(dir.file("other").c_str()), 0);
        EXPECT_TRUE(IsCurrent(dir.file("other")));
        SetLastError(0xdeadbeef);
        EXPECT_EQ(guard.Change(dir.file("missing").c_str()), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        SetLastError(0xdeadbeef);
    }
    EXPECT_EQ(GetLastError(), 0xdeadbeefu);  // the restoring destructor keeps the caller's error
    EXPECT_TRUE(IsCurrent(dir.file("start")));
}

// A guard whose Change never succeeded leaves alone what others made current.
TEST_F(ChangeCurDirTest, FailedChangesRestoreNothing) {
    const char* const bad[] = {NULL, ""};
    for (size_t i = 0; i < std::size(bad); ++i) {
        {
            CChangeCurDir guard;
            SetLastError(0xdeadbeef);
            EXPECT_EQ(guard.Change(bad[i]), 0) << "case " << i;
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "case " << i;
            EXPECT_EQ(guard.Change(dir.file("missing").c_str()), 0) << "case " << i;
            fs::current_path(dir.file("other"));
        }
        EXPECT_TRUE(IsCurrent(dir.file("other"))) << "case " << i;
        fs::current_path(dir.file("start"));
    }
}

TEST_F(ChangeCurDirTest, CopiesCarryTheFolderAndTheDuty) {
    CChangeCurDir unchanged;
    {
        CChangeCurDir guard;
        ASSERT_NE(guard.Change(dir.file("other").c_str()), 0);
        {
            CChangeCurDir copy(guard);
        }
        EXPECT_TRUE(IsCurrent(dir.file("start")));
        fs::current_path(dir.file("other"));
        unchanged = guard;
    }
    EXPECT_TRUE(IsCurrent(dir.file("start")));
    fs::current_path(dir.file("other"));
    {
        CChangeCurDir assigned;
        assigned = unchanged;
    }
    EXPECT_TRUE(IsCurrent(dir.file("start")));
}
