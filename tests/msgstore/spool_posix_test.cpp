// The spool under load: several processes at once, and a spool with every
// folder number taken. POSIX only (fork, a million names).
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

// A taken name need not be a folder: empty files take the 999999 names at a
// fraction of the cost of as many folders, and in memory (/dev/shm) where
// the system has it, since a disk makes a million creations take minutes.
class FullSpool {
public:
    FullSpool() {
        char shm[] = "/dev/shm/xwth-full-spool-XXXXXX";
        char tmp[] = "/tmp/xwth-full-spool-XXXXXX";
        const char* dir = mkdtemp(shm);
        m_path = dir != NULL ? dir : mkdtemp(tmp);
        for (int n = 0; n < 999999; ++n) {
            const int fd = open(Name(n).c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
            if (fd < 0) {
                ADD_FAILURE() << Name(n);
                return;
            }
            close(fd);
        }
    }
    ~FullSpool() {
        for (int n = 0; n < 999999; ++n) {
            if (unlink(Name(n).c_str()) != 0) {
                rmdir(Name(n).c_str());
            }
        }
        rmdir(m_path.c_str());
    }
    [[nodiscard]] std::string Name(int n) const {
        char name[16];
        snprintf(name, sizeof(name), "/FM%06d", n);
        return m_path + name;
    }
    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

TEST_F(SpoolLoadTest, EveryNumberTakenEndsTheSearch) {
    FullSpool spool;
    SetSpool(spool.path());
    TakeLog();
    {
        CFaxMessage message;
        EXPECT_FALSE(message.GetUseFaxCoverPage());
        EXPECT_EQ(TakeLog(), (std::vector<std::string>{"CFaxMessage::CFaxMessage: Create empty FaxMessage",
                                                       "CFaxMessage::Init: Initialize message",
                                                       "CFaxMessage::Init: Max number of dirs reached: 999999"}));
    }
    // Free one in the middle: it is the one claimed.
    ASSERT_EQ(unlink(spool.Name(512345).c_str()), 0);
    CFaxMessage message;
    EXPECT_TRUE(message.GetUseFaxCoverPage());
    struct stat st;
    EXPECT_EQ(stat(spool.Name(512345).c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

}  // namespace
