// MIMEMakePeopleString and MIMEGetDateString.
#include <xwth/mime.h>

#include <afxdisp.h>

#include <time.h>

CString MIMEMakePeopleString(const char* name, const char* address) {
    CString result;
    if (name != NULL && *name != '\0') result = name;
    if (address != NULL && *address != '\0') {
        if (!result.IsEmpty()) result += ' ';
        result += '<';
        result += address;
        result += '>';
    }
    return result;
}

//   local time               result (TZ=EST5EDT)
//   1980-01-02 02:03:55      "Wed Jan 02 02:03:55 1980 -0500"
//   2021-07-01 12:00:00      "Thu Jul 01 12:00:00 2021 -0500"  (EDT shown, offset standard)
//   1899-12-31 23:00:00      "Wed Dec 31 19:00:00 1969 -0500"  (before 1900: the epoch)
//   1900..1969, past 3000    COleException* E_INVALIDARG
// The offset is _timezone in whole hours: IST-5:30 gives +0500.
CString MIMEGetDateString(FILETIME& time) {
    // Once per process, as the runtime's own functions do it; a later
    // change of TZ needs the client's own _tzset.
    static bool s_bTimeZoneSet = false;
    if (!s_bTimeZoneSet) {
        _tzset();
        s_bTimeZoneSet = true;
    }
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&time, &ftLocal) || !FileTimeToSystemTime(&ftLocal, &st))
        AfxThrowOleException(E_INVALIDARG);
    __time64_t t = 0;
    if (st.wYear >= 1900) {
        struct tm tmLocal = {};
        tmLocal.tm_year = st.wYear - 1900;
        tmLocal.tm_mon = st.wMonth - 1;
        tmLocal.tm_mday = st.wDay;
        tmLocal.tm_hour = st.wHour;
        tmLocal.tm_min = st.wMinute;
        tmLocal.tm_sec = st.wSecond;
        tmLocal.tm_isdst = -1;
        t = _mktime64(&tmLocal);
        if (t == -1) AfxThrowOleException(E_INVALIDARG);
    }
    const char* pszTime = _ctime64(&t);
    if (pszTime == NULL) AfxThrowOleException(E_INVALIDARG);
    CString strTime(pszTime);
    if (!strTime.IsEmpty() && strTime[strTime.GetLength() - 1] == '\n') strTime = strTime.Left(strTime.GetLength() - 1);

    int nHours = static_cast<int>(_timezone / 3600.0);
    char cSign = '-';
    if (nHours < 0) {
        cSign = '+';
        nHours = -nHours;
    }
    CString result;
    result.Format("%s %c%02d00", strTime.GetString(), cSign, nHours);
    return result;
}
