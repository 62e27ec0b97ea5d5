// Shared pieces of the MIME writer tests: zones, times, log capture and the
// sample message that the golden files hold.
#pragma once

#include <xwth/mime.h>

#include <TQLog.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace mime_test {

// TZ for one scope, read by the runtime at once (the writer reads it once
// per process, so a test that changes it calls _tzset itself).
struct Zone {
    explicit Zone(const char* tz) : env("TZ", tz) { _tzset(); }
    ~Zone() { _tzset(); }
    xwth_test::ScopedEnv env;
};

inline FILETIME MakeFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    FILETIME ft = {};
    EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
    return ft;
}

// Every log line while it lives, as "CATEGORY|text".
class LogCapture {
public:
    LogCapture() { TQLogSetSink(&LogCapture::Catch, this); }
    ~LogCapture() { TQLogSetSink(NULL, NULL); }
    std::vector<std::string> lines;

private:
    static void Catch(void* context, const char* category, const char* text) {
        static_cast<LogCapture*>(context)->lines.push_back(std::string(category) + "|" + text);
    }
};

// The message of the golden file tests/data/mime/message.eml, dated
// 1980-01-02 02:03:55 UTC and written with TZ=GMT0.
inline void FillSample(CMIMEMessage& msg) {
    FILETIME ft = MakeFileTime(1980, 1, 2, 2, 3, 55);
    CMIMEHeader& header = msg.GetHeader();
    header.AddFrom("ann@example.org", ft);
    header.AddDateField(ft);
    header.AddSender("Ann Example", "ann@example.org");
    CStringArray to;
    to.Add("bob@example.org");
    to.Add("Cy <cy@example.org>");
    to.Add("dee@example.org");
    header.AddRecipients(to);
    header.AddSubject("Quarterly figures");
    header.AddSubject(NULL);  // kept in the list, never written
    header.AddMIMEVersion();
    header.AddContentType(NULL);
    header.AddImportance("high");
    header.AddField("X-Folded:", "first")->AddNewLine("second");
    msg.GetBody().SetPlainText("Dear Bob,\r\nFrom here on the figures are final.\r\n\r\nAnn");
}

inline std::string Golden(const char* name) {
    return xwth_test::ReadFileBytes(std::string(XWTH_TEST_DATA) + "/mime/" + name);
}

}  // namespace mime_test
