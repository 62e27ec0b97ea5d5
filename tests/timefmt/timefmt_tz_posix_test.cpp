// Texts and parsing in time zones set through TZ: west and east of UTC, in
// and out of daylight saving time, and parsing across the change.
#include <xwth/timefmt.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/testutil.h"

namespace {

const char* const kNewYork = "EST5EDT,M3.2.0,M11.1.0";
const char* const kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";

class TimeZoneTest : public ::testing::Test {
protected:
    TimeZoneTest() {
        WriteProfileStringA("intl", "sShortDate", "M/d/yyyy");
        WriteProfileStringA("intl", "s2359", "PM");
    }
    ~TimeZoneTest() override {
        m_tz.reset();
        _tzset();
    }
    void Zone(const char* tz) {
        m_tz.emplace("TZ", tz);
        _tzset();
    }

    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_winIni{"XWTH_WININI", m_dir.file("win.ini").c_str()};
    xwth_test::ScopedEnv m_lcAll{"LC_ALL", "en_US.UTF-8"};
    std::optional<xwth_test::ScopedEnv> m_tz;
};

TEST_F(TimeZoneTest, TextsInLocalTime) {
    const struct {
        const char* tz;
        __int64 t;
        const char* date;
        const char* time;
    } cases[] = {
        {kNewYork, 1105000000, "1/6/2005", "3:26 AM"},   // 08:26 UTC, EST (UTC-5)
        {kNewYork, 1120000000, "6/28/2005", "7:06 PM"},  // 23:06 UTC, EDT (UTC-4)
        {kBerlin, 1105000000, "1/6/2005", "9:26 AM"},    // CET (UTC+1)
        {kBerlin, 1120000000, "6/29/2005", "1:06 AM"},   // CEST (UTC+2): the next day
        {"UTC0", 1120000000, "6/28/2005", "11:06 PM"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Zone(cases[i].tz);
        EXPECT_STREQ(TF_GetDateStr(CTime(cases[i].t), 0), cases[i].date) << "case " << i;
        EXPECT_STREQ(TF_GetTimeStr(CTime(cases[i].t), 0, 0), cases[i].time) << "case " << i;
    }
}

TEST_F(TimeZoneTest, ParsingGivesLocalTime) {
    const struct {
        const char* tz;
        const char* text;
        __int64 want;
    } cases[] = {
        {kNewYork, "03/13/2021 pm 11:30", 1615696200},  // EST: 04:30 UTC the next day
        {kNewYork, "03/14/2021 pm 11:30", 1615779000},  // EDT since 2 a.m.: 23 hours later
        {kBerlin, "06/29/2005 1:06", 1120000000 - 40},  // CEST
        {kNewYork, "01/01/1970", 18000},
        {kBerlin, "01/01/1970", -1},                    // 1969-12-31 23:00 UTC
        {kBerlin, "01/01/1970 1:00", 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Zone(cases[i].tz);
        EXPECT_EQ(TF_TimeFromStrShort(cases[i].text), cases[i].want) << "case " << i;
    }
}

}  // namespace
