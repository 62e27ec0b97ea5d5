// The xwth lock command: a second instance refuses or runs after the first,
// as its options say.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/testutil.h"

namespace {

// Polls until the file holds at least n lines; false after a minute.
bool AwaitLines(const std::string& path, std::size_t n) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (;;) {
        const std::string text = xwth_test::ReadFileBytes(path);
        if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= n) return true;
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TEST(XwthLockTest, SecondInstanceRefusesOrWaitsItsTurn) {
    const char* bin = std::getenv("XWTH_TEST_BIN");
    ASSERT_NE(bin, nullptr);
    const std::string xwth = "'" + std::string(bin) + "/xwth' lock L ";
    xwth_test::TempDir dir;
    xwth_test::ScopedEnv lockDir("XWTH_LOCK_DIR", dir.file("locks").c_str());
    const std::string log = dir.file("log"), go = dir.file("go");
    auto writes = [&](const char* word) { return "echo " + std::string(word) + " >> '" + log + "'"; };

    // The first holds the lock until the test creates "go".
    const std::string first = xwth + "-- sh -c \"" + writes("first") + "; while [ ! -e '" + go +
                              "' ]; do sleep 0.01; done; " + writes("first-end") + "\" &";
    ASSERT_EQ(std::system(first.c_str()), 0);
    ASSERT_TRUE(AwaitLines(log, 1));
    const int refused = std::system((xwth + "-- sh -c \"" + writes("refused") + "\" 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(refused), 75);
    ASSERT_EQ(std::system((xwth + "--wait -- sh -c \"" + writes("second") + "\" &").c_str()), 0);
    xwth_test::WriteFileBytes(go, "");
    ASSERT_TRUE(AwaitLines(log, 3));
    EXPECT_EQ(xwth_test::ReadFileBytes(log), "first\nfirst-end\nsecond\n");
}

}  // namespace
