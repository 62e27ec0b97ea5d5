// Known divergences of Wine from documented Windows behaviour, marked in tests.
#pragma once
//
// The Windows build runs its conformance suites under Wine. Where Wine does
// not (yet) behave as Windows is documented to, the check stays in the test,
// written as a TODO_WINE_* macro with the reason:
//
//   TODO_WINE_EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError(),
//                       "Wine leaves the last error alone here") << "case " << i;
//
// Under Wine the check is expected to fail: the divergence is printed and
// recorded as a test property, and the test fails only if Wine agrees after
// all, so a fixed Wine shows up and the mark can go. On Windows and in the
// Linux build (winport) the check is an ordinary strict EXPECT_*. A null
// reason means "Wine agrees", so a table can carry the reason in the rows
// that need one and check every row with the same line.
//
// A call that crashes Wine is guarded instead, its checks kept in place:
//
//   if (!XWTH_CRASHES_UNDER_WINE("GetPrivateProfileSectionA writes before the buffer for size 0")) {
//       EXPECT_EQ(GetPrivateProfileSectionA("s", buf, 0, ini), 0u);
//   }

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#if defined(_WIN32)
#  include <windows.h>
#endif

namespace xwth_test {

// Wine's ntdll exports wine_get_version; Windows' does not.
[[nodiscard]] inline const char* WineVersion() {
#if defined(_WIN32)
    static const char* const version = [] () -> const char* {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        if (ntdll == nullptr) {
            return nullptr;
        }
        using GetVersionFn = const char*(__cdecl*)();
        const auto fn = reinterpret_cast<GetVersionFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_version")));
        return fn != nullptr ? fn() : nullptr;
    }();
    return version;
#else
    return nullptr;
#endif
}

[[nodiscard]] inline bool RunningUnderWine() { return WineVersion() != nullptr; }

namespace detail {

inline void NoteWineDivergence(const char* file, int line, const std::string& what,
                               const char* reason) {
    std::printf("%s:%d: todo_wine: %s\n    (%s)\n", file, line, what.c_str(), reason);
    std::fflush(stdout);
    ::testing::Test::RecordProperty("todo_wine", what + " (" + reason + ")");
}

// The outcome of a marked check: strict outside Wine; under Wine a failure is
// the known divergence and a success is the news.
inline ::testing::AssertionResult TodoWine(const char* file, int line, const char* check,
                                           const char* reason,
                                           const ::testing::AssertionResult& result) {
    if (reason == nullptr) {
        return result;
    }
    if (!RunningUnderWine()) {
        if (result) {
            return result;
        }
        return ::testing::AssertionFailure()
               << result.message() << "\n(Wine differs here too: " << reason << ")";
    }
    if (result) {
        return ::testing::AssertionFailure()
               << check << " holds under Wine " << WineVersion()
               << " although it is marked as a Wine divergence (" << reason
               << "): remove the TODO_WINE mark";
    }
    NoteWineDivergence(file, line, check, reason);
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult IsTrue(const char* expression, bool value, bool want) {
    if (value == want) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "Value of: " << expression << "\n  Actual: "
                                         << (value ? "true" : "false")
                                         << "\nExpected: " << (want ? "true" : "false");
}

}  // namespace detail

// For calls that crash Wine (or hang it) rather than answer wrongly: true,
// and the divergence noted, only under Wine. Use XWTH_CRASHES_UNDER_WINE.
[[nodiscard]] inline bool CrashesUnderWineAt(const char* file, int line, const char* reason) {
    if (!RunningUnderWine()) {
        return false;
    }
    detail::NoteWineDivergence(file, line, "skipped: the call crashes Wine", reason);
    return true;
}

}  // namespace xwth_test

#define XWTH_CRASHES_UNDER_WINE(reason) ::xwth_test::CrashesUnderWineAt(__FILE__, __LINE__, reason)

// Built like gtest's own EXPECT_* (same messages, same handling of mixed
// signedness), so that a failure message can be streamed after the macro.
#define XWTH_TODO_WINE_(check, result, reason)                                             \
    GTEST_AMBIGUOUS_ELSE_BLOCKER_                                                          \
    if (const ::testing::AssertionResult xwth_todo_wine_ar_ =                              \
            ::xwth_test::detail::TodoWine(__FILE__, __LINE__, check, reason, (result)))    \
        ;                                                                                  \
    else                                                                                   \
        GTEST_NONFATAL_FAILURE_(xwth_todo_wine_ar_.failure_message())

#define TODO_WINE_EXPECT_EQ(expected, actual, reason)                                      \
    XWTH_TODO_WINE_("EXPECT_EQ(" #expected ", " #actual ")",                               \
                    ::testing::internal::EqHelper::Compare(#expected, #actual, expected,   \
                                                           actual),                        \
                    reason)
#define TODO_WINE_EXPECT_NE(a, b, reason)                                                  \
    XWTH_TODO_WINE_("EXPECT_NE(" #a ", " #b ")",                                           \
                    ::testing::internal::CmpHelperNE(#a, #b, a, b), reason)
#define TODO_WINE_EXPECT_STREQ(expected, actual, reason)                                   \
    XWTH_TODO_WINE_("EXPECT_STREQ(" #expected ", " #actual ")",                            \
                    ::testing::internal::CmpHelperSTREQ(#expected, #actual, expected,      \
                                                        actual),                           \
                    reason)
#define TODO_WINE_EXPECT_TRUE(condition, reason)                                           \
    XWTH_TODO_WINE_("EXPECT_TRUE(" #condition ")",                                         \
                    ::xwth_test::detail::IsTrue(#condition, static_cast<bool>(condition),  \
                                                true),                                     \
                    reason)
#define TODO_WINE_EXPECT_FALSE(condition, reason)                                          \
    XWTH_TODO_WINE_("EXPECT_FALSE(" #condition ")",                                        \
                    ::xwth_test::detail::IsTrue(#condition, static_cast<bool>(condition),  \
                                                false),                                    \
                    reason)
