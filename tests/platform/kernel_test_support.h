// Helpers shared by the kernel32, profile and C runtime suites: numbered
// names, file times, a call's result with its last error, folder listings
// through the Win32 API and, on POSIX, environment guards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "support/testutil.h"

#if !defined(_WIN32)
#  include <cstdlib>
#  include <ctime>
#endif

namespace xwth_test {

// prefix + n (+ infix + m): built by appending, which also keeps GCC 12's
// -Wrestrict false alarm on "literal" + std::to_string() away.
inline std::string Numbered(const char* prefix, int n, const char* infix = nullptr, int m = 0) {
    std::string s(prefix);
    s += std::to_string(n);
    if (infix != nullptr) {
        s += infix;
        s += std::to_string(m);
    }
    return s;
}

[[nodiscard]] inline ULONGLONG Ticks(const FILETIME& ft) {
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

[[nodiscard]] inline bool SameTime(const FILETIME& a, const FILETIME& b) { return Ticks(a) == Ticks(b); }

// What a call returned and the last error it left, compared and printed as
// one value:
//   EXPECT_EQ(WITH_LAST_ERROR(DeleteFileA(p)), Returns(FALSE, ERROR_ACCESS_DENIED)) << "case " << i;
// The last error is 0xdeadbeef before the call, printed as "untouched".
template <class T>
struct Outcome {
    T value;
    DWORD error;
};

template <class T>
[[nodiscard]] Outcome<T> Returns(T value, DWORD error) { return {value, error}; }

// The right side's value is taken as the left side's type (FALSE as BOOL, 0u as DWORD).
template <class T, class U>
[[nodiscard]] bool operator==(const Outcome<T>& a, const Outcome<U>& b) {
    return a.value == static_cast<T>(b.value) && a.error == b.error;
}

template <class T>
std::ostream& operator<<(std::ostream& os, const Outcome<T>& o) {
    os << "{" << +o.value << ", last error ";
    return (o.error == 0xdeadbeef ? os << "untouched" : os << o.error) << "}";
}

template <class Call>
[[nodiscard]] auto CallWithLastError(Call call) {
    SetLastError(0xdeadbeef);
    const auto value = call();
    return Outcome<std::remove_const_t<decltype(value)>>{value, GetLastError()};
}

#define WITH_LAST_ERROR(call) ::xwth_test::CallWithLastError([&] { return (call); })

// Every name FindFirstFileA and FindNextFileA give for a pattern, sorted;
// *error is FindFirstFileA's error, 0 when it succeeded. The search must end
// with ERROR_NO_MORE_FILES.
inline std::vector<std::string> Find(const std::string& pattern, DWORD* error = nullptr) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    const auto first = WITH_LAST_ERROR(FindFirstFileA(pattern.c_str(), &fd));
    if (error != nullptr) {
        *error = first.value == INVALID_HANDLE_VALUE ? first.error : 0;
    }
    if (first.value == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.emplace_back(fd.cFileName);
    } while (FindNextFileA(first.value, &fd));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES)) << pattern;
    EXPECT_TRUE(FindClose(first.value)) << pattern;
    std::sort(names.begin(), names.end());
    return names;
}

// The names in a folder other than "." and "..", sorted; empty when the
// folder cannot be searched.
inline std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names = Find(folder + "\\*");
    std::erase_if(names, [](const std::string& n) { return n == "." || n == ".."; });
    return names;
}

#if !defined(_WIN32)
// Sets (or with nullptr clears) an environment variable for one test and
// puts it back, time zone included.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : m_env(std::in_place, name, value) { ::tzset(); }
    ~EnvGuard() {
        m_env.reset();
        ::tzset();
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::optional<ScopedEnv> m_env;
};
#endif

}  // namespace xwth_test
