// _com_error and _com_issue_error.
#include <comdef.h>

#include <cstdio>
#include <cstring>

namespace {

struct KnownError {
    HRESULT hr;
    const char* text;
};
constexpr KnownError kKnownErrors[] = {
    {E_FAIL, "Unspecified error"},
    {E_INVALIDARG, "The parameter is incorrect."},
    {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_UNEXPECTED, "Catastrophic failure"},
};

}  // namespace

_com_error::_com_error(HRESULT hr, IErrorInfo*, bool) noexcept : m_hresult(hr), m_szMsg{} {}
_com_error::_com_error(const _com_error& that) noexcept : m_hresult(that.m_hresult), m_szMsg{} {}
_com_error& _com_error::operator=(const _com_error& that) noexcept {
    m_hresult = that.m_hresult;
    m_szMsg[0] = '\0';
    return *this;
}
_com_error::~_com_error() = default;

WORD _com_error::WCode() const noexcept {
    const ULONG code = static_cast<ULONG>(m_hresult);
    const bool itf = (code & 0xFFFF0000u) == 0x80040000u;  // FACILITY_ITF, severity error
    return itf && (code & 0xFFFFu) >= 0x200 ? static_cast<WORD>((code & 0xFFFFu) - 0x200) : 0;
}

const char* _com_error::ErrorMessage() const {
    for (const KnownError& known : kKnownErrors) {
        if (known.hr == m_hresult) return known.text;
    }
    std::snprintf(m_szMsg, sizeof m_szMsg, "Unknown error 0x%08lX",
                  static_cast<unsigned long>(static_cast<ULONG>(m_hresult)));
    return m_szMsg;
}

void _com_issue_error(HRESULT hr) { throw _com_error(hr); }
