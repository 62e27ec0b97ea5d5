// user32 CharLowerA and CharUpperA under the process's ANSI code page.
//
//   page  converted                                    left alone
//   1252  A-Z, À-Þ (not ×), Š Œ Ž Ÿ and back           ß µ ƒ, digits, signs
//   1250  also Ą Ł Ś Ź ... and back
//   932   A-Z only                                     both bytes of a double-byte character
//
// A letter changes only when its other case exists in the same page; the
// tables are made once per page from the page's characters.
#include <windows.h>

#include "crt/codepage.h"
#include "win32/kernel/nls.h"

#include <unicode/uchar.h>

#include <array>
#include <map>
#include <mutex>

namespace winport {
namespace {

struct CaseTables {
    std::array<unsigned char, 256> lower, upper;
};

CaseTables MakeTables(UINT cp) {
    CaseTables t;
    for (unsigned b = 0; b < 256; ++b) {
        t.lower[b] = t.upper[b] = static_cast<unsigned char>(b);
    }
    for (unsigned b = 'A'; b <= 'Z'; ++b) {
        t.lower[b] = static_cast<unsigned char>(b + 32);
        t.upper[b + 32] = static_cast<unsigned char>(b);
    }
    if (IsDoubleBytePage(cp)) {
        return t;  // the high half holds lead bytes and single-byte katakana: no case
    }
    for (unsigned b = 0x80; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::u16string wide = nls::AnsiToUtf16(byte, cp);
        if (wide.size() != 1) {
            continue;
        }
        // Only an exact round trip counts: a best-fit stand-in is no case pair.
        const auto mapped = [&](UChar32 other) -> int {
            if (other == wide[0] || other > 0xFFFF) {
                return -1;
            }
            const std::u16string w(1, static_cast<char16_t>(other));
            const std::string back = nls::Utf16ToAnsi(w, cp);
            return back.size() == 1 && nls::AnsiToUtf16(back, cp) == w ? static_cast<unsigned char>(back[0]) : -1;
        };
        if (const int lower = mapped(u_tolower(wide[0])); lower >= 0) {
            t.lower[b] = static_cast<unsigned char>(lower);
        }
        if (const int upper = mapped(u_toupper(wide[0])); upper >= 0) {
            t.upper[b] = static_cast<unsigned char>(upper);
        }
    }
    return t;
}

const CaseTables& TablesFor(UINT cp) {
    static std::mutex mutex;
    static auto* tables = new std::map<UINT, CaseTables>();
    std::lock_guard<std::mutex> lock(mutex);
    auto it = tables->find(cp);
    if (it == tables->end()) {
        it = tables->emplace(cp, MakeTables(cp)).first;
    }
    return it->second;
}

LPSTR ConvertCase(LPSTR text, bool toLower) {
    const UINT cp = AnsiCodePage();
    const CaseTables& t = TablesFor(cp);
    const auto& table = toLower ? t.lower : t.upper;
    if ((reinterpret_cast<uintptr_t>(text) >> 16) == 0) {
        const auto c = static_cast<unsigned char>(reinterpret_cast<uintptr_t>(text) & 0xFF);
        return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(table[c]));
    }
    for (auto* p = reinterpret_cast<unsigned char*>(text); *p != 0; ++p) {
        if (IsLeadByte(cp, *p)) {
            if (p[1] == 0) {
                break;
            }
            ++p;  // a double-byte character keeps both bytes
            continue;
        }
        *p = table[*p];
    }
    return text;
}

}  // namespace
}  // namespace winport

extern "C" {

WINUSERAPI LPSTR WINAPI CharLowerA(LPSTR lpsz) { return winport::ConvertCase(lpsz, true); }

WINUSERAPI LPSTR WINAPI CharUpperA(LPSTR lpsz) { return winport::ConvertCase(lpsz, false); }

}  // extern "C"
