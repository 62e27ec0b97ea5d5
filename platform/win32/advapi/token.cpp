// advapi32 access tokens: the process's own token and per-thread
// impersonation of it.
//
// A process here runs as one user, so a token only records the effective
// user and group it was opened for and the access its handle grants.
// Impersonation is a per-thread reference to a token's identity: it changes
// no POSIX permission (the identity is the process's own), outlives the
// token handle, and ends with RevertToSelf or the thread.
#include <windows.h>

#include "win32/handles.h"

#include <memory>
#include <unistd.h>

namespace winport {
namespace {

struct Identity {
    uid_t uid;
    gid_t gid;
};

class TokenObject final : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Token;
    TokenObject(std::shared_ptr<const Identity> identity, DWORD access)
        : Object(kKind), m_identity(std::move(identity)), m_access(access) {}
    const std::shared_ptr<const Identity>& identity() const { return m_identity; }
    DWORD access() const { return m_access; }

private:
    std::shared_ptr<const Identity> m_identity;
    DWORD m_access;
};

thread_local std::shared_ptr<const Identity> t_impersonating;

// The values Windows uses for its pseudo-handles.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
HANDLE const kCurrentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

BOOL NewToken(std::shared_ptr<const Identity> identity, DWORD access, PHANDLE TokenHandle) {
    *TokenHandle = RegisterObject(std::make_shared<TokenObject>(std::move(identity), access));
    return TRUE;
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HANDLE WINAPI GetCurrentProcess(void) { return kCurrentProcess; }

WINBASEAPI HANDLE WINAPI GetCurrentThread(void) { return kCurrentThread; }

WINBASEAPI BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
    if (ProcessHandle != kCurrentProcess) {
        SetLastError(ERROR_INVALID_HANDLE);  // no other process can be opened here
        return FALSE;
    }
    if (TokenHandle == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    return NewToken(std::make_shared<const Identity>(Identity{::geteuid(), ::getegid()}), DesiredAccess,
                    TokenHandle);
}

WINBASEAPI BOOL WINAPI OpenThreadToken(HANDLE ThreadHandle, DWORD DesiredAccess, BOOL OpenAsSelf,
                                       PHANDLE TokenHandle) {
    (void)OpenAsSelf;  // the thread's identity and the process's are the same
    if (ThreadHandle != kCurrentThread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (TokenHandle == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (!t_impersonating) {
        SetLastError(ERROR_NO_TOKEN);
        return FALSE;
    }
    return NewToken(t_impersonating, DesiredAccess, TokenHandle);
}

WINBASEAPI BOOL WINAPI ImpersonateLoggedOnUser(HANDLE hToken) {
    auto token = LookupOrFail<TokenObject>(hToken);
    if (!token) return FALSE;
    if ((token->access() & (TOKEN_QUERY | TOKEN_DUPLICATE)) != (TOKEN_QUERY | TOKEN_DUPLICATE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    t_impersonating = token->identity();
    return TRUE;
}

WINBASEAPI BOOL WINAPI RevertToSelf(void) {
    t_impersonating.reset();
    return TRUE;
}

}  // extern "C"
