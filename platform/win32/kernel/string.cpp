// kernel32 string helpers: lstrlenA, lstrcpynA, lstrcmpiA.
#include <windows.h>

#include <cstring>

extern "C" {

WINBASEAPI int WINAPI lstrlenA(LPCSTR lpString) {
    return lpString == nullptr ? 0 : static_cast<int>(std::strlen(lpString));
}

// Copies at most iMaxLength - 1 characters and always ends the copy with a
// NUL (iMaxLength > 0); NULL arguments give NULL instead of a fault.
WINBASEAPI LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) {
    if (lpString1 == nullptr || lpString2 == nullptr) {
        return nullptr;
    }
    if (iMaxLength <= 0) {
        return lpString1;
    }
    int i = 0;
    for (; i < iMaxLength - 1 && lpString2[i] != '\0'; ++i) {
        lpString1[i] = lpString2[i];
    }
    lpString1[i] = '\0';
    return lpString1;
}

// -1, 0 or 1. Letters compare without regard to case (ASCII); other bytes by
// value. Windows' word sort puts some punctuation elsewhere: callers here
// only compare names and keys for equality and plain ordering.
WINBASEAPI int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
    if (lpString1 == nullptr || lpString2 == nullptr) {
        return lpString1 == lpString2 ? 0 : (lpString1 == nullptr ? -1 : 1);
    }
    auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    for (;; ++lpString1, ++lpString2) {
        const int a = fold(static_cast<unsigned char>(*lpString1));
        const int b = fold(static_cast<unsigned char>(*lpString2));
        if (a != b) {
            return a < b ? -1 : 1;
        }
        if (a == 0) {
            return 0;
        }
    }
}

}  // extern "C"
