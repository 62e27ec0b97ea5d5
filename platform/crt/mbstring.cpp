// C runtime multibyte strings (_mbstok, _mbsstr, _mbsicmp, _mbsinc, _mbsdec,
// _mbslen, _ismbcdigit) under the page that _setmbcp chose. Every function
// steps by characters, so a trail byte equal to an ASCII byte (0x5C under
// 932) is never taken for that ASCII character.
#include <mbstring.h>

#include "crt/codepage.h"

#include <cstring>

namespace winport {
namespace {

// Length in bytes of the character at p: 2 for a lead byte followed by a
// byte that is not the terminator, else 1 (0 at the terminator).
size_t CharLength(UINT cp, const unsigned char* p) {
    if (*p == 0) {
        return 0;
    }
    return IsLeadByte(cp, *p) && p[1] != 0 ? 2 : 1;
}

// Whether the character at p (of length n) is one of the characters of set.
bool InSet(UINT cp, const unsigned char* p, size_t n, const unsigned char* set) {
    for (const unsigned char* s = set; *s != 0;) {
        const size_t m = CharLength(cp, s);
        if (m == n && std::memcmp(s, p, n) == 0) {
            return true;
        }
        s += m;
    }
    return false;
}

thread_local unsigned char* tokenNext = nullptr;

unsigned FoldAscii(unsigned c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINPORT_API unsigned char* _mbstok(unsigned char* str, const unsigned char* delim) {
    const UINT cp = AnsiCodePage();
    unsigned char* p = str != nullptr ? str : tokenNext;
    if (p == nullptr || delim == nullptr) {
        return nullptr;
    }
    size_t n;
    while ((n = CharLength(cp, p)) != 0 && InSet(cp, p, n, delim)) {
        p += n;
    }
    if (*p == 0) {
        tokenNext = nullptr;
        return nullptr;
    }
    unsigned char* token = p;
    while ((n = CharLength(cp, p)) != 0 && !InSet(cp, p, n, delim)) {
        p += n;
    }
    if (n == 0) {
        tokenNext = nullptr;
    } else {
        std::memset(p, 0, n);
        tokenNext = p + n;
    }
    return token;
}

WINPORT_API unsigned char* _mbsstr(const unsigned char* str, const unsigned char* sub) {
    if (str == nullptr || sub == nullptr) {
        return nullptr;
    }
    const UINT cp = AnsiCodePage();
    const size_t subLength = std::strlen(reinterpret_cast<const char*>(sub));
    for (const unsigned char* p = str;; p += CharLength(cp, p)) {
        if (std::strncmp(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(sub), subLength) == 0) {
            return const_cast<unsigned char*>(p);
        }
        if (*p == 0) {
            return nullptr;
        }
    }
}

WINPORT_API int _mbsicmp(const unsigned char* s1, const unsigned char* s2) {
    const UINT cp = AnsiCodePage();
    for (;;) {
        const size_t n1 = CharLength(cp, s1);
        const size_t n2 = CharLength(cp, s2);
        const unsigned c1 = n1 == 2 ? (s1[0] << 8 | s1[1]) : FoldAscii(*s1);
        const unsigned c2 = n2 == 2 ? (s2[0] << 8 | s2[1]) : FoldAscii(*s2);
        if (c1 != c2) {
            return c1 < c2 ? -1 : 1;
        }
        if (c1 == 0) {
            return 0;
        }
        s1 += n1;
        s2 += n2;
    }
}

WINPORT_API unsigned char* _mbsinc(const unsigned char* current) {
    if (current == nullptr) {
        return nullptr;
    }
    const size_t n = CharLength(AnsiCodePage(), current);
    return const_cast<unsigned char*>(current + (n == 0 ? 1 : n));
}

// Scans from start, since a byte alone cannot tell whether it is a lead byte,
// a trail byte or a character of its own.
WINPORT_API unsigned char* _mbsdec(const unsigned char* start, const unsigned char* current) {
    if (start == nullptr || current == nullptr || current <= start) {
        return nullptr;
    }
    const UINT cp = AnsiCodePage();
    const unsigned char* p = start;
    for (;;) {
        const unsigned char* next = p + (IsLeadByte(cp, *p) && p + 1 < current ? 2 : 1);
        if (next >= current) {
            return const_cast<unsigned char*>(p);
        }
        p = next;
    }
}

WINPORT_API size_t _mbslen(const unsigned char* str) {
    const UINT cp = AnsiCodePage();
    size_t count = 0;
    for (size_t n; (n = CharLength(cp, str)) != 0; str += n) {
        ++count;
    }
    return count;
}

WINPORT_API int _ismbcdigit(unsigned int c) {
    if (c <= 0xFF) {
        return c >= '0' && c <= '9' ? 1 : 0;
    }
    // The full-width digits of each double-byte page.
    switch (AnsiCodePage()) {
    case 932: return c >= 0x824F && c <= 0x8258 ? 1 : 0;
    case 936: case 949: return c >= 0xA3B0 && c <= 0xA3B9 ? 1 : 0;
    case 950: return c >= 0xA2AF && c <= 0xA2B8 ? 1 : 0;
    default: return 0;
    }
}

}  // extern "C"
