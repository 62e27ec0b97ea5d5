// Message store costs against the bare file operations they stand on:
//   message construction with N folders in the spool  vs  one mkdir per number from 0
//   GetProp on a 50-key props.ini                     vs  one open-read-close of that file
//   SetProp on a 50-key props.ini                     vs  writing a file of that size and renaming it
//   SetProp of the value a key already has            vs  one open-read-close of that file
// Exits non-zero when a target is missed.
#include <xwth/faxmessage.h>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "baseline_reporter.h"

namespace fs = std::filesystem;

namespace {

// A private spool and WIN.INI under the temporary folder, for the whole run.
class BenchSpool {
public:
    BenchSpool() {
        m_root = fs::temp_directory_path() / ("xwth-bench-" + std::to_string(getpid()));
        fs::create_directories(m_root / "spool");
        setenv("XWTH_WININI", (m_root / "win.ini").c_str(), 1);
        setenv("XWTH_CONFIG", (m_root / "config.ini").c_str(), 1);
        WriteProfileStringA("Zelvo Fax Setup,FAX", "Spool Directory", spool().c_str());
    }
    ~BenchSpool() { fs::remove_all(m_root); }
    [[nodiscard]] std::string spool() const { return (m_root / "spool").string(); }
    [[nodiscard]] std::string root() const { return m_root.string(); }

    // Exactly `count` folders FM000000.. present.
    void Fill(int count) {
        for (int n = 0;; ++n) {
            char path[64];
            snprintf(path, sizeof(path), "/FM%06d", n);
            const std::string full = spool() + path;
            if (n < count) {
                mkdir(full.c_str(), 0700);
            } else if (rmdir(full.c_str()) != 0) {
                break;
            }
        }
    }

private:
    fs::path m_root;
};

BenchSpool& Spool() {
    static BenchSpool spool;
    return spool;
}

void BM_MessageConstruction(benchmark::State& state) {
    Spool().Fill(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* message = new CFaxMessage;
        state.PauseTiming();
        delete message;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MessageConstruction)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What the construction would cost done literally: one creation attempt per
// number from 0 until one succeeds.
void BM_LiteralFolderLoop(benchmark::State& state) {
    Spool().Fill(static_cast<int>(state.range(0)));
    const std::string spool = Spool().spool();
    char path[512];
    for (auto _ : state) {
        for (int n = 0; n < 999999; ++n) {
            snprintf(path, sizeof(path), "%s/FM%06d", spool.c_str(), n);
            if (mkdir(path, 0777) == 0 || errno != EEXIST) {
                break;
            }
        }
        state.PauseTiming();
        rmdir(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LiteralFolderLoop)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A message with 50 properties, alone in the spool.
struct PropsMessage {
    PropsMessage() : message((Spool().Fill(0), new CFaxMessage)) {
        for (UINT id = 100; id < 150; ++id) {
            message->SetProp(id, CString("a property value of some typical length"));
        }
    }
    std::unique_ptr<CFaxMessage> message;
};

std::string PropsFile() {
    return Spool().spool() + "/FM000000/props.ini";
}

void BM_GetProp(benchmark::State& state) {
    PropsMessage props;
    for (auto _ : state) {
        benchmark::DoNotOptimize(props.message->GetProp(125));
    }
}
BENCHMARK(BM_GetProp);

void BM_OpenReadClose(benchmark::State& state) {
    PropsMessage props;
    const std::string file = PropsFile();
    char buf[8192];
    for (auto _ : state) {
        const int fd = open(file.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(read(fd, buf, sizeof(buf)));
        close(fd);
    }
}
BENCHMARK(BM_OpenReadClose);

// Two values in turn, so that every call really rewrites the file.
void BM_SetProp(benchmark::State& state) {
    PropsMessage props;
    const CString values[2] = {CString("another value of a similar length, here"),
                               CString("yet another value of similar length, too")};
    int turn = 0;
    for (auto _ : state) {
        props.message->SetProp(125, values[turn]);
        turn ^= 1;
    }
}
BENCHMARK(BM_SetProp);

// The same value again: the engine finds the file already says so and
// writes nothing (a read under the writers' lock).
void BM_SetPropUnchanged(benchmark::State& state) {
    PropsMessage props;
    const CString value("a property value of some typical length");
    for (auto _ : state) {
        props.message->SetProp(125, value);
    }
}
BENCHMARK(BM_SetPropUnchanged);

void BM_WriteTempAndRename(benchmark::State& state) {
    PropsMessage props;
    const std::string file = PropsFile();
    const std::string temp = file + ".tmp";
    const std::string bytes(static_cast<size_t>(fs::file_size(file)), 'x');
    for (auto _ : state) {
        const int fd = open(temp.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
        close(fd);
        rename(temp.c_str(), file.c_str());
    }
}
BENCHMARK(BM_WriteTempAndRename);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Spool();
    xwth_bench::BaselineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = xwth_bench::ReportTargets(
        reporter, {
                      {"BM_MessageConstruction/10000", "BM_LiteralFolderLoop/10000", 0.1},
                      {"BM_GetProp", "BM_OpenReadClose", 2.0},
                      {"BM_SetProp", "BM_WriteTempAndRename", 2.0},
                      {"BM_SetPropUnchanged", "BM_OpenReadClose", 4.0},
                  });
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
