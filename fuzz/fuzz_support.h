// What the file-level fuzz targets share: a scratch folder of this process
// for the input file, writing the input there, and a check that stops the run.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace xwth_fuzz {

// A path named `name` in a folder made once per process and removed with
// everything in it when the process exits.
inline std::string ScratchPath(const char* name) {
    // Never destroyed, so the exit handler still finds it.
    static const std::filesystem::path* const dir = [] {
        auto* made = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                               ("xwth-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*made);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return made;
    }();
    return (*dir / name).string();
}

// Writes the fuzzer's input to `path`; false when the file cannot be written.
inline bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL) {
        return false;
    }
    const bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

inline void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

}  // namespace xwth_fuzz
