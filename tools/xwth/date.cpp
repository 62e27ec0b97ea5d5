// The "date" and "intl" commands.
//
// Texts come from the library in the process's ANSI code page (1252); on a
// POSIX terminal that speaks UTF-8 they are shown converted, unless --raw
// asks for the bytes as they are.
#include "date.h"

#include <xwth/timefmt.h>

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace xwth_tool {
namespace {

bool g_raw = false;

void PrintDateUsage(FILE* out) {
    std::fputs(
        "usage: xwth date show [@EPOCH]          every text of a moment (default: now)\n"
        "       xwth date format @EPOCH PICTURE  the moment in a Windows date picture (dd.MM.yyyy, dddd, ...)\n"
        "       xwth date parse TEXT             a short date and time read in the regional order\n"
        "       xwth date info                   country code, short date order, clock style\n"
        "       xwth intl init [--force]         write the regional settings into WIN.INI [intl]\n"
        "\n"
        "options: --raw   print texts in the ANSI code page as they are (no UTF-8)\n"
        "\n"
        "The locale is that of LC_ALL, LC_TIME or LANG (for example de_DE.UTF-8); it\n"
        "needs no generated system locale. WIN.INI [intl] keys (sShortDate, sLongDate,\n"
        "sTimeFormat, s1159, s2359, iTime, iCountry) override the locale's values.\n",
        out);
}

// Code page 1252 to UTF-8, for a terminal: 0x80-0x9F hold the letters and
// signs that Latin-1 lacks.
std::string Shown(const char* text) {
    static const unsigned short k80[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    if (g_raw || GetACP() != 1252) {
        return text;
    }
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const unsigned c = *p >= 0x80 && *p < 0xA0 ? k80[*p - 0x80] : *p;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != NULL && *value != '\0') {
            return std::string(value) + " (" + variable + ")";
        }
    }
    return "C (no locale variable set)";
}

// "@EPOCH" to seconds; false for anything else.
bool ParseEpoch(const char* text, __int64& t) {
    if (text == NULL || text[0] != '@' || text[1] == '\0') {
        return false;
    }
    char* end = NULL;
    errno = 0;
    const long long value = std::strtoll(text + 1, &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    t = value;
    return true;
}

std::string LocalText(__int64 value) {
    const __time64_t t = value;
    struct tm local = {};
    if (_localtime64_s(&local, &t) != 0) {
        return "(outside the runtime's range)";
    }
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S %Z", &local);
    return buffer;
}

void PrintLine(FILE* out, const char* name, const CString& value) {
    std::fprintf(out, "  %-22s %s\n", name, Shown(value).c_str());
}

int Show(__int64 t) {
    const CTime time(t);
    std::printf("locale: %s\nmoment: @%lld, local %s\n\n", LocaleName().c_str(), static_cast<long long>(t),
                LocalText(t).c_str());
    PrintLine(stdout, "TF_GetDateStr", TF_GetDateStr(time, 0));
    PrintLine(stdout, "TF_GetLongDateStr", TF_GetLongDateStr(time, 0));
    PrintLine(stdout, "TF_GetMonthLong", TF_GetMonthLong(time));
    PrintLine(stdout, "TF_GetMonthShort", TF_GetMonthShort(time));
    PrintLine(stdout, "TF_GetWeekDayLong", TF_GetWeekDayLong(time));
    PrintLine(stdout, "TF_GetWeekDayShort", TF_GetWeekDayShort(time));
    PrintLine(stdout, "TF_GetFormattedDate", TF_GetFormattedDate(time, "yyyy-MM-dd"));
    PrintLine(stdout, "TF_GetTimeStr", TF_GetTimeStr(time, 0, 0));
    PrintLine(stdout, "TF_GetTimeStr (short)", TF_GetTimeStr(time, 0, 1));
    struct tm local = {};
    const __time64_t t64 = t;
    if (_localtime64_s(&local, &t64) == 0) {
        CTimeSpan sinceMidnight(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
        PrintLine(stdout, "TF_GetDurationStr", TF_GetDurationStr(sinceMidnight) + "  (since midnight)");
    }
    return 0;
}

int Info() {
    INT_DATETIMEINFO info = {};
    const int complete = TF_GetDateTimeInfo(&info, 1);
    char picture[128];
    GetProfileStringA("intl", "sShortDate", "", picture, sizeof picture);
    std::printf("locale:      %s\n", LocaleName().c_str());
    std::printf("country:     %d\n", TF_GetWinCountryCode(0, 1));
    std::printf("short date:  %s  (month %d, day %d, year %d%s)\n", Shown(picture).c_str(), info.nMonthPos,
                info.nDayPos, info.nYearPos, complete ? "" : "; incomplete: texts cannot be parsed");
    std::printf("clock:       %s\n", info.b24Hour ? "24-hour" : "12-hour");
    return 0;
}

// The keys `intl init` writes, in this order.
const char* const kIntlKeys[] = {"sShortDate", "sLongDate", "sTimeFormat", "s1159", "s2359", "iTime", "iCountry"};

}  // namespace

int RunDate(int argc, char** argv) {
    int n = 0;
    char* args[4] = {};
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            PrintDateUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--raw") == 0) {
            g_raw = true;
        } else if (n < 4) {
            args[n++] = argv[i];
        } else {
            n = 5;
        }
    }
    const char* what = n > 0 ? args[0] : "";
    __int64 t = 0;
    if (std::strcmp(what, "show") == 0 && n <= 2) {
        if (n == 1) {
            t = CTime::GetCurrentTime().GetTime();
        } else if (!ParseEpoch(args[1], t)) {
            std::fprintf(stderr, "xwth date show: '%s' is not @EPOCH (seconds since 1970 UTC)\n", args[1]);
            return 2;
        }
        return Show(t);
    }
    if (std::strcmp(what, "format") == 0 && n == 3) {
        if (!ParseEpoch(args[1], t)) {
            std::fprintf(stderr, "xwth date format: '%s' is not @EPOCH (seconds since 1970 UTC)\n", args[1]);
            return 2;
        }
        const CString text = TF_GetFormattedDate(CTime(t), args[2]);
        if (text.IsEmpty()) {
            std::fprintf(stderr, "xwth date format: no text for @%lld\n", static_cast<long long>(t));
            return 1;
        }
        std::printf("%s\n", Shown(text).c_str());
        return 0;
    }
    if (std::strcmp(what, "parse") == 0 && n == 2) {
        t = TF_TimeFromStrShort(args[1]);
        if (t == 0) {
            std::printf("0  (the text cannot be read in the regional order)\n");
            return 1;
        }
        if (t == -1) {
            std::printf("-1  (the date and time cannot be represented)\n");
            return 1;
        }
        std::printf("%lld  (local %s)\n", static_cast<long long>(t), LocalText(t).c_str());
        return 0;
    }
    if (std::strcmp(what, "info") == 0 && n == 1) {
        return Info();
    }
    PrintDateUsage(stderr);
    return 2;
}

// Writes every key with the value a reader sees now: the user's where WIN.INI
// has one, else the locale's. With --force the locale's values replace the
// user's.
int RunIntl(int argc, char** argv) {
    bool force = false;
    bool init = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            PrintDateUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--force") == 0) {
            force = true;
        } else if (std::strcmp(argv[i], "init") == 0 && !init) {
            init = true;
        } else {
            PrintDateUsage(stderr);
            return 2;
        }
    }
    if (!init) {
        PrintDateUsage(stderr);
        return 2;
    }
    for (const char* key : kIntlKeys) {
        if (force && !WriteProfileStringA("intl", key, NULL)) {
            std::fprintf(stderr, "xwth intl init: cannot write WIN.INI (error %lu)\n",
                         static_cast<unsigned long>(GetLastError()));
            return 1;
        }
        char value[128];
        GetProfileStringA("intl", key, "", value, sizeof value);
        if (!WriteProfileStringA("intl", key, value)) {
            std::fprintf(stderr, "xwth intl init: cannot write WIN.INI (error %lu)\n",
                         static_cast<unsigned long>(GetLastError()));
            return 1;
        }
        std::printf("%s=%s\n", key, Shown(value).c_str());
    }
    return 0;
}

void PrintDateTexts(FILE* out) {
    const CTime now = CTime::GetCurrentTime();
    std::fprintf(out, "date texts of this moment (%s):\n", LocaleName().c_str());
    PrintLine(out, "TF_GetDateStr", TF_GetDateStr(now, 0));
    PrintLine(out, "TF_GetLongDateStr", TF_GetLongDateStr(now, 0));
    PrintLine(out, "TF_GetTimeStr", TF_GetTimeStr(now, 0, 0));
    // The short date read back: its local midnight.
    const __int64 midnight = TF_TimeFromStrShort(TF_GetDateStr(now, 0));
    char parsed[96];
    std::snprintf(parsed, sizeof parsed, "%lld  (%s, the short date read back)", static_cast<long long>(midnight),
                  LocalText(midnight).c_str());
    PrintLine(out, "TF_TimeFromStrShort", parsed);
}

}  // namespace xwth_tool
