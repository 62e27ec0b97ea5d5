// TQLog: exact lines through the sink, the file's line layout, CLogHelper brackets.
#include <windows.h>

#include <errno.h>
#include <stdlib.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "TQLog.h"
#include "support/testutil.h"

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

// Points $TQLOG_FILE at path (NULL or "": no file) for one scope.
struct LogFileScope {
    explicit LogFileScope(const char* path) { Set(path); }
    ~LogFileScope() { Set(NULL); }
    static void Set(const char* path) {
#ifdef _WIN32
        _putenv_s("TQLOG_FILE", path != NULL ? path : "");
#else
        path != NULL ? setenv("TQLOG_FILE", path, 1) : unsetenv("TQLOG_FILE");
#endif
    }
};

// Collects the sink's lines for one scope.
struct SinkScope {
    explicit SinkScope(TQLogSinkProc proc = &Collect) { TQLogSetSink(proc, &lines); }
    ~SinkScope() { TQLogSetSink(NULL, NULL); }
    static void Collect(void* context, const char* category, const char* text) {
        static_cast<Lines*>(context)->emplace_back(category, text);
    }
    Lines lines;
};

// A log file in its own folder, named by $TQLOG_FILE for the scope.
struct LogFile {
    xwth_test::TempDir dir;
    const std::string path = dir.file("log.txt");
    LogFileScope scope{path.c_str()};

    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        std::istringstream in(xwth_test::ReadFileBytes(path));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
};

}  // namespace

TEST(LogTest, SinkReceivesCategoryAndFormattedText) {
    SinkScope sink;
    const std::string longText(10000, 'q');
    Log("Fax", "sent %d pages to %s", 3, "Ann");
    Log("Mime", "%s|", longText.c_str());
    Log(NULL, "%s", "");
    EXPECT_EQ(sink.lines, (Lines{{"Fax", "sent 3 pages to Ann"}, {"Mime", longText + "|"}, {"", ""}}));

    Lines inner;
    EXPECT_EQ(TQLogSetSink(&SinkScope::Collect, &inner), &SinkScope::Collect);
    Log("A", "one");
    EXPECT_EQ(TQLogSetSink(NULL, NULL), &SinkScope::Collect);
    Log("A", "two");
    EXPECT_EQ(inner, (Lines{{"A", "one"}}));
}

TEST(LogTest, FileGetsOneTabSeparatedLinePerCall) {
    LogFile file;
    xwth_test::WriteFileBytes(file.path, "earlier\n");
    const std::string text = std::string(5000, 'x') + " end";
    Log("Fax", "%s", text.c_str());
    Log("Cat\tX", "a\nb\tc\r\n");  // the file keeps one line, the fields their tabs

    const std::vector<std::string> lines = file.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier");
    const std::regex layout(
        R"(\d{4}-(0[1-9]|1[0-2])-[0-3]\d [0-2]\d:[0-5]\d:[0-5]\d\.\d{3}\t(\d+)\t(\d+)\t([^\t]*)\t([^\t]*))");
    const std::pair<std::string, std::string> want[] = {{"Fax", text}, {"Cat X", "a b c  "}};
    for (size_t i = 0; i < 2; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i + 1], m, layout)) << "line " << i;
        EXPECT_EQ(m[2].str(), std::to_string(GetCurrentProcessId())) << "line " << i;
        EXPECT_EQ(m[3].str(), std::to_string(GetCurrentThreadId())) << "line " << i;
        EXPECT_EQ(m[4].str(), want[i].first) << "line " << i;
        EXPECT_EQ(m[5].str(), want[i].second) << "line " << i;
    }
}

TEST(LogTest, WritesNoFileWhenTqlogFileIsUnsetOrEmpty) {
    xwth_test::TempDir dir;
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const char* value : {(const char*)NULL, ""}) {
        LogFileScope file(value);
        Log("Fax", "nowhere");
    }
    std::filesystem::current_path(saved);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Neither a file that cannot be written nor a throwing sink reaches the caller.
TEST(LogTest, FailuresStayInsideLog) {
    {
        xwth_test::TempDir dir;
        LogFileScope file(dir.file("missing/log.txt").c_str());
        SetLastError(0xdeadbeef);
        errno = ERANGE;
        Log("Fax", "cannot be written");
        EXPECT_EQ(GetLastError(), 0xdeadbeefu);
        EXPECT_EQ(errno, ERANGE);
    }
    LogFile file;
    SinkScope sink([](void*, const char*, const char*) { throw std::runtime_error("sink"); });
    struct LogsOnUnwind {
        ~LogsOnUnwind() { Log("Fax", "unwinding"); }
    };
    EXPECT_THROW({ LogsOnUnwind l; throw 7; }, int);  // a second exception would terminate
    EXPECT_NO_THROW(Log("Fax", "plain"));
    EXPECT_EQ(file.Lines().size(), 2u);  // the file still gets its lines
}

TEST(LogTest, SinkMayLogItself) {
    SinkScope sink([](void* context, const char* category, const char* text) {
        SinkScope::Collect(context, category, text);
        if (static_cast<Lines*>(context)->size() == 1) Log("Inner", "from the sink");
    });
    Log("Outer", "first");
    EXPECT_EQ(sink.lines, (Lines{{"Outer", "first"}, {"Inner", "from the sink"}}));
}

// Every file line whole, and the sink (which does not lock) called one line at a time.
TEST(LogTest, ConcurrentCallsKeepLinesWhole) {
    LogFile file;
    SinkScope sink;
    const std::string filler(3000, 'f');
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&filler] {
            for (int i = 0; i < 50; ++i) Log("Thread", "%s", filler.c_str());
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(sink.lines.size(), 200u);
    const std::vector<std::string> lines = file.Lines();
    ASSERT_EQ(lines.size(), 200u);
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(lines[i].rfind('\t') + 1), filler) << "line " << i;
}

TEST(LogHelperTest, BracketsSayHowTheWorkEnded) {
    struct Case {
        bool trace;
        std::vector<bool> setGood;
        bool thrown;
        const char* exitLine;  // NULL: no lines at all
    };
    const Case cases[] = {
        {true, {true}, false, "<- Work good"},       {true, {}, false, "<- Work bad"},
        {true, {true, false}, false, "<- Work bad"}, {true, {}, true, "<- Work bad"},
        {true, {true}, true, "<- Work good"},        {false, {true}, true, NULL},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SinkScope sink;
        try {
            CLogHelper helper("Helper", "Work", cases[i].trace);
            for (bool good : cases[i].setGood) helper.SetGood(good);
            if (cases[i].thrown) throw std::runtime_error("fails");
        } catch (const std::runtime_error&) {
        }
        const Lines want =
            cases[i].exitLine == NULL ? Lines{} : Lines{{"Helper", "-> Work"}, {"Helper", cases[i].exitLine}};
        EXPECT_EQ(sink.lines, want) << "case " << i;
    }
}

// The names are copied and cut to the helper's fields: the temporaries die first.
TEST(LogHelperTest, CopiesAndCutsItsNames) {
    SinkScope sink;
    { CLogHelper helper(std::string(40, 'c').c_str(), std::string(200, 'f').c_str(), true); }
    const std::string category(31, 'c'), function(127, 'f');
    EXPECT_EQ(sink.lines, (Lines{{category, "-> " + function}, {category, "<- " + function + " bad"}}));
}
