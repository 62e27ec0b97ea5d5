// C runtime multibyte code page: _setmbcp, _getmbcp, _ismbblead, _ismbbtrail.
//
// Lead and trail byte ranges of the double-byte pages:
//   page  lead bytes            trail bytes
//   932   0x81-0x9F, 0xE0-0xFC  0x40-0x7E, 0x80-0xFC
//   936   0x81-0xFE             0x40-0x7E, 0x80-0xFE
//   949   0x81-0xFE             0x41-0x5A, 0x61-0x7A, 0x81-0xFE
//   950   0x81-0xFE             0x40-0x7E, 0xA1-0xFE
// A trail byte may be 0x5C, the backslash, under 932, 936 and 950: code that
// looks for separators must step by characters.
#include <mbctype.h>

#include "crt/codepage.h"

#include <atomic>
#include <cerrno>

namespace winport {
namespace {

std::atomic<UINT> gCodePage{1252};

// The single-byte pages that the locale texts can be converted to.
bool IsKnownSingleBytePage(int cp) {
    switch (cp) {
    case 437: case 850: case 852: case 866: case 874:
    case 1250: case 1251: case 1252: case 1253: case 1254: case 1255: case 1256: case 1257: case 1258:
        return true;
    default:
        return false;
    }
}

bool IsTrailByte(UINT cp, unsigned char b) {
    switch (cp) {
    case 932: return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
    case 936: return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
    case 949: return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
    case 950: return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
    default: return false;
    }
}

}  // namespace

UINT AnsiCodePage() noexcept { return gCodePage.load(std::memory_order_relaxed); }

bool IsDoubleBytePage(UINT cp) noexcept { return cp == 932 || cp == 936 || cp == 949 || cp == 950; }

bool IsLeadByte(UINT cp, unsigned char b) noexcept {
    switch (cp) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936: case 949: case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

}  // namespace winport

extern "C" {

WINPORT_API int _setmbcp(int codepage) {
    if (codepage == _MB_CP_ANSI || codepage == _MB_CP_LOCALE || codepage == _MB_CP_SBCS) {
        codepage = 1252;
    }
    if (!winport::IsDoubleBytePage(static_cast<UINT>(codepage)) && !winport::IsKnownSingleBytePage(codepage)) {
        errno = EINVAL;
        return -1;
    }
    winport::gCodePage.store(static_cast<UINT>(codepage), std::memory_order_relaxed);
    return 0;
}

WINPORT_API int _getmbcp(void) { return static_cast<int>(winport::AnsiCodePage()); }

WINPORT_API int _ismbblead(unsigned int c) {
    return c <= 0xFF && winport::IsLeadByte(winport::AnsiCodePage(), static_cast<unsigned char>(c)) ? 1 : 0;
}

WINPORT_API int _ismbbtrail(unsigned int c) {
    return c <= 0xFF && winport::IsTrailByte(winport::AnsiCodePage(), static_cast<unsigned char>(c)) ? 1 : 0;
}

}  // extern "C"
