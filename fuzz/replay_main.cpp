// Runs a fuzz target over the files of its corpus folders (or single files)
// without libFuzzer, so that the ordinary build compiles every target and
// its test replays the seeds.
#include <stddef.h>
#include <stdint.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    replayed += Replay(entry.path());
                }
            }
        } else {
            replayed += Replay(arg);
        }
    }
    std::printf("%d input(s) replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
