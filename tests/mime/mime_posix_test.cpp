// The MIME writer against other processes: a writer in another process
// holds the mailbox, and Python's mailbox module reads what was written.
#include <xwth/mime.h>

#include <signal.h>
#include <stdio.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "mime/mime_support.h"

// Every fsync(2) of the process passes here and is counted.
static std::atomic<int> g_fsyncs{0};
extern "C" __attribute__((visibility("default"))) int fsync(int fd) noexcept {
    g_fsyncs.fetch_add(1);
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

using mime_test::FillSample;
using mime_test::LogCapture;
using mime_test::MakeFileTime;
using mime_test::Zone;
using xwth_test::ReadFileBytes;
using xwth_test::TempDir;
using xwth_test::WriteFileBytes;

TEST(MIMEMessagePosixTest, AWriterInAnotherProcessRefusesTheAppend) {
    TempDir dir;
    const std::string box = dir.file("box");
    WriteFileBytes(box, "mail one\r\n");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CFile holder(box.c_str(), CFile::modeWrite | CFile::shareDenyNone);
        (void)!write(ready[1], "1", 1);
        pause();  // held until the parent ends this process
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    CMIMEMessage msg;
    msg.GetHeader().AddSubject("s");
    {
        LogCapture log;
        EXPECT_FALSE(msg.SaveToFile(box.c_str(), true));
        EXPECT_EQ(log.lines, std::vector<std::string>{"XWTH|CException* in CMIMEMessage::SaveToFile"});
    }
    EXPECT_EQ(ReadFileBytes(box), "mail one\r\n");
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);
    // The kernel let go of the dead writer's claim.
    EXPECT_TRUE(msg.SaveToFile(box.c_str(), true));
}

// A mailbox holds mail that exists nowhere else: every append, also the one
// that creates the mailbox, is on the disk when SaveToFile returns.
TEST(MIMEMessagePosixTest, AnAppendIsFlushedBeforeItReturns) {
    struct Case { bool exists, append; int fsyncs; };
    const Case cases[] = {{false, true, 1}, {true, true, 1}, {true, false, 0}, {false, false, 0}};
    TempDir dir;
    CMIMEMessage msg;
    msg.GetHeader().AddSubject("s");
    for (const Case& c : cases) {
        const std::string path = dir.file("box");
        std::remove(path.c_str());
        if (c.exists) WriteFileBytes(path, "mail one\r\n");
        const int before = g_fsyncs.load();
        EXPECT_TRUE(msg.SaveToFile(path.c_str(), c.append));
        EXPECT_EQ(g_fsyncs.load() - before, c.fsyncs) << c.exists << c.append;
    }
}

// Runs python3 on the script with one argument; its standard output, or
// nothing when python3 cannot be started.
std::string RunPython(const std::string& script, const std::string& arg, int& status) {
    const std::string command = "python3 -c '" + script + "' '" + arg + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

TEST(MIMEMessagePosixTest, PythonMailboxReadsEveryAppendedMessage) {
    if (system("python3 -c 'import mailbox' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 with its mailbox module is not available";
    }
    Zone zone("GMT0");
    TempDir dir;
    const std::string box = dir.file("inbox.mbox");
    for (int i = 0; i < 3; ++i) {
        CMIMEMessage msg;
        FILETIME ft = MakeFileTime(2024, 3, static_cast<WORD>(10 + i), 8, 30, 0);
        CMIMEHeader& header = msg.GetHeader();
        header.AddFrom("ann@example.org", ft);
        header.AddDateField(ft);
        header.AddSender("Ann Example", "ann@example.org");
        CStringArray to;
        to.Add("bob@example.org");
        to.Add("cy@example.org");
        header.AddRecipients(to);
        header.AddSubject(CString("Report ") + static_cast<char>('A' + i));
        header.AddMIMEVersion();
        header.AddContentType(NULL);
        msg.GetBody().SetPlainText(i == 1 ? "" : "Line one\r\nLine two\r\n");
        ASSERT_TRUE(msg.SaveToFile(box.c_str(), true)) << i;
    }
    const char* const script =
        "import mailbox, sys\n"
        "for m in mailbox.mbox(sys.argv[1]):\n"
        "    body = m.get_payload().replace(\"\\r\\n\", \"|\")\n"
        "    print(m.get_from().rstrip(\"\\r\"), \"/\", m[\"Subject\"], \"/\", \" \".join(m[\"To\"].split()), \"/\",\n"
        "          m.get_content_charset(), \"/\", m[\"Reply-To\"], \"/\", body)\n";
    int status = -1;
    const std::string out = RunPython(script, box, status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out,
              "ann@example.org Sun Mar 10 08:30:00 2024 -0000 / Report A / bob@example.org, cy@example.org / "
              "windows-1252 / <ann@example.org> / Line one|Line two||\n"
              "ann@example.org Mon Mar 11 08:30:00 2024 -0000 / Report B / bob@example.org, cy@example.org / "
              "windows-1252 / <ann@example.org> / |\n"
              "ann@example.org Tue Mar 12 08:30:00 2024 -0000 / Report C / bob@example.org, cy@example.org / "
              "windows-1252 / <ann@example.org> / Line one|Line two|\n");
}

}  // namespace
