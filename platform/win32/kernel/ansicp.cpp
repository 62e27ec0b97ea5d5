// Conversion tables between UTF-16 and the ANSI code pages, made once per
// page from the C library's converters (iconv) and kept for the process.
// A table costs 256 KiB per page actually used; a lookup is an index.
#include "win32/kernel/ansicp.h"

#include "crt/codepage.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace winport {
namespace {

// The code page that resource text is converted to: the process ANSI page,
// 1252 unless the program picked another with _setmbcp. Resource strings
// follow the page in use when they are loaded.
UINT CurrentCodePage() {
    return AnsiCodePage();
}

constexpr char16_t kReplacement = u'?';

struct CodePageTable {
    bool lead[256] = {};
    // Byte or (lead << 8 | trail) to UTF-16; 0 where the page defines nothing
    // (except for byte 0 itself).
    std::vector<char16_t> toWide = std::vector<char16_t>(0x10000, 0);
    // UTF-16 to byte (< 0x100) or double byte; 0 where the page lacks it.
    std::vector<std::uint16_t> fromWide = std::vector<std::uint16_t>(0x10000, 0);
};

// One conversion of a byte sequence; 0 when iconv has no single UTF-16 unit
// for it, and incomplete set when the bytes open a longer sequence.
char16_t ConvertOne(iconv_t cd, const unsigned char* in, std::size_t n, bool& incomplete) {
    char16_t out[4];
    char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
    char* dst = reinterpret_cast<char*>(out);
    std::size_t srcLeft = n;
    std::size_t dstLeft = sizeof out;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    incomplete = r == static_cast<std::size_t>(-1) && errno == EINVAL;
    if (r == static_cast<std::size_t>(-1) || srcLeft != 0 || sizeof out - dstLeft != 2) {
        return 0;
    }
    return out[0];
}

std::unique_ptr<CodePageTable> BuildTable(UINT cp) {
    auto table = std::make_unique<CodePageTable>();
    const std::string name = "CP" + std::to_string(cp);
    iconv_t cd = ::iconv_open("UTF-16LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        cd = ::iconv_open("UTF-16LE", "CP1252");
        cp = 1252;
    }
    for (unsigned b = 1; b < 0x80; ++b) {
        table->toWide[b] = static_cast<char16_t>(b);
    }
    for (unsigned b = 0x80; b < 0x100; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        bool incomplete = false;
        char16_t w = cd != reinterpret_cast<iconv_t>(-1) ? ConvertOne(cd, &byte, 1, incomplete) : 0;
        if (w == 0 && cp == 1252) {
            w = static_cast<char16_t>(b);  // 0x81, 0x8D, 0x8F, 0x90, 0x9D
        }
        table->lead[b] = incomplete;
        table->toWide[b] = w;
        if (incomplete && cd != reinterpret_cast<iconv_t>(-1)) {
            for (unsigned t = 0x30; t < 0x100; ++t) {
                const unsigned char pair[2] = {byte, static_cast<unsigned char>(t)};
                table->toWide[(b << 8) | t] = ConvertOne(cd, pair, 2, incomplete);
            }
        }
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        ::iconv_close(cd);
    }
    // The reverse table; the first byte sequence that gives a character wins,
    // so single bytes come before double bytes.
    for (unsigned code = 1; code < 0x10000; ++code) {
        const char16_t w = table->toWide[code];
        if (w != 0 && table->fromWide[w] == 0 && (code < 0x100 ? !table->lead[code] : table->lead[code >> 8])) {
            table->fromWide[w] = static_cast<std::uint16_t>(code);
        }
    }
    return table;
}

const CodePageTable& TableFor(UINT cp) {
    static std::mutex mutex;
    static std::map<UINT, std::unique_ptr<CodePageTable>>* const tables =
        new std::map<UINT, std::unique_ptr<CodePageTable>>;  // kept for the process
    std::lock_guard<std::mutex> lock(mutex);
    std::unique_ptr<CodePageTable>& table = (*tables)[cp];
    if (!table) {
        table = BuildTable(cp);
    }
    return *table;
}

}  // namespace

std::string Utf16ToAnsi(std::u16string_view text, std::size_t maxBytes) {
    const CodePageTable& table = TableFor(CurrentCodePage());
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t w = text[i];
        std::uint16_t code = w < 0x80 ? w : table.fromWide[w];
        if (w >= 0xD800 && w < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ++i;  // a character beyond the basic plane: one replacement for the pair
            code = 0;
        }
        if (code == 0 && w != 0) {
            code = static_cast<std::uint16_t>(kReplacement);
        }
        const std::size_t width = code >= 0x100 ? 2 : 1;
        if (out.size() + width > maxBytes) {
            break;
        }
        if (width == 2) {
            out.push_back(static_cast<char>(code >> 8));
        }
        out.push_back(static_cast<char>(code & 0xFF));
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
    const CodePageTable& table = TableFor(CurrentCodePage());
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        char16_t w = 0;
        if (table.lead[b]) {
            if (i + 1 < text.size()) {
                w = table.toWide[(b << 8) | static_cast<unsigned char>(text[++i])];
            }
        } else {
            w = b == 0 ? u'\0' : table.toWide[b];
            if (b != 0 && w == 0) {
                w = kReplacement;
            }
        }
        out.push_back(w == 0 && b != 0 ? kReplacement : w);
    }
    return out;
}

char16_t Utf16ToUpper(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    return c;
}

}  // namespace winport
