// Process services: the single-instance program lock, impersonation of the
// process's own token for a scope, and the executable's name.
//   ZUZA_ProgramLock   a named mutex held as a "this program runs" marker
//   CProgramLock       the same, taken at construction on request
//   CProgramCheckUser  impersonates the process's token for its lifetime
//   XWGetExeName       the application's executable file name
#pragma once

#include <afx.h>

#include <xwth/export.h>

// Owns m_hMutex, a handle to the named mutex, from a successful Lock until
// Unlock or destruction. Closing the handle never releases ownership that a
// waiting Lock took: that belongs to the waiting thread until it ends.
//
// Copies: a copy gets its own duplicate of the source's handle (the same
// mutex), so both objects report OwnsLock() and each closes only its own
// handle; the mutex stays in existence while either holds it.
class XWTH_API ZUZA_ProgramLock {
public:
    ZUZA_ProgramLock() noexcept : m_hMutex(NULL) {}
    ZUZA_ProgramLock(const ZUZA_ProgramLock& other);
    ZUZA_ProgramLock& operator=(const ZUZA_ProgramLock& other);
    virtual ~ZUZA_ProgramLock();

    [[nodiscard]] virtual BOOL OwnsLock() const;
    // Also true when no lock was tried or creating the mutex failed.
    [[nodiscard]] virtual BOOL IsLockedElsewhere();
    // Names the mutex pszName, else the application's name, else
    // "TQProgLock"; bGlobal puts it in the global namespace as
    // "Global\G_<name>". A name is cut to 255 characters with the prefix.
    // bWait first waits for a thread of another instance that owns the mutex
    // through such a wait. True when this object now holds a handle, or when
    // the name was refused as a path (ERROR_PATH_NOT_FOUND).
    virtual bool Lock(const char* pszName, bool bGlobal, bool bWait);
    virtual void Unlock();

    HANDLE m_hMutex;
};

class XWTH_API CProgramLock : public ZUZA_ProgramLock {
public:
    // bLock: take the application's lock at once (not global, not waiting).
    explicit CProgramLock(bool bLock = false);
    CProgramLock(const CProgramLock& other) = default;
    CProgramLock& operator=(const CProgramLock& other) = default;
    ~CProgramLock() override;
};

// Impersonates the process's own access token on the constructing thread
// from construction to destruction; m_hToken is NULL when that failed.
// Destroy it on the thread that built it: RevertToSelf acts on the caller.
//
// Copies take the impersonation over: the copy gets the token and the source
// is left holding nothing, so RevertToSelf runs once, when the last holder
// goes. Assigning from an object that holds nothing ends the target's
// impersonation; from one that holds a token, the target keeps the thread
// impersonating under that token and closes its own.
class XWTH_API CProgramCheckUser {
public:
    CProgramCheckUser();
    CProgramCheckUser(const CProgramCheckUser& other) noexcept;
    CProgramCheckUser& operator=(const CProgramCheckUser& other) noexcept;
    virtual ~CProgramCheckUser();

    // mutable: a copy takes the token over from a const source.
    mutable HANDLE m_hToken;

private:
    void End() noexcept;
};

// The application's executable name as the framework records it, without
// its folder: "Zelvo_UI.exe" for "D:\Apps\Zelvo_UI.exe", "Zelvo_UI" for
// "Zelvo_UI". Empty when there is no application object or it records no
// name.
[[nodiscard]] XWTH_API CString XWGetExeName();
