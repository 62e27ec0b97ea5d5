// Test helpers for the framework suites: run code that should throw a
// framework exception pointer, check its class, and free it.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <string>

#include <afx.h>

#include <gtest/gtest.h>

namespace afx_test {

// Success when fn throws an E* (which is then deleted); a failure naming what
// happened otherwise.
template <class E, class Fn>
::testing::AssertionResult Throws(Fn&& fn) {
    try {
        fn();
    } catch (CException* e) {
        const bool bExpected = dynamic_cast<E*>(e) != nullptr;
        CString name = e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
        if (bExpected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "threw " << name.GetString();
    }
    return ::testing::AssertionFailure() << "threw nothing";
}

// What a CFileException* thrown by fn carried; thrown is false when fn
// returned normally.
struct FileError {
    bool thrown = false;
    int cause = CFileException::none;
    LONG lOsError = 0;
    CString strFileName;
};

template <class Fn>
FileError CatchFileError(Fn&& fn) {
    FileError result;
    try {
        fn();
    } catch (CFileException* e) {
        result.thrown = true;
        result.cause = e->m_cause;
        result.lOsError = e->m_lOsError;
        result.strFileName = e->m_strFileName;
        e->Delete();
    }
    return result;
}

// Sets TZ (NULL removes it) for the C runtime's local time for one scope and
// restores the old value afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) {
        const char* old = getenv("TZ");
        m_bHadOld = old != nullptr;
        if (m_bHadOld) m_old = old;
        Set(tz);
    }
    ~ScopedTimeZone() { Set(m_bHadOld ? m_old.c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    static void Set(const char* tz) {
#ifdef _WIN32
        _putenv_s("TZ", tz != nullptr ? tz : "");
        _tzset();
#else
        if (tz != nullptr)
            setenv("TZ", tz, 1);
        else
            unsetenv("TZ");
        tzset();
#endif
    }

    bool m_bHadOld;
    std::string m_old;
};

}  // namespace afx_test
