// kernel32 GetDateFormatA and GetTimeFormatA for the user's locale.
//
// The picture is the caller's, else the user's from WIN.INI [intl]
// (sShortDate, sLongDate, sTimeFormat), else the locale's own (see
// locale.cpp). The AM/PM designators are s1159 and s2359 the same way.
//
//   date picture  2005-03-05 (a Saturday), en_US
//   d dd          5 05
//   ddd dddd      Sat Saturday
//   M MM          3 03
//   MMM MMMM      Mar March     (MMMM beside d or dd: the genitive form)
//   y yy          05 05         (the year within its century)
//   yyy yyyyy     2005 2005     (three letters or more: the whole year)
//   g gg          AD AD
//   'o''clock'    o'clock       ('' inside quotes is a quote; outside, an
//   dd''MM        0509           empty quoted text, which shows nothing)
//
//   time picture  13:07:09
//   h hh H HH     1 01 13 13
//   m mm s ss     7 07 9 09
//   t tt          P PM
//
// Letters of the other kind (h in a date picture, d in a time picture) and
// every other character are copied. TIME_NOSECONDS drops the seconds with
// the text between them and the field before; TIME_NOMINUTESORSECONDS the
// minutes as well; TIME_NOTIMEMARKER the designator the same way (first in
// the picture, only the designator goes). TIME_FORCE24HOURFORMAT reads h as
// H and keeps any designator the picture has.
#include "win32/kernel/nls.h"

#include "crt/codepage.h"

#include <cstdio>
#include <cstring>

namespace winport::nls {
namespace {

bool IsLeap(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(unsigned y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// 0 = Sunday. Computed from the date: Windows ignores wDayOfWeek here.
unsigned DayOfWeek(unsigned y, unsigned m, unsigned d) {
    static const unsigned offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) {
        --y;
    }
    return (y + y / 4 - y / 100 + y / 400 + offsets[m - 1] + d) % 7;
}

std::u16string Number(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*u", digits, value);
    return std::u16string(buffer, buffer + std::strlen(buffer));
}

enum class Kind { Date, Time };

bool IsField(Kind kind, char16_t c) {
    return kind == Kind::Date ? (c == u'd' || c == u'M' || c == u'y' || c == u'g')
                              : (c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't');
}

// Whether the picture has a day number (d or dd) outside quotes.
bool HasDayNumber(std::u16string_view picture) {
    bool quoted = false;
    for (size_t i = 0; i < picture.size();) {
        if (picture[i] == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        size_t n = 1;
        while (i + n < picture.size() && picture[i + n] == picture[i]) {
            ++n;
        }
        if (!quoted && picture[i] == u'd' && n <= 2) {
            return true;
        }
        i += n;
    }
    return false;
}

struct TimeMarkers {
    std::u16string am, pm;
};

std::u16string Field(Kind kind, char16_t c, size_t n, const SYSTEMTIME& st, const LocaleData& locale,
                     const TimeMarkers& markers, bool genitive, DWORD flags) {
    if (kind == Kind::Date) {
        switch (c) {
        case u'd':
            if (n <= 2) {
                return Number(st.wDay, static_cast<int>(n));
            }
            return (n == 3 ? locale.shortDays : locale.days)[DayOfWeek(st.wYear, st.wMonth, st.wDay)];
        case u'M':
            if (n <= 2) {
                return Number(st.wMonth, static_cast<int>(n));
            }
            if (n == 3) {
                return locale.shortMonths[st.wMonth - 1];
            }
            return (genitive ? locale.genitiveMonths : locale.months)[st.wMonth - 1];
        case u'y':
            return n >= 3 ? Number(st.wYear, 1) : Number(st.wYear % 100u, 2);
        default:
            return locale.era;
        }
    }
    const bool afternoon = st.wHour >= 12;
    switch (c) {
    case u'h':
        if (!(flags & TIME_FORCE24HOURFORMAT)) {
            return Number(st.wHour % 12 == 0 ? 12u : st.wHour % 12u, n == 1 ? 1 : 2);
        }
        [[fallthrough]];
    case u'H': return Number(st.wHour, n == 1 ? 1 : 2);
    case u'm': return Number(st.wMinute, n == 1 ? 1 : 2);
    case u's': return Number(st.wSecond, n == 1 ? 1 : 2);
    default: {
        const std::u16string& marker = afternoon ? markers.pm : markers.am;
        return n == 1 ? marker.substr(0, 1) : marker;
    }
    }
}

std::u16string FormatPicture(Kind kind, std::u16string_view picture, const SYSTEMTIME& st, DWORD flags,
                             const LocaleData& locale, const TimeMarkers& markers) {
    const bool genitive = kind == Kind::Date && HasDayNumber(picture);
    std::u16string out;
    size_t lastFieldEnd = 0;
    bool anyField = false;
    for (size_t i = 0; i < picture.size();) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            std::u16string literal;
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == u'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                        literal += u'\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += picture[i];
            }
            out += literal;
            continue;
        }
        if (!IsField(kind, c)) {
            out += c;
            ++i;
            continue;
        }
        size_t n = 1;
        while (i + n < picture.size() && picture[i + n] == c) {
            ++n;
        }
        i += n;
        const bool drop = kind == Kind::Time &&
                          ((c == u's' && (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS))) ||
                           (c == u'm' && (flags & TIME_NOMINUTESORSECONDS)) ||
                           (c == u't' && (flags & TIME_NOTIMEMARKER)));
        if (drop) {
            if (anyField) {
                out.resize(lastFieldEnd);
            }
            continue;
        }
        out += Field(kind, c, n, st, locale, markers, genitive, flags);
        lastFieldEnd = out.size();
        anyField = true;
    }
    return out;
}

// The [intl] value of WIN.INI, which falls back to the locale's own. A
// missing WIN.INI is no failure of the caller's: the last error stays.
std::u16string IntlText(const char* key, UINT cp) {
    char buffer[256];
    const DWORD lastError = GetLastError();
    GetProfileStringA("intl", key, "", buffer, sizeof buffer);
    SetLastError(lastError);
    return AnsiToUtf16(buffer, cp);
}

bool IsUserLocale(LCID locale) {
    locale &= 0xFFFF;
    return locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT;
}

// The common tail: size query, copy, or ERROR_INSUFFICIENT_BUFFER.
int Deliver(const std::string& text, LPSTR buffer, int size) {
    const int needed = static_cast<int>(text.size()) + 1;
    if (size == 0) {
        return needed;
    }
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.c_str(), static_cast<size_t>(needed));
    return needed;
}

bool BadBuffer(LPSTR buffer, int size) { return size < 0 || (size > 0 && buffer == nullptr); }

}  // namespace
}  // namespace winport::nls

using namespace winport;
using namespace winport::nls;

extern "C" {

WINBASEAPI int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat,
                                     LPSTR lpDateStr, int cchDate) {
    if (!IsUserLocale(Locale) || BadBuffer(lpDateStr, cchDate)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD kinds = dwFlags & (DATE_SHORTDATE | DATE_LONGDATE);
    if ((dwFlags & ~(DATE_SHORTDATE | DATE_LONGDATE | LOCALE_NOUSEROVERRIDE)) != 0 ||
        kinds == (DATE_SHORTDATE | DATE_LONGDATE) || (lpFormat != nullptr && kinds != 0)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    SYSTEMTIME st;
    if (lpDate == nullptr) {
        GetLocalTime(&st);
    } else {
        st = *lpDate;
        if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
            st.wDay > DaysInMonth(st.wYear, st.wMonth)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    const UINT cp = AnsiCodePage();
    const LocaleData& locale = CurrentLocale();
    const bool noUser = (dwFlags & LOCALE_NOUSEROVERRIDE) != 0;
    std::u16string picture;
    if (lpFormat != nullptr) {
        picture = AnsiToUtf16(lpFormat, cp);
    } else if (kinds == DATE_LONGDATE) {
        picture = noUser ? locale.longDate : IntlText("sLongDate", cp);
    } else {
        picture = noUser ? locale.shortDate : IntlText("sShortDate", cp);
    }
    const std::u16string text = FormatPicture(Kind::Date, picture, st, dwFlags, locale, {});
    return Deliver(Utf16ToAnsi(text, cp), lpDateStr, cchDate);
}

WINBASEAPI int WINAPI GetTimeFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCSTR lpFormat,
                                     LPSTR lpTimeStr, int cchTime) {
    if (!IsUserLocale(Locale) || BadBuffer(lpTimeStr, cchTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD known = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT |
                        LOCALE_NOUSEROVERRIDE;
    if ((dwFlags & ~known) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    SYSTEMTIME st;
    if (lpTime == nullptr) {
        GetLocalTime(&st);
    } else {
        // Only the time of day is checked; the date fields are not read.
        st = *lpTime;
        if (st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 || st.wMilliseconds > 999) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    const UINT cp = AnsiCodePage();
    const LocaleData& locale = CurrentLocale();
    const bool noUser = (dwFlags & LOCALE_NOUSEROVERRIDE) != 0;
    const std::u16string picture = lpFormat != nullptr ? AnsiToUtf16(lpFormat, cp)
                                   : noUser            ? locale.timeFormat
                                                       : IntlText("sTimeFormat", cp);
    TimeMarkers markers;
    if (noUser) {
        markers = {locale.am, locale.pm};
    } else {
        markers = {IntlText("s1159", cp), IntlText("s2359", cp)};
    }
    const std::u16string text = FormatPicture(Kind::Time, picture, st, dwFlags, locale, markers);
    return Deliver(Utf16ToAnsi(text, cp), lpTimeStr, cchTime);
}

}  // extern "C"
