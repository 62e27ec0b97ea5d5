// Fuzzes the fax image queries: any file gives a page count and a
// resolution answer without fault, and the library's two queries agree with
// the imaging calls they are made of.
#include <xwth/faxfile.h>

#include <TQImaging.h>

#include <stdint.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string& FuzzFile() {
    static const std::string path = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("xwth-tiff-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        static std::filesystem::path made = dir;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(made, ec);
        });
        return (dir / "in.tif").string();
    }();
    return path;
}

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& file = FuzzFile();
    FILE* f = fopen(file.c_str(), "wb");
    if (f == NULL) {
        return 0;
    }
    fwrite(data, 1, size, f);
    fclose(f);

    int count = 0, x = -1, y = -1;
    bool resolved = false;
    void* handle = TQIOpenFile(file.c_str());
    if (handle != NULL) {
        TQIGetPageCount(handle, count);
        Check(count >= 0);
        resolved = TQIGetPageResolution(handle, 0, x, y) != 0;
        Check(!resolved || (x >= 0 && y >= 0));
        int lastX = -1, lastY = -1;
        if (count > 1 && TQIGetPageResolution(handle, count - 1, lastX, lastY) != 0) {
            Check(lastX >= 0 && lastY >= 0);
        }
        Check(TQIGetPageResolution(handle, count, lastX, lastY) == 0);
        TQICloseFile(handle);
    }
    Check(GetFaxFileNumOfPages(file.c_str()) == count);
    Check(IsFaxFileResolutionHi(file.c_str()) == (resolved && static_cast<uint16_t>(y) >= 196));
    return 0;
}
