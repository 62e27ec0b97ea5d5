// The "desc" command: dump, get and set the fields of a fax description file.
#include "desc.h"

#include <xwth/faxdesc.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace xwth_tool {
namespace {

void PrintDescUsage(FILE* out) {
    std::fputs(
        "usage: xwth desc dump FILE\n"
        "       xwth desc get FILE NAME [INDEX]\n"
        "       xwth desc set FILE NAME VALUE [INDEX]\n"
        "\n"
        "Shows and edits a fax description file (a \"TQFM\" file of name:value lines).\n"
        "  dump  prints every field as name:value, in the file's order\n"
        "  get   prints the value of one field; exits with 1 when there is none\n"
        "  set   sets one field (added at the end when new) and writes the file;\n"
        "        a missing file is created\n"
        "With INDEX (0 or more) the field's name is NAME followed by the index, as\n"
        "in Page3 for NAME Page and INDEX 3.\n",
        out);
}

const char* LoadError(int rc) {
    return rc == -3 ? "is not a fax description file (no TQFM header)" : "cannot be opened";
}

bool ParseIndex(const char* text, int& index) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < 0 || value > 999999999) {
        std::fprintf(stderr, "xwth desc: '%s' is not an index (0 or more)\n", text);
        return false;
    }
    index = static_cast<int>(value);
    return true;
}

bool Exists(const char* file) {
    std::FILE* f = std::fopen(file, "rb");
    if (f != nullptr) {
        std::fclose(f);
    }
    return f != nullptr || errno != ENOENT;
}

bool HasField(CFaxDesc& desc, const std::string& key) {
    CStringArray names;
    desc.GetFieldNames(names);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        if (key == (LPCSTR)names[i]) {
            return true;
        }
    }
    return false;
}

}  // namespace

int RunDesc(int argc, char** argv) {
    if (argc >= 1 && (std::strcmp(argv[0], "-h") == 0 || std::strcmp(argv[0], "--help") == 0)) {
        PrintDescUsage(stdout);
        return 0;
    }
    const std::string verb = argc >= 1 ? argv[0] : "";
    const bool known = (verb == "dump" && argc == 2) || (verb == "get" && (argc == 3 || argc == 4)) ||
                       (verb == "set" && (argc == 4 || argc == 5));
    if (!known) {
        PrintDescUsage(stderr);
        return 2;
    }
    const char* file = argv[1];
    int index = -1;
    const int indexArg = verb == "get" ? 3 : 4;
    if (argc > indexArg && !ParseIndex(argv[indexArg], index)) {
        return 2;
    }

    CFaxDesc desc;
    const int rc = desc.LoadFrom(file);
    if (verb == "dump" || verb == "get") {
        if (rc != 0) {
            std::fprintf(stderr, "xwth desc: %s %s\n", file, LoadError(rc));
            return 1;
        }
        if (verb == "dump") {
            CStringArray names;
            desc.GetFieldNames(names);
            for (INT_PTR i = 0; i < names.GetSize(); ++i) {
                std::printf("%s:%s\n", (LPCSTR)names[i], (LPCSTR)desc.GetFieldValue(names[i], -1));
            }
            return 0;
        }
        const char* name = argv[2];
        const std::string key = index < 0 ? std::string(name) : name + std::to_string(index);
        if (!HasField(desc, key)) {
            std::fprintf(stderr, "xwth desc: %s has no field %s\n", file, key.c_str());
            return 1;
        }
        std::printf("%s\n", (LPCSTR)desc.GetFieldValue(name, index));
        return 0;
    }

    // set: a file that is there must be a description file; one that is not
    // is made.
    if (rc == -3 || (rc == -2 && Exists(file))) {
        std::fprintf(stderr, "xwth desc: %s %s; not changed\n", file, LoadError(rc));
        return 1;
    }
    desc.SetFieldValue(argv[2], argv[3], index);
    if (desc.StoreTo(file) != 0) {
        std::fprintf(stderr, "xwth desc: %s cannot be written\n", file);
        return 1;
    }
    return 0;
}

}  // namespace xwth_tool
