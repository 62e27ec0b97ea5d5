// Fuzzes the fax description reader: any file loads without fault into a
// table of equal-length arrays, and a table whose lines the format can carry
// comes back unchanged from a store and a load.
#include <xwth/faxdesc.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string& FuzzFolder() {
    static const std::string path = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("xwth-faxdesc-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        static std::filesystem::path made = dir;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(made, ec);
        });
        return dir.string();
    }();
    return path;
}

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// Loaded names and values hold no line feed and names no colon; a line of
// more than 510 characters or a value ending in CR would not load back alike.
bool Carried(CFaxDesc& desc, const CStringArray& names) {
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        const CString value = desc.GetFieldValue(names[i], -1);
        if (names[i].GetLength() + 1 + value.GetLength() > 510 ||
            (!value.IsEmpty() && value[value.GetLength() - 1] == '\r')) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file = FuzzFolder() + "/in.tqfm";
    const std::string copy = FuzzFolder() + "/out.tqfm";
    FILE* f = fopen(file.c_str(), "wb");
    if (f == NULL) {
        return 0;
    }
    fwrite(data, 1, size, f);
    fclose(f);

    CFaxDesc desc;
    desc.SetFieldValue("Before", "load", -1);
    const int rc = desc.LoadFrom(file.c_str());
    Check(rc == 0 || rc == -3);
    CStringArray names;
    desc.GetFieldNames(names);
    if (rc == -3) {
        Check(names.GetSize() == 1 && desc.GetFieldValue("Before", -1) == "load");
        return 0;
    }
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        Check(names[i].Find(':') < 0);
        for (INT_PTR j = 0; j < i; ++j) {
            Check(names[i] != names[j]);
        }
    }
    if (!Carried(desc, names)) {
        return 0;
    }
    Check(desc.StoreTo(copy.c_str()) == 0);
    CFaxDesc again;
    Check(again.LoadFrom(copy.c_str()) == 0);
    CStringArray namesAgain;
    again.GetFieldNames(namesAgain);
    Check(namesAgain.GetSize() == names.GetSize());
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        Check(namesAgain[i] == names[i]);
        Check(again.GetFieldValue(names[i], -1) == desc.GetFieldValue(names[i], -1));
    }
    return 0;
}
