// The spool under load: several processes at once, and a spool with every
// folder number taken. POSIX only (fork, a million files).
#include <xwth/faxmessage.h>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "msgstore/spool_fixture.h"

using msgstore_test::SpoolTest;

namespace {

class SpoolLoadTest : public SpoolTest {};

// Each child creates and destroys 200 messages. It stamps every message with
// its own pid and a counter and reads the stamp back before destroying the
// message, so two processes sharing a folder would see each other's stamp.
int CreateAndDestroy(const std::string& source, int rounds) {
    char stamp[64];
    for (int round = 0; round < rounds; ++round) {
        CFaxMessage message;
        if (!message.GetUseFaxCoverPage()) {
            return 10;  // no folder
        }
        snprintf(stamp, sizeof(stamp), "%d-%d", (int)getpid(), round);
        if (!message.SetProp(1, CString(stamp))) {
            return 11;
        }
        message.AddFaxAttachment(source.c_str(), 1, 1, 0, stamp);
        if (message.GetProp(1) != CString(stamp)) {
            return 12;  // somebody else wrote into this folder
        }
        if (!message.Delete()) {
            return 13;
        }
    }
    return 0;
}

TEST_F(SpoolLoadTest, FourProcessesNeverShareAFolder) {
    TQLogSetSink(NULL, NULL);
    const std::string source = MakeSource("page.tif", "page");
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            _exit(CreateAndDestroy(source, 200));
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_TRUE(SpoolEntries().empty());
}

TEST_F(SpoolLoadTest, EveryNumberTakenEndsTheSearch) {
    // A taken name need not be a folder: empty files take 999999 names at
    // a fraction of the disk that as many folders would need.
    for (int n = 0; n < 999999; ++n) {
        char path[64];
        snprintf(path, sizeof(path), "%s/FM%06d", m_spool.c_str(), n);
        const int fd = open(path, O_CREAT | O_EXCL | O_WRONLY, 0600);
        ASSERT_GE(fd, 0) << path;
        close(fd);
    }
    {
        CFaxMessage message;
        EXPECT_FALSE(message.GetUseFaxCoverPage());
        const auto log = TakeLog();
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[2], "CFaxMessage::Init: Max number of dirs reached: 999999");
    }
    // Free one in the middle: it is the one claimed.
    ASSERT_EQ(unlink((m_spool + "/FM512345").c_str()), 0);
    {
        CFaxMessage message;
        EXPECT_TRUE(message.GetUseFaxCoverPage());
        message.AddFaxAttachment(MakeSource("a.tif", "x").c_str(), 1, 1, 0, "x");
        EXPECT_EQ(std::string((LPCSTR)message.GetAttachmentFileName(1)), LibPath("FM512345\\FD000001.tif"));
    }
    for (int n = 0; n < 999999; ++n) {
        char path[64];
        snprintf(path, sizeof(path), "%s/FM%06d", m_spool.c_str(), n);
        unlink(path);
    }
}

}  // namespace
