// Fuzzes the profile functions through real files: any file content must
// read without fault, and a write followed by a read must give back exactly
// what was written, whatever else the file holds. Every run goes through the
// file system (a few hundred runs a second); ini_fuzz covers the INI core
// itself in memory, far faster.
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "fuzz_support.h"

using xwth_fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = xwth_fuzz::ScratchPath("fuzz.ini");
    if (!xwth_fuzz::WriteInput(file, data, size)) {
        return 0;
    }

    // Every section and every key of it, through each read form.
    static char sections[65536], keys[65536], value[4096];
    const DWORD nSections = GetPrivateProfileSectionNamesA(sections, sizeof(sections), file.c_str());
    Check(nSections < sizeof(sections));
    for (const char* s = sections; *s != '\0'; s += strlen(s) + 1) {
        const DWORD nKeys = GetPrivateProfileStringA(s, NULL, "", keys, sizeof(keys), file.c_str());
        Check(nKeys < sizeof(keys));
        for (const char* k = keys; *k != '\0'; k += strlen(k) + 1) {
            const DWORD n = GetPrivateProfileStringA(s, k, "", value, sizeof(value), file.c_str());
            // The count excludes the terminator; a NUL inside the file's value
            // ends the value there.
            Check(n < sizeof(value) && strlen(value) == n);
            (void)GetPrivateProfileIntA(s, k, 0, file.c_str());
        }
        (void)GetPrivateProfileSectionA(s, keys, sizeof(keys), file.c_str());
    }

    // A write is read back as written; a delete leaves nothing behind.
    Check(WritePrivateProfileStringA("fuzz section", "fuzz key", "fuzz value", file.c_str()) != FALSE);
    GetPrivateProfileStringA("fuzz section", "fuzz key", "", value, sizeof(value), file.c_str());
    Check(strcmp(value, "fuzz value") == 0);
    Check(WritePrivateProfileStringA("fuzz section", "fuzz key", NULL, file.c_str()) != FALSE);
    GetPrivateProfileStringA("fuzz section", "fuzz key", "gone", value, sizeof(value), file.c_str());
    Check(strcmp(value, "gone") == 0);
    return 0;
}
