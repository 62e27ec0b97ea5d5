// Texts of a time value: TF_GetDateStr and its family, TF_GetTimeStr,
// TF_GetDurationStr. Each call asks Windows (GetDateFormatA/GetTimeFormatA
// for the user's locale) once for the size and once for the text, which is
// written straight into the result's buffer; the regional settings cache is
// not involved.
#include <xwth/timefmt.h>

#include <windows.h>

#include <time.h>

namespace {

enum class Part { Date, Time };

// The moment as a SYSTEMTIME: now in UTC for the time -1, else the local
// breakdown. A failed breakdown leaves the date fields 0 and the time fields
// 0xFFFF, values Windows refuses, so the text stays empty.
SYSTEMTIME Moment(CTime time, Part part) {
    SYSTEMTIME st = {};
    if (time.GetTime() == -1) {
        GetSystemTime(&st);
        return st;
    }
    const __time64_t t = time.GetTime();
    struct tm local = {};
    const bool ok = _localtime64_s(&local, &t) == 0;
    if (part == Part::Date) {
        if (ok) {
            st.wYear = static_cast<WORD>(local.tm_year + 1900);
            st.wMonth = static_cast<WORD>(local.tm_mon + 1);
            st.wDay = static_cast<WORD>(local.tm_mday);
        }
    } else {
        st.wHour = ok ? static_cast<WORD>(local.tm_hour) : 0xFFFF;
        st.wMinute = ok ? static_cast<WORD>(local.tm_min) : 0xFFFF;
        st.wSecond = ok ? static_cast<WORD>(local.tm_sec) : 0xFFFF;
        st.wMilliseconds = 0;
    }
    return st;
}

CString Format(CTime time, Part part, DWORD flags, const char* picture) {
    CString result;
    const SYSTEMTIME st = Moment(time, part);
    const auto call = [&](LPSTR buffer, int size) {
        return part == Part::Date ? GetDateFormatA(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, size)
                                  : GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, size);
    };
    const int size = call(NULL, 0);  // characters, the NUL included
    if (size <= 0) {
        return result;
    }
    LPSTR buffer = result.GetBuffer(size);
    if (call(buffer, size) == 0) {
        buffer[0] = '\0';
    }
    result.ReleaseBuffer();
    return result;
}

}  // namespace

CString TF_GetDateStr(CTime time, int) { return Format(time, Part::Date, DATE_SHORTDATE, NULL); }

CString TF_GetLongDateStr(CTime time, int) { return Format(time, Part::Date, DATE_LONGDATE, NULL); }

CString TF_GetMonthLong(CTime time) { return Format(time, Part::Date, 0, "MMMM"); }

CString TF_GetMonthShort(CTime time) { return Format(time, Part::Date, 0, "MMM"); }

CString TF_GetWeekDayLong(CTime time) { return Format(time, Part::Date, 0, "dddd"); }

CString TF_GetWeekDayShort(CTime time) { return Format(time, Part::Date, 0, "ddd"); }

CString TF_GetFormattedDate(CTime time, const char* picture) {
    if (picture == NULL || *picture == '\0') {
        return TF_GetDateStr(time, 0);
    }
    return Format(time, Part::Date, 0, picture);
}

//   time text   bShortMarker  result
//   "2:30 PM"   1             "2:30 P"
//   "2:30 am"   1             "2:30 a"
//   "14:30"     1             "14:30"
//   "2:30 PM"   0             "2:30 PM"
CString TF_GetTimeStr(CTime time, int, int bShortMarker) {
    CString text = Format(time, Part::Time, TIME_NOSECONDS, NULL);
    const int n = text.GetLength();
    if (bShortMarker != 0 && n >= 3) {
        const char marker = text[n - 2];
        const char last = text[n - 1];
        if ((marker == 'A' || marker == 'P' || marker == 'a' || marker == 'p') && (last == 'M' || last == 'm')) {
            text.Truncate(n - 1);
        }
    }
    return text;
}

//   span                    text
//   0                       0:00:00
//   59 s                    0:00:59
//   1 d 1 h 1 min 1 s       25:01:01
//   -61 s                   0:-1:-1
CString TF_GetDurationStr(CTimeSpan& span) {
    const __int64 total = span.GetTotalSeconds();
    const __int64 hours = total / 3600;
    const __int64 minutes = total / 60 - 60 * hours;
    const __int64 seconds = total - 60 * (total / 60);
    CString text;
    text.Format("%i:%02i:%02i", static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds));
    return text;
}
