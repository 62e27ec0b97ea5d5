// MIME writer costs against the bare file operations and against GMime 3
// writing the same message (10 header fields, a 4 KiB body):
//   SaveToFile to a new file            vs  raw create-write-close of the same bytes   (1.2x)
//   SaveToFile appending (fsync)        vs  raw append write + fsync                   (1.1x)
//   SaveToFile appending without fsync  vs  GMime appending without fsync              (GMime 5x slower)
// and the write(2) calls each makes per message, counted by interposing write.
// A bare append's time against GMime's is shown beside them, for reference.
// Exits non-zero when a target is missed.
#include <xwth/mime.h>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <gmime/gmime.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "baseline_reporter.h"

namespace fs = std::filesystem;

// Every write(2) of the process, the library's and GMime's alike, passes here.
static std::atomic<unsigned long> g_writes{0};
extern "C" __attribute__((visibility("default"))) ssize_t write(int fd, const void* buf, size_t count) noexcept {
    g_writes.fetch_add(1, std::memory_order_relaxed);
    return syscall(SYS_write, fd, buf, count);
}

// And every fsync(2), which the benchmarks without fsync turn into nothing.
static std::atomic<bool> g_skipFsync{false};
extern "C" __attribute__((visibility("default"))) int fsync(int fd) noexcept {
    return g_skipFsync.load(std::memory_order_relaxed) ? 0 : static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

const std::string kBody = [] {
    std::string body;
    while (body.size() < 4096) body += "A line of the message body, as a letter has them, of some 60 bytes.\r\n";
    body.resize(4096);
    return body;
}();

class BenchFolder {
public:
    BenchFolder() {
        m_root = fs::temp_directory_path() / ("xwth-mime-bench-" + std::to_string(getpid()));
        fs::create_directories(m_root);
    }
    ~BenchFolder() { fs::remove_all(m_root); }
    [[nodiscard]] std::string file(const char* name) const { return (m_root / name).string(); }

private:
    fs::path m_root;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

FILETIME SampleTime() {
    const ULONGLONG ticks = (1700000000ULL + 11644473600ULL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

// Ten fields: separator, Date, the three reply fields, From, To, Subject,
// MIME-Version, Content-type.
void Fill(CMIMEMessage& msg) {
    FILETIME ft = SampleTime();
    CMIMEHeader& h = msg.GetHeader();
    h.AddFrom("ann@example.org", ft);
    h.AddDateField(ft);
    h.AddSender("Ann Example", "ann@example.org");
    CStringArray to;
    to.Add("bob@example.org");
    to.Add("cy@example.org");
    h.AddRecipients(to);
    h.AddSubject("Quarterly figures");
    h.AddMIMEVersion();
    h.AddContentType(NULL);
    msg.GetBody().SetPlainText(kBody.c_str());
}

const CMIMEMessage& Sample() {
    static CMIMEMessage* const msg = [] {
        auto* m = new CMIMEMessage();
        Fill(*m);
        return m;
    }();
    return *msg;
}

// The bytes SaveToFile writes for the sample, for the raw baselines.
const std::string& SampleBytes() {
    static const std::string bytes = [] {
        const std::string path = Folder().file("sample.eml");
        Sample().SaveToFile(path.c_str(), false);
        std::string out;
        FILE* f = std::fopen(path.c_str(), "rb");
        char buf[8192];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
        return out;
    }();
    return bytes;
}

void CountWrites(benchmark::State& state, unsigned long before) {
    state.counters["writes/msg"] =
        static_cast<double>(g_writes.load() - before) / static_cast<double>(state.iterations());
}

void BM_SaveToNewFile(benchmark::State& state) {
    const std::string path = Folder().file("new.eml");
    const unsigned long before = g_writes.load();
    for (auto _ : state) {
        if (!Sample().SaveToFile(path.c_str(), false)) state.SkipWithError("SaveToFile failed");
    }
    CountWrites(state, before);
}
BENCHMARK(BM_SaveToNewFile);

void BM_RawCreateWriteClose(benchmark::State& state) {
    const std::string path = Folder().file("raw.eml");
    const std::string& bytes = SampleBytes();
    const unsigned long before = g_writes.load();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
        close(fd);
    }
    CountWrites(state, before);
}
BENCHMARK(BM_RawCreateWriteClose);

// The mailbox grows through the run; each benchmark starts its own.
void BM_SaveToFileAppend(benchmark::State& state) {
    const std::string path = Folder().file("append.mbox");
    std::remove(path.c_str());
    const unsigned long before = g_writes.load();
    for (auto _ : state) {
        if (!Sample().SaveToFile(path.c_str(), true)) state.SkipWithError("SaveToFile failed");
    }
    CountWrites(state, before);
}
BENCHMARK(BM_SaveToFileAppend)->UseRealTime();

void BM_RawAppendFsync(benchmark::State& state) {
    const std::string path = Folder().file("raw.mbox");
    std::remove(path.c_str());
    const std::string bytes = "\r\n" + SampleBytes();
    const unsigned long before = g_writes.load();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_APPEND | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
        fsync(fd);
        close(fd);
    }
    CountWrites(state, before);
}
BENCHMARK(BM_RawAppendFsync)->UseRealTime();

// SaveToFile appending, with its fsync skipped.
void BM_AppendNoFsync(benchmark::State& state) {
    const std::string path = Folder().file("nofsync.mbox");
    std::remove(path.c_str());
    const unsigned long before = g_writes.load();
    g_skipFsync = true;
    for (auto _ : state) {
        if (!Sample().SaveToFile(path.c_str(), true)) state.SkipWithError("SaveToFile failed");
    }
    g_skipFsync = false;
    CountWrites(state, before);
}
BENCHMARK(BM_AppendNoFsync);

// The floor under any append: the same bytes with one open, one write and
// one close, nothing checked and nobody else's open refused.
void BM_RawAppendNoFsync(benchmark::State& state) {
    const std::string path = Folder().file("raw-nofsync.mbox");
    std::remove(path.c_str());
    const std::string bytes = "\r\n" + SampleBytes();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_APPEND | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
        close(fd);
    }
}
BENCHMARK(BM_RawAppendNoFsync);

// GMime's message of the same fields and body, built once; each iteration
// appends the separator line and the message to the mailbox, as a mailbox
// writer with GMime does.
GMimeMessage* GMimeSample() {
    static GMimeMessage* const message = [] {
        g_mime_init();
        GMimeMessage* m = g_mime_message_new(FALSE);
        GMimeObject* obj = GMIME_OBJECT(m);
        g_mime_object_append_header(obj, "Date", "Tue Nov 14 22:13:20 2023 -0000", NULL);
        g_mime_object_append_header(obj, "Return-Path", "<ann@example.org>", NULL);
        g_mime_object_append_header(obj, "Errors-To", "<ann@example.org>", NULL);
        g_mime_object_append_header(obj, "Reply-To", "<ann@example.org>", NULL);
        g_mime_object_append_header(obj, "From", "Ann Example <ann@example.org>", NULL);
        g_mime_object_append_header(obj, "To", "bob@example.org,\r\n cy@example.org", NULL);
        g_mime_object_append_header(obj, "Subject", "Quarterly figures", NULL);
        GMimeTextPart* part = g_mime_text_part_new_with_subtype("plain");
        g_mime_text_part_set_charset(part, "Windows-1252");
        GMimeStream* body = g_mime_stream_mem_new_with_buffer(kBody.data(), kBody.size());
        GMimeDataWrapper* content = g_mime_data_wrapper_new_with_stream(body, GMIME_CONTENT_ENCODING_DEFAULT);
        g_mime_part_set_content(GMIME_PART(part), content);
        g_object_unref(content);
        g_object_unref(body);
        g_mime_message_set_mime_part(m, GMIME_OBJECT(part));
        g_object_unref(part);
        return m;
    }();
    return message;
}

void BM_GMimeAppendNoFsync(benchmark::State& state) {
    const std::string path = Folder().file("gmime.mbox");
    std::remove(path.c_str());
    GMimeMessage* message = GMimeSample();
    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
    static const char separator[] = "\r\nFrom ann@example.org Tue Nov 14 22:13:20 2023 -0000\r\n";
    const unsigned long before = g_writes.load();
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_APPEND | O_CLOEXEC, 0666);
        GMimeStream* stream = g_mime_stream_fs_new(fd);
        g_mime_stream_write(stream, separator, sizeof separator - 1);
        g_mime_object_write_to_stream(GMIME_OBJECT(message), options, stream);
        g_object_unref(stream);  // closes fd; no flush, which would fsync
    }
    CountWrites(state, before);
    g_mime_format_options_free(options);
}
BENCHMARK(BM_GMimeAppendNoFsync);

}  // namespace

int main(int argc, char** argv) {
    // The times with a disk in them swing from run to run: by default each
    // benchmark runs nine times, its repetitions shuffled among the others',
    // so a subject and its baseline meet the same disk. Flags given win.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=9";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    Folder();
    SampleBytes();
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = xwth_bench::ReportTargets(reporter, {
                                                               {"BM_SaveToNewFile", "BM_RawCreateWriteClose", 1.2},
                                                               {"BM_SaveToFileAppend/real_time", "BM_RawAppendFsync/real_time", 1.1},
                                                               {"BM_AppendNoFsync", "BM_GMimeAppendNoFsync", 0.2},
                                                               {"BM_RawAppendNoFsync", "BM_GMimeAppendNoFsync", 0},
                                                           });
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
