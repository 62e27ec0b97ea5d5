// TQLog with a log file that could block: a FIFO without a reader. POSIX only.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "TQLog.h"
#include "support/testutil.h"

namespace {

void CountLines(void* context, const char*, const char* text) {
    *static_cast<int*>(context) += strcmp(text, "through") == 0;
}

// A child logs with $TQLOG_FILE naming a FIFO that nobody reads; an alarm
// ends it if a call hangs. Each line still reaches the sink.
TEST(LogFileTest, AFifoWithoutReaderNeverBlocksLogging) {
    xwth_test::TempDir dir;
    const std::string fifo = dir.file("log.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(20);
        setenv("TQLOG_FILE", fifo.c_str(), 1);
        int seen = 0;
        TQLogSetSink(&CountLines, &seen);
        for (int i = 0; i < 3; ++i) {
            Log("TEST", "%s", "through");
        }
        _exit(seen == 3 ? 0 : 1);
    }
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
