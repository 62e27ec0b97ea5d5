// The "fax-info" command: pages and resolution of fax image files.
#include "fax_info.h"

#include <xwth/faxfile.h>

#include <TQImaging.h>

#include <cstdio>
#include <cstring>

namespace xwth_tool {
namespace {

void PrintFaxInfoUsage(FILE* out) {
    std::fputs(
        "usage: xwth fax-info FILE...\n"
        "\n"
        "Prints the number of pages of each fax image file (TIFF), whether it is in\n"
        "fine resolution (196 lines per inch or more on the first page) and the\n"
        "resolution of each page in dots per inch. Exits with 1 when a file cannot\n"
        "be read as a fax image; the other files are still shown.\n",
        out);
}

}  // namespace

int RunFaxInfo(int argc, char** argv) {
    if (argc == 0) {
        PrintFaxInfoUsage(stderr);
        return 2;
    }
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            PrintFaxInfoUsage(stdout);
            return 0;
        }
    }
    int status = 0;
    for (int i = 0; i < argc; ++i) {
        const char* file = argv[i];
        const int pages = GetFaxFileNumOfPages(file);
        if (pages <= 0) {
            std::fprintf(stderr, "xwth fax-info: %s: cannot be read as a fax image file\n", file);
            status = 1;
            continue;
        }
        std::printf("%s: %d page(s), %s resolution\n", file, pages,
                    IsFaxFileResolutionHi(file) ? "fine" : "normal");
        void* handle = TQIOpenFile(file);
        for (int page = 0; handle != nullptr && page < pages; ++page) {
            int x = 0, y = 0;
            if (TQIGetPageResolution(handle, page, x, y) != 0) {
                std::printf("  page %d: %d x %d dpi\n", page + 1, x, y);
            } else {
                std::printf("  page %d: resolution unknown\n", page + 1);
            }
        }
        TQICloseFile(handle);
    }
    return status;
}

}  // namespace xwth_tool
