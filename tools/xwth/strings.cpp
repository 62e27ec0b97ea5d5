// The "strings" command. Modules are registered in the order given, the
// first under module id 1, the second under 2 and so on, so the last one is
// searched first and --prefer N prefers the N-th.
#include "strings.h"

#include <xwth/xwth.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace xwth_tool {
namespace {

void PrintStringsUsage(FILE* out) {
    std::fputs(
        "usage: xwth strings MODULE.dll [MODULE.dll ...] ID... [--prefer N]\n"
        "                    [--subst FROM=TO ...] [--app-name NAME]\n"
        "\n"
        "Registers the resource modules (PE DLLs or EXEs) with the library's\n"
        "resource manager, the N-th under module id N, and prints each string ID\n"
        "as the library loads it: from the module preferred with --prefer when it\n"
        "has the string, else from the last module given that has it, with every\n"
        "substitution applied. --subst adds a substitution (FROM read as TO,\n"
        "case-sensitive); --app-name makes the maker's name \"Corvantis\" read as\n"
        "NAME. One line per ID: the ID, a tab, the text (empty when no module has\n"
        "it).\n",
        out);
}

bool IsNumber(const char* s) {
    if (*s == '\0') {
        return false;
    }
    for (; *s != '\0'; ++s) {
        if (*s < '0' || *s > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

int RunStrings(int argc, char** argv) {
    std::vector<const char*> modules;
    std::vector<UINT> ids;
    std::vector<std::pair<std::string, std::string>> substs;
    const char* appName = nullptr;
    unsigned long prefer = 0;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            PrintStringsUsage(stdout);
            return 0;
        } else if (std::strcmp(arg, "--prefer") == 0 && hasValue && IsNumber(argv[i + 1])) {
            prefer = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::strcmp(arg, "--subst") == 0 && hasValue && std::strchr(argv[i + 1], '=') != nullptr) {
            const std::string pair = argv[++i];
            const std::size_t eq = pair.find('=');
            substs.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
        } else if (std::strcmp(arg, "--app-name") == 0 && hasValue) {
            appName = argv[++i];
        } else if (arg[0] == '-') {
            std::fprintf(stderr, "xwth strings: bad option '%s'\n\n", arg);
            PrintStringsUsage(stderr);
            return 2;
        } else if (IsNumber(arg) && !modules.empty()) {
            const unsigned long id = std::strtoul(arg, nullptr, 10);
            if (id > 0xFFFF) {
                std::fprintf(stderr, "xwth strings: string ID %s is larger than 65535\n", arg);
                return 2;
            }
            ids.push_back(static_cast<UINT>(id));
        } else if (ids.empty()) {
            modules.push_back(arg);
        } else {
            std::fprintf(stderr, "xwth strings: module '%s' given after the string IDs\n\n", arg);
            PrintStringsUsage(stderr);
            return 2;
        }
    }
    if (modules.empty() || ids.empty() || prefer > modules.size()) {
        PrintStringsUsage(stderr);
        return 2;
    }

    CResourceManager& manager = GetResourceManager();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (!manager.RegisterResourceModule(CString(modules[i]), static_cast<WORD>(i + 1))) {
            std::fprintf(stderr, "xwth strings: cannot load %s (error %lu)\n", modules[i],
                         static_cast<unsigned long>(GetLastError()));
            return 1;
        }
    }
    for (const auto& [from, to] : substs) {
        manager.AddStringSubstitution(CString(from.c_str()), CString(to.c_str()));
    }
    if (appName != nullptr) {
        manager.EnableAppNameSubstitute(1, CString(appName));
    }
    for (UINT id : ids) {
        const CString text = manager.LoadString(id, static_cast<WORD>(prefer));
        std::printf("%u\t%s\n", id, static_cast<const char*>(text));
    }
    return 0;
}

}  // namespace xwth_tool
