// C runtime multibyte strings (_mbstok, _mbsstr, _mbsicmp, _mbsupr, _mbsinc,
// _mbsdec, _mbslen, _ismbcdigit) under the page that _setmbcp chose. Every function
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

// The full-width Latin letters of each double-byte page: where the capitals
// start, where the small letters start (26 of each, in alphabet order). Big5
// breaks its small letters after 'v' (0xA2FE) and goes on at 0xA340.
struct FullWidthLetters {
    UINT cp;
    unsigned upper;
    unsigned lower;
};
constexpr FullWidthLetters kFullWidth[] = {
    {932, 0x8260, 0x8281},
    {936, 0xA3C1, 0xA3E1},
    {949, 0xA3C1, 0xA3E1},
    {950, 0xA2CF, 0xA2E9},
};

// 0-25 for a full-width letter of page cp (*upper says which case), else -1.
int FullWidthIndex(UINT cp, unsigned c, bool* upper) {
    for (const FullWidthLetters& f : kFullWidth) {
        if (f.cp != cp) continue;
        if (c >= f.upper && c < f.upper + 26) {
            *upper = true;
            return static_cast<int>(c - f.upper);
        }
        if (cp == 950 && c >= 0xA340 && c <= 0xA343) {
            *upper = false;
            return static_cast<int>(c - 0xA340) + 22;
        }
        if (c >= f.lower && c < f.lower + (cp == 950 ? 22u : 26u)) {
            *upper = false;
            return static_cast<int>(c - f.lower);
        }
    }
    return -1;
}

// A double-byte character in the wanted case (full-width letters only; the
// other characters of the pages have no case that the C runtime changes).
unsigned CaseDoubleByte(UINT cp, unsigned c, bool toUpper) {
    bool upper = false;
    const int i = FullWidthIndex(cp, c, &upper);
    if (i < 0 || upper == toUpper) return c;
    for (const FullWidthLetters& f : kFullWidth) {
        if (f.cp != cp) continue;
        if (toUpper) return f.upper + static_cast<unsigned>(i);
        if (cp == 950 && i >= 22) return 0xA340 + static_cast<unsigned>(i - 22);
        return f.lower + static_cast<unsigned>(i);
    }
    return c;
}

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
        const unsigned c1 = n1 == 2 ? CaseDoubleByte(cp, s1[0] << 8 | s1[1], false) : FoldAscii(*s1);
        const unsigned c2 = n2 == 2 ? CaseDoubleByte(cp, s2[0] << 8 | s2[1], false) : FoldAscii(*s2);
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

// In place, character by character: a trail byte that looks like an ASCII
// small letter is never changed.
WINPORT_API unsigned char* _mbsupr(unsigned char* str) {
    if (str == nullptr) {
        return nullptr;
    }
    const UINT cp = AnsiCodePage();
    for (unsigned char* p = str;;) {
        const size_t n = CharLength(cp, p);
        if (n == 0) {
            return str;
        }
        if (n == 2) {
            const unsigned c = CaseDoubleByte(cp, p[0] << 8 | p[1], true);
            p[0] = static_cast<unsigned char>(c >> 8);
            p[1] = static_cast<unsigned char>(c & 0xFF);
        } else if (*p >= 'a' && *p <= 'z') {
            *p = static_cast<unsigned char>(*p - ('a' - 'A'));
        }
        p += n;
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
