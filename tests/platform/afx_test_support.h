// Test helpers for the framework suites: run code that should throw a
// framework exception pointer, check its class, and free it; set TZ for a scope.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>

#include <afx.h>

#include <gtest/gtest.h>

#include "support/testutil.h"

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
// returned normally. File names compare with either path separator.
struct FileError {
    bool thrown = false;
    int cause = CFileException::none;
    LONG lOsError = 0;
    CString strFileName;
};

inline std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

inline bool operator==(const FileError& a, const FileError& b) {
    return a.thrown == b.thrown && a.cause == b.cause && a.lOsError == b.lOsError &&
           Slashes(a.strFileName.GetString()) == Slashes(b.strFileName.GetString());
}

inline void PrintTo(const FileError& e, std::ostream* os) {
    *os << (e.thrown ? "thrown" : "not thrown") << ", cause " << e.cause << ", error " << e.lOsError << ", file \""
        << e.strFileName.GetString() << "\"";
}

template <class Fn>
FileError CatchFileError(Fn&& fn) {
    FileError result;
    try {
        fn();
    } catch (CFileException* e) {
        result = {true, e->m_cause, e->m_lOsError, e->m_strFileName};
        e->Delete();
    }
    return result;
}

// An element for the typed pointer collections.
struct Node : CObject {
    explicit Node(int n) : id(n) {}
    int id;
};

// Sets TZ (NULL removes it) for the C runtime's local time for one scope.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) : m_env(std::in_place, "TZ", tz) { Apply(); }
    ~ScopedTimeZone() {
        m_env.reset();
        Apply();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    static void Apply() {
#ifdef _WIN32
        _tzset();
#else
        tzset();
#endif
    }

    std::optional<xwth_test::ScopedEnv> m_env;
};

}  // namespace afx_test
