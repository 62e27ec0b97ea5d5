// Fuzzes TF_TimeFromStrShort. The first byte picks the regional settings
// (bits 0-1 the short date picture, bit 2 code page 932); the rest is the
// text. Any text must parse without fault, leave the caller's text as it
// was and give 0, -1 or a time the runtime can break down again.
#include <xwth/timefmt.h>

#include <windows.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbctype.h>

namespace {

const char* const kPictures[] = {"M/d/yyyy", "dd.MM.yyyy", "yyyy-MM-dd", "MM/yy"};

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

char g_dir[] = "/tmp/xwth-timeparse-fuzz-XXXXXX";

// The folder and the WIN.INI in it are ours: both go at exit.
void RemoveFolder() {
    unlink((std::string(g_dir) + "/win.ini").c_str());
    rmdir(g_dir);
}

// A private WIN.INI, written only when the picture changes.
void UsePicture(unsigned index) {
    static int current = -1;
    if (current < 0) {
        Check(mkdtemp(g_dir) != NULL);
        atexit(RemoveFolder);
        setenv("XWTH_WININI", (std::string(g_dir) + "/win.ini").c_str(), 1);
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        _tzset();
        Check(WriteProfileStringA("intl", "s2359", "pm") != FALSE);
    }
    if (current != static_cast<int>(index)) {
        Check(WriteProfileStringA("intl", "sShortDate", kPictures[index]) != FALSE);
        current = static_cast<int>(index);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    UsePicture(data[0] & 3);
    _setmbcp((data[0] & 4) != 0 ? 932 : 1252);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string copy = text;
    const __time64_t t = TF_TimeFromStrShort(text.c_str());
    Check(text == copy);
    if (t != 0 && t != -1) {
        struct tm local;
        Check(t > 0 && _localtime64_s(&local, &t) == 0);
    }
    return 0;
}
