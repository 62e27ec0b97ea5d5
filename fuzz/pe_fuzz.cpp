// Fuzzes the PE module loader and the resource calls: any file must either
// be refused (error 193) or load, and then every lookup must answer without
// reading outside the file, looping or crashing; what LoadStringA writes
// stays inside the buffer and is terminated, and a bitmap or icon that
// loads is a real object that can be freed.
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "fuzz_support.h"

namespace {

using xwth_fuzz::Check;

// Touches every byte of a found resource, so that a pointer or size that
// reaches outside the file shows up under the sanitizer.
unsigned ReadAll(HMODULE module, HRSRC found) {
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    const DWORD size = SizeofResource(module, found);
    Check(data != NULL || size == 0);
    unsigned sum = 0;
    for (DWORD i = 0; data != NULL && i < size; ++i) {
        sum += data[i];
    }
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = xwth_fuzz::ScratchPath("fuzz.dll");
    if (!xwth_fuzz::WriteInput(file, data, size)) {
        return 0;
    }

    SetLastError(0);
    HMODULE module = LoadLibraryA(file.c_str());
    if (module == NULL) {
        Check(GetLastError() == ERROR_BAD_EXE_FORMAT);
        return 0;
    }
    static char buffer[1024];
    static const UINT ids[] = {0, 1, 2, 3, 4, 15, 16, 17, 100, 200, 300, 500, 0xFFFF};
    for (UINT id : ids) {
        memset(buffer, 0x55, sizeof buffer);
        const int n = LoadStringA(module, id, buffer, 64);
        Check(n >= 0 && n < 64 && buffer[n] == '\0' && buffer[64] == 0x55);
    }
    static const LPCSTR types[] = {RT_BITMAP, RT_ICON, RT_GROUP_ICON, RT_STRING, RT_RCDATA, "CUSTOM"};
    static const LPCSTR names[] = {MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(7), MAKEINTRESOURCEA(42), "MYDATA",
                                   "SHARED", "APP", "#13"};
    unsigned sum = 0;
    for (LPCSTR type : types) {
        for (LPCSTR name : names) {
            if (HRSRC found = FindResourceA(module, name, type)) {
                sum += ReadAll(module, found);
            }
        }
    }
    (void)sum;
    for (LPCSTR name : names) {
        if (HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
            BITMAP info;
            Check(GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmWidth > 0 && info.bmHeight > 0);
            Check(DeleteObject(bitmap) != FALSE);
        }
        // Stretched, and with the colour table rewritten.
        if (HANDLE bitmap = LoadImageA(module, name, IMAGE_BITMAP, 5, 3, LR_LOADTRANSPARENT)) {
            Check(DeleteObject(bitmap) != FALSE);
        }
        if (HICON icon = LoadIconA(module, name)) {
            ICONINFO ii;
            Check(GetIconInfo(icon, &ii) != FALSE);
            DeleteObject(ii.hbmMask);
            DeleteObject(ii.hbmColor);
            Check(DestroyIcon(icon) != FALSE);
        }
    }
    Check(FreeLibrary(module) != FALSE);
    return 0;
}
