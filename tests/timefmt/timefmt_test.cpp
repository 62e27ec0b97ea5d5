// The TF_ family: regional settings caches, date order, texts of a time
// value, durations and the short date-and-time parser. Both builds: every
// setting a test relies on is written into WIN.INI's [intl] first; the
// locale is en-US and the zone UTC.
#include <xwth/timefmt.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/testutil.h"
#include "support/wine.h"

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbctype.h>

namespace {

// 2005-03-18 01:58:31 UTC, a Friday.
const __int64 kFriday = 1111111111;

class TimeFmtTest : public ::testing::Test {
protected:
    TimeFmtTest() {
        _tzset();
#if defined(_WIN32)
        // [intl] stands for the user's regional settings, which outlive the
        // test (later programs format with them): put back what was there.
        for (const char* key : kKeys) {
            char value[128];
            GetProfileStringA("intl", key, "\x01", value, sizeof value);
            m_saved.emplace_back(key, value);
        }
#endif
        Set("sShortDate", "M/d/yyyy");
        Set("iTime", "0");
        Set("s2359", "PM");
        Set("iCountry", "1");
    }
    ~TimeFmtTest() override {
        for (const auto& [key, value] : m_saved) {
            WriteProfileStringA("intl", key, value == "\x01" ? NULL : value.c_str());
        }
        _setmbcp(1252);
    }
    static void Set(const char* key, const char* value) { ASSERT_TRUE(WriteProfileStringA("intl", key, value)); }

    static constexpr const char* kKeys[] = {"sShortDate", "sTimeFormat", "iTime", "s2359", "iCountry"};
    std::vector<std::pair<const char*, std::string>> m_saved;

#if !defined(_WIN32)
    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_winIni{"XWTH_WININI", m_dir.file("win.ini").c_str()};
    xwth_test::ScopedEnv m_lcAll{"LC_ALL", "en_US.UTF-8"};
    xwth_test::ScopedEnv m_tz{"TZ", "UTC"};
#endif
};

// The local calendar fields of a time value, "2005-03-15 14:30", or the
// value itself when it is 0 or -1.
std::string Local(__int64 value) {
    if (value == 0 || value == -1) {
        return std::to_string(value);
    }
    const __time64_t t = value;
    struct tm local = {};
    if (_localtime64_s(&local, &t) != 0) {
        return "(no local time)";
    }
    char buffer[32];
    strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return buffer;
}

TEST_F(TimeFmtTest, CountryCodeIsCachedUntilReload) {
    Set("iCountry", "2");
    EXPECT_EQ(TF_GetWinCountryCode(0, 1), 2);
    EXPECT_EQ(TF_GetWinCountryCode(1, 0), 1);  // Canada as the United States
    Set("iCountry", "49");
    EXPECT_EQ(TF_GetWinCountryCode(0, 0), 2);  // the cache, not the profile
    EXPECT_EQ(TF_GetWinCountryCode(1, 1), 49);
    EXPECT_EQ(TF_GetWinCountryCode(0, 0), 49);
}

TEST_F(TimeFmtTest, DateOrderFromTheShortDatePicture) {
    const struct {
        const char* picture;
        const char* iTime;
        INT_DATETIMEINFO want;
        int result;
    } cases[] = {
        {"M/d/yy", "0", {1, 2, 3, 0}, 1},     {"dd.MM.yyyy", "1", {2, 1, 3, 1}, 1},
        {"yyyy-MM-dd", "2", {2, 3, 1, 1}, 1}, {"MM/yyyy", "0", {1, 0, 2, 0}, 0},
        {"", "1", {0, 0, 0, 1}, 0},           {"D/m/Y", "0", {2, 1, 3, 0}, 1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Set("sShortDate", cases[i].picture);
        Set("iTime", cases[i].iTime);
        INT_DATETIMEINFO info = {9, 9, 9, 9};
        EXPECT_EQ(TF_GetDateTimeInfo(&info, 1), cases[i].result) << "case " << i;
        const INT_DATETIMEINFO& w = cases[i].want;
        EXPECT_EQ((std::to_string(info.nMonthPos) + std::to_string(info.nDayPos) + std::to_string(info.nYearPos) +
                   std::to_string(info.b24Hour)),
                  (std::to_string(w.nMonthPos) + std::to_string(w.nDayPos) + std::to_string(w.nYearPos) +
                   std::to_string(w.b24Hour)))
            << "case " << i;
    }
    // Without bReload the cache ("D/m/Y", the last row) answers; a NULL
    // record returns before the cache is touched.
    Set("sShortDate", "M/d/yy");
    INT_DATETIMEINFO info = {};
    EXPECT_EQ(TF_GetDateTimeInfo(&info, 0), 1);
    EXPECT_EQ(info.nMonthPos, 2);
    EXPECT_EQ(TF_GetDateTimeInfo(NULL, 1), 0);
    EXPECT_EQ(TF_GetDateTimeInfo(&info, 0), 1);
    EXPECT_EQ(info.nMonthPos, 2);
    EXPECT_EQ(TF_GetDateTimeInfo(&info, 1), 1);
    EXPECT_EQ(info.nMonthPos, 1);
}

TEST_F(TimeFmtTest, TextsOfATimeValue) {
    const CTime t(kFriday);
    const struct {
        CString got;
        const char* want;
    } cases[] = {
        {TF_GetDateStr(t, 0), "3/18/2005"},
        {TF_GetLongDateStr(t, 0), "Friday, March 18, 2005"},
        {TF_GetMonthLong(t), "March"},
        {TF_GetMonthShort(t), "Mar"},
        {TF_GetWeekDayLong(t), "Friday"},
        {TF_GetWeekDayShort(t), "Fri"},
        {TF_GetFormattedDate(t, "yyyy-MM-dd ddd"), "2005-03-18 Fri"},
        {TF_GetFormattedDate(t, NULL), "3/18/2005"},
        {TF_GetFormattedDate(t, ""), "3/18/2005"},
        {TF_GetTimeStr(t, 0, 0), "1:58 AM"},
        {TF_GetTimeStr(t, 0, 1), "1:58 A"},
        {TF_GetTimeStr(CTime(kFriday + 12 * 3600), 0, 1), "1:58 P"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_STREQ(cases[i].got, cases[i].want) << "case " << i;
    }
    // Beyond 3000-12-31 23:59:59 UTC the breakdown fails: no text.
    const char* const beyond = "Wine's _localtime64_s accepts times after the year 3000";
    TODO_WINE_EXPECT_STREQ("", static_cast<const char*>(TF_GetDateStr(CTime(32535216000LL), 0)), beyond);
    TODO_WINE_EXPECT_STREQ("", static_cast<const char*>(TF_GetTimeStr(CTime(32535216000LL), 0, 0)), beyond);
}

// A 24-hour time keeps its last characters even with the short marker.
TEST_F(TimeFmtTest, ShortMarkerLeavesTwentyFourHourTimes) {
    Set("sTimeFormat", "HH:mm:ss");
    TODO_WINE_EXPECT_STREQ("01:58", static_cast<const char*>(TF_GetTimeStr(CTime(kFriday), 0, 1)),
                           "Wine's GetTimeFormatA does not see an [intl] change made in the same process");
}

TEST_F(TimeFmtTest, TheInvalidTimeShowsNowInUtc) {
    SYSTEMTIME before, after;
    char a[64], b[64];
    GetSystemTime(&before);
    const CString date = TF_GetDateStr(CTime(-1), 0);
    GetSystemTime(&after);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &before, NULL, a, sizeof a);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &after, NULL, b, sizeof b);
    EXPECT_TRUE(date == a || date == b) << date;
    EXPECT_FALSE(TF_GetTimeStr(CTime(-1), 0, 0).IsEmpty());
}

TEST_F(TimeFmtTest, Durations) {
    const struct {
        __int64 seconds;
        const char* want;
    } cases[] = {
        {0, "0:00:00"},       {59, "0:00:59"}, {90061, "25:01:01"}, {-61, "0:-1:-1"},
        {-3661, "-1:-1:-1"}, {3600, "1:00:00"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CTimeSpan span(cases[i].seconds);
        EXPECT_STREQ(TF_GetDurationStr(span), cases[i].want) << "case " << i;
    }
}

TEST_F(TimeFmtTest, ParsesInTheRegionalOrder) {
    const struct {
        const char* picture;
        const char* pm;
        const char* text;
        const char* want;
    } cases[] = {
        {"M/d/yyyy", "PM", "03/15/2005", "2005-03-15 00:00"},
        {"M/d/yyyy", "PM", "03/15/2005 pm 2:30", "2005-03-15 14:30"},
        {"M/d/yyyy", "PM", "03/15/2005 pm 11:30", "2005-03-15 23:30"},
        {"M/d/yyyy", "PM", "03/15/2005 pm 12:30", "2005-03-15 12:30"},
        {"M/d/yyyy", "PM", "03/15/2005 12:30", "2005-03-15 00:30"},
        {"M/d/yyyy", "pm", "03/15/2005 PM 2:30", "2005-03-15 14:30"},     // case is ignored
        {"M/d/yyyy", "PM", "03/15/2005 2pm:30", "2005-03-15 14:30"},      // joined to the hour
        {"M/d/yyyy", "PM", "03/15/2005 2:30 pm", "2005-03-15 02:30"},     // after the minutes: not seen
        {"M/d/yyyy", "PM", "03/15/2005 2:75", "2005-03-15 03:15"},
        {"M/d/yyyy", "PM", "04/31/2005", "2005-05-01 00:00"},
        {"M/d/yyyy", "PM", "03/15/05", "1970-03-15 00:00"},
        {"M/d/yyyy", "PM", "03/15/99", "1999-03-15 00:00"},
        {"M/d/yyyy", "PM", "03/15/105", "2005-03-15 00:00"},
        {"M/d/yyyy", "PM", "03/15/1950", "1970-03-15 00:00"},
        {"M/d/yyyy", "PM", "3 -- 15,,2005\r", "2005-03-15 00:00"},
        {"M/d/yyyy", "", "03/15/2005 12:30", "2005-03-15 00:30"},        // no designator: never afternoon
        {"M/d/yyyy", "", "03/15/2005 pm 2:30", "2005-03-15 02:30"},
        {"dd.MM.yyyy", "PM", "15.03.2005", "2005-03-15 00:00"},
        {"dd.MM.yyyy", "PM", "15-03-2005", "2005-03-15 00:00"},
        {"dd.MM.yyyy", "PM", "15 / 03 / 2005", "2005-03-15 00:00"},
        {"yyyy-MM-dd", "PM", "2005-03-15\t9:05", "2005-03-15 09:05"},
        {"M/d/yyyy", "PM", "12/31/3001", "-1"},
        {"M/d/yyyy", "PM", "03/15", "0"},
        {"M/d/yyyy", "PM", "13/15/2005", "0"},
        {"M/d/yyyy", "PM", "00/15/2005", "0"},
        {"M/d/yyyy", "PM", "03/32/2005", "0"},
        {"M/d/yyyy", "PM", "03/00/2005", "0"},
        {"M/d/yyyy", "PM", "03/15/0", "0"},
        {"M/d/yyyy", "PM", "03/15/2005 pm", "0"},
        {"M/d/yyyy", "PM", "03/15/2005 2", "0"},
        {"M/d/yyyy", "PM", ":: / ,,", "0"},
        {"M/d/yyyy", "PM", "", "0"},
        {"MM/yyyy", "PM", "03/15/2005", "0"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Set("sShortDate", cases[i].picture);
        Set("s2359", cases[i].pm);
        EXPECT_EQ(Local(TF_TimeFromStrShort(cases[i].text)), cases[i].want) << "case " << i << ": " << cases[i].text;
    }
    EXPECT_EQ(TF_TimeFromStrShort(NULL), 0);
    // The caller's text is left as it was.
    char text[] = "03/15/2005 PM 2:30";
    TF_TimeFromStrShort(text);
    EXPECT_STREQ(text, "03/15/2005 PM 2:30");
}

// Under code page 932, 0x95 0x5C is one character: the backslash in it cuts
// no token, so "2\x95\x5C" "30" is one token and the minute is missing.
TEST_F(TimeFmtTest, DoubleByteCharactersAreNotSplit) {
    ASSERT_EQ(_setmbcp(932), 0);
    EXPECT_EQ(TF_TimeFromStrShort("03/15/2005 2\x95\x5C" "30"), 0);
    _setmbcp(1252);
    EXPECT_EQ(Local(TF_TimeFromStrShort("03/15/2005 2\x95\x5C" "30")), "2005-03-15 02:30");
}

}  // namespace
