// CProgramCheckUser: impersonation of the process's own token for a scope.
#include <windows.h>

#include <xwth/process.h>

namespace {

// Every token right but adjusting the session id.
constexpr DWORD kTokenAccess = 0xF00FF;

}  // namespace

CProgramCheckUser::CProgramCheckUser() : m_hToken(NULL) {
    HANDLE hToken = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), kTokenAccess, &hToken)) return;
    if (!ImpersonateLoggedOnUser(hToken)) {
        CloseHandle(hToken);
        return;
    }
    m_hToken = hToken;
}

CProgramCheckUser::CProgramCheckUser(const CProgramCheckUser& other) noexcept : m_hToken(other.m_hToken) {
    other.m_hToken = NULL;
}

CProgramCheckUser& CProgramCheckUser::operator=(const CProgramCheckUser& other) noexcept {
    if (this == &other) return *this;
    if (other.m_hToken == NULL) {
        End();
    } else {
        // The thread goes on impersonating, now under the source's token.
        if (m_hToken != NULL) CloseHandle(m_hToken);
        m_hToken = other.m_hToken;
        other.m_hToken = NULL;
    }
    return *this;
}

CProgramCheckUser::~CProgramCheckUser() {
    End();
}

void CProgramCheckUser::End() noexcept {
    if (m_hToken != NULL) {
        RevertToSelf();
        CloseHandle(m_hToken);
        m_hToken = NULL;
    }
}
