// TF_TimeFromStrShort: a short date in the regional order with an optional
// 12-hour time, back to a time value.
//
// Read for the picture M/d/yyyy and the afternoon designator "pm":
//   text                   result (local time)
//   03/15/2005             2005-03-15 00:00
//   03/15/2005 pm 2:30     14:30       designator before the hour
//   03/15/2005 2pm:30      14:30       joined to the hour
//   03/15/2005 2:30 pm     02:30       after the minutes: not seen
//   03/15/2005 12:05       00:05
//   03/15/2005 pm 12:30    12:30
//   04/31/2005             2005-05-01  the day is carried by mktime
//   03/15/05               1970-03-15  two-digit years 1-69 read as 1970
//   03/15/99               1999-03-15
//   03/15                  0           fewer than three date tokens
//   13/15/2005             0           month out of range
//   03/15/2005 pm          0           a designator with nothing after it
//   ::/ /                  0           separators only
//   01/01/1969             -1          before 1970-01-01 UTC (west of UTC)
//
// An empty afternoon designator (no s2359, or a 24-hour locale that leaves
// it empty) would be found in every token; here it makes no time an
// afternoon time, so a 24-hour time reads as written and 12:xx as 00:xx.
#include <xwth/timefmt.h>

#include <windows.h>

#include <mbstring.h>
#include <stdlib.h>
#include <time.h>

#include "timefmt/regional.h"

namespace {

enum class DateField { None, Month, Day, Year };

// colon, full stop, semicolon, hyphen, space, tab, line feed, comma,
// backslash, slash; not carriage return.
const unsigned char kSeparators[] = ":.;- \t\n,\\/";

// The first character of a token as _ismbcdigit takes it.
unsigned FirstCharacter(const unsigned char* token) {
    if (_ismbblead(token[0]) && token[1] != '\0') {
        return static_cast<unsigned>(token[0]) << 8 | token[1];
    }
    return token[0];
}

}  // namespace

__int64 TF_TimeFromStrShort(const char* text) {
    if (text == NULL || *text == '\0') {
        return 0;
    }
    const timefmt::RegionalSettings& settings = timefmt::RegionalCache(1);
    CString work(text);
    LPSTR buffer = work.GetBuffer();
    CharLowerA(buffer);

    // Slot i holds the field of the i-th date token, in the picture's order.
    DateField slots[3] = {DateField::None, DateField::None, DateField::None};
    int used = 0;
    bool seen[4] = {};
    for (const char* p = settings.strShortDate; *p != '\0' && used < 3; ++p) {
        DateField field = DateField::None;
        switch (*p) {
        case 'M': case 'm': field = DateField::Month; break;
        case 'D': case 'd': field = DateField::Day; break;
        case 'Y': case 'y': field = DateField::Year; break;
        default: break;
        }
        if (field != DateField::None && !seen[static_cast<int>(field)]) {
            seen[static_cast<int>(field)] = true;
            slots[used++] = field;
        }
    }

    const unsigned char* fields[4] = {};
    unsigned char* token = _mbstok(reinterpret_cast<unsigned char*>(buffer), kSeparators);
    for (int i = 0; i < 3; ++i) {
        if (token == NULL) {
            return 0;
        }
        fields[static_cast<int>(slots[i])] = token;
        token = _mbstok(NULL, kSeparators);
    }
    const unsigned char* monthText = fields[static_cast<int>(DateField::Month)];
    const unsigned char* dayText = fields[static_cast<int>(DateField::Day)];
    const unsigned char* yearText = fields[static_cast<int>(DateField::Year)];
    if (monthText == NULL || dayText == NULL || yearText == NULL) {
        return 0;
    }
    const int month = atoi(reinterpret_cast<const char*>(monthText)) - 1;
    const int day = atoi(reinterpret_cast<const char*>(dayText));
    int year = atoi(reinterpret_cast<const char*>(yearText));
    if (month < 0 || month > 11 || day < 1 || day > 31 || year == 0) {
        return 0;
    }
    if (year >= 1900) {
        year -= 1900;
    }
    if (year < 70) {
        year = 70;
    }

    struct tm local = {};
    local.tm_year = year;
    local.tm_mon = month;
    local.tm_mday = day;
    local.tm_isdst = -1;
    if (token != NULL) {
        const unsigned char* designator = reinterpret_cast<const unsigned char*>(static_cast<LPCSTR>(settings.strPM));
        const bool afternoon = *designator != '\0' && _mbsstr(token, designator) != NULL;
        if (!_ismbcdigit(FirstCharacter(token))) {
            token = _mbstok(NULL, kSeparators);
            if (token == NULL) {
                return 0;
            }
        }
        int hour = atoi(reinterpret_cast<const char*>(token));
        token = _mbstok(NULL, kSeparators);
        if (token == NULL) {
            return 0;
        }
        const int minute = atoi(reinterpret_cast<const char*>(token));
        if (afternoon && hour < 12) {
            hour += 12;
        } else if (!afternoon && hour == 12) {
            hour = 0;
        }
        local.tm_hour = hour;
        local.tm_min = minute;
    }
    return _mktime64(&local);
}
