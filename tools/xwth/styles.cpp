// The "styles" command. The module is registered under module id 2, the id
// the library prefers for style strings, and each ID is read all three ways;
// a reading that does not apply prints "-".
#include "styles.h"

#include <xwth/xwth.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace xwth_tool {
namespace {

void PrintStylesUsage(FILE* out) {
    std::fputs(
        "usage: xwth styles MODULE.dll ID...\n"
        "\n"
        "Registers the resource module with the library's resource manager as\n"
        "its style module and prints each style string ID as the library reads\n"
        "it, one line per ID, tab-separated:\n"
        "  ID  colour 0x02BBGGRR (R, G, B) | -\n"
        "      font \"FACE\" height H weight W italic I | -\n"
        "      flag N\n"
        "H is the logical height at the screen's resolution (negative: the\n"
        "character height in pixels).\n",
        out);
}

}  // namespace

int RunStyles(int argc, char** argv) {
    const char* module = nullptr;
    std::vector<UINT> ids;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            PrintStylesUsage(stdout);
            return 0;
        }
        if (module == nullptr) {
            module = arg;
            continue;
        }
        char* end = nullptr;
        const unsigned long id = std::strtoul(arg, &end, 10);
        if (*arg < '0' || *arg > '9' || *end != '\0' || id > 0xFFFF) {
            std::fprintf(stderr, "xwth styles: '%s' is no string ID (0 to 65535)\n\n", arg);
            PrintStylesUsage(stderr);
            return 2;
        }
        ids.push_back(static_cast<UINT>(id));
    }
    if (module == nullptr || ids.empty()) {
        PrintStylesUsage(stderr);
        return 2;
    }
    CResourceManager& manager = GetResourceManager();
    if (!manager.RegisterResourceModule(CString(module), 2)) {
        std::fprintf(stderr, "xwth styles: cannot load %s (error %lu)\n", module,
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    for (UINT id : ids) {
        std::printf("%u\t", id);
        const COLORREF colour = manager.GetStyleColor(id, CLR_INVALID);
        if (colour == CLR_INVALID) {
            std::printf("colour -\t");
        } else {
            std::printf("colour 0x%08lX (%u, %u, %u)\t", static_cast<unsigned long>(colour), GetRValue(colour),
                        GetGValue(colour), GetBValue(colour));
        }
        CFont* font = manager.GetStyleFont(id, NULL);
        LOGFONTA lf{};
        if (font == NULL || font->GetLogFont(&lf) == 0) {
            std::printf("font -\t");
        } else {
            std::printf("font \"%s\" height %ld weight %ld italic %u\t", lf.lfFaceName, static_cast<long>(lf.lfHeight),
                        static_cast<long>(lf.lfWeight), static_cast<unsigned>(lf.lfItalic));
        }
        std::printf("flag %d\n", manager.GetStyleFlag(id));
    }
    return 0;
}

}  // namespace xwth_tool
