// The COM error exception _com_error, winport on POSIX.
#pragma once

#include <objidl.h>

struct IErrorInfo;

// Carries the failing HRESULT of a COM call; thrown by value and caught by
// reference: catch (_com_error& e) { e.Error(); }. The error-information
// object of the Windows class is not kept (always NULL here).
class WINPORT_API _com_error {
public:
    explicit _com_error(HRESULT hr, IErrorInfo* perrinfo = NULL, bool fAddRef = false) noexcept;
    _com_error(const _com_error& that) noexcept;
    _com_error& operator=(const _com_error& that) noexcept;
    virtual ~_com_error();

    [[nodiscard]] HRESULT Error() const noexcept { return m_hresult; }
    // The facility's code for FACILITY_ITF errors of 0x200 and more, else 0.
    [[nodiscard]] WORD WCode() const noexcept;
    [[nodiscard]] IErrorInfo* ErrorInfo() const noexcept { return NULL; }
    // A text for the code: "Unspecified error" and the like, or
    // "Unknown error 0x80030001" for a code without one.
    [[nodiscard]] const char* ErrorMessage() const;

private:
    HRESULT m_hresult;
    mutable char m_szMsg[64];
};

[[noreturn]] WINPORT_API void _com_issue_error(HRESULT hr);
