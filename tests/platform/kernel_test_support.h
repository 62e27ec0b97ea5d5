// Helpers shared by the kernel32, profile and C runtime suites: numbered
// names, file times, folder listings through the Win32 API and, on POSIX, environment
// guards.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

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

[[nodiscard]] inline bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// The names in a folder other than "." and "..", sorted, as FindFirstFileA
// and FindNextFileA give them; empty when the folder cannot be searched.
inline std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string n = fd.cFileName;
        if (n != "." && n != "..") {
            names.push_back(n);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

#if !defined(_WIN32)
// Sets (or with nullptr clears) an environment variable for one test and
// puts it back, time zone included.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Set(name, value);
    }
    ~EnvGuard() { Set(m_name.c_str(), m_old ? m_old->c_str() : nullptr); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    static void Set(const char* name, const char* value) {
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
        ::tzset();
    }

    std::string m_name;
    std::optional<std::string> m_old;
};
#endif

}  // namespace xwth_test
