// CChangeCurDir: the destructor restores the folder the constructor remembered.
#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "TQTH.h"
#include "support/testutil.h"

namespace fs = std::filesystem;

namespace {

// Each test starts inside its own temporary folder's "start" and leaves the
// process where it was, even when an expectation fails.
class ChangeCurDirTest : public ::testing::Test {
protected:
    ChangeCurDirTest() : m_saved(fs::current_path()) {
        fs::create_directory(dir.file("start"));
        fs::create_directory(dir.file("other"));
        fs::current_path(dir.file("start"));
    }
    ~ChangeCurDirTest() override { fs::current_path(m_saved); }

    bool IsCurrent(const char* name) const { return fs::equivalent(fs::current_path(), dir.file(name)); }

    xwth_test::TempDir dir;

private:
    fs::path m_saved;
};

}  // namespace

TEST_F(ChangeCurDirTest, RestoresAfterChangeEvenWhenALaterChangeFails) {
    {
        CChangeCurDir guard;
        EXPECT_NE(guard.Change(dir.file("other").c_str()), 0);
        EXPECT_TRUE(IsCurrent("other"));
        SetLastError(0xdeadbeef);
        EXPECT_EQ(guard.Change(dir.file("missing").c_str()), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        SetLastError(0xdeadbeef);
    }
    EXPECT_EQ(GetLastError(), 0xdeadbeefu);  // the restoring destructor keeps the caller's error
    EXPECT_TRUE(IsCurrent("start"));
}

// Failed Changes change nothing; whatever moved the process meanwhile is
// undone all the same.
TEST_F(ChangeCurDirTest, RestoresWhateverMovedTheProcess) {
    {
        CChangeCurDir guard;
        for (const char* bad : {(const char*)NULL, ""}) {
            SetLastError(0xdeadbeef);
            EXPECT_EQ(guard.Change(bad), 0);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        }
        EXPECT_EQ(guard.Change(dir.file("missing").c_str()), 0);
        EXPECT_TRUE(IsCurrent("start"));
        fs::current_path(dir.file("other"));
    }
    EXPECT_TRUE(IsCurrent("start"));
}

// A copy, constructed or assigned, takes over the folder to restore.
TEST_F(ChangeCurDirTest, CopiesCarryTheFolder) {
    CChangeCurDir unchanged;
    {
        CChangeCurDir guard;
        ASSERT_NE(guard.Change(dir.file("other").c_str()), 0);
        { CChangeCurDir copy(guard); }
        EXPECT_TRUE(IsCurrent("start"));
        fs::current_path(dir.file("other"));
        unchanged = guard;
    }
    EXPECT_TRUE(IsCurrent("start"));
    fs::current_path(dir.file("other"));
    {
        CChangeCurDir assigned;
        fs::current_path(dir.file("other"));
        assigned = unchanged;
    }
    EXPECT_TRUE(IsCurrent("start"));
}
