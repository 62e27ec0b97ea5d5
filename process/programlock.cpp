// ZUZA_ProgramLock and CProgramLock: a named mutex as the marker that one
// instance of a program runs.
#include <windows.h>
#include <afxwin.h>

#include <string.h>

#include <xwth/process.h>

namespace {

// 255 characters and the NUL; the global prefix counts.
constexpr size_t kNameBuffer = 256;
const char kGlobalPrefix[] = "Global\\G_";

// Copies at most what fits; an overlong name is cut, never written past
// the buffer.
void AppendCut(char* buffer, const char* text) {
    const size_t used = strlen(buffer);
    const size_t room = kNameBuffer - 1 - used;
    const size_t n = strnlen(text, room);
    memcpy(buffer + used, text, n);
    buffer[used + n] = '\0';
}

HANDLE Duplicate(HANDLE h) {
    HANDLE copy = NULL;
    if (h != NULL && !DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS)) {
        copy = NULL;  // the copy then holds nothing: never the same handle twice
    }
    return copy;
}

}  // namespace

ZUZA_ProgramLock::ZUZA_ProgramLock(const ZUZA_ProgramLock& other) : m_hMutex(Duplicate(other.m_hMutex)) {}

ZUZA_ProgramLock& ZUZA_ProgramLock::operator=(const ZUZA_ProgramLock& other) {
    if (this != &other) {
        HANDLE copy = Duplicate(other.m_hMutex);
        Unlock();
        m_hMutex = copy;
    }
    return *this;
}

ZUZA_ProgramLock::~ZUZA_ProgramLock() {
    if (m_hMutex != NULL) CloseHandle(m_hMutex);
}

BOOL ZUZA_ProgramLock::OwnsLock() const {
    return m_hMutex != NULL;
}

BOOL ZUZA_ProgramLock::IsLockedElsewhere() {
    return !OwnsLock();
}

bool ZUZA_ProgramLock::Lock(const char* pszName, bool bGlobal, bool bWait) {
    char name[kNameBuffer] = {};
    if (pszName != NULL) AppendCut(name, pszName);
    if (name[0] == '\0') {
        AFX_MANAGE_STATE(AfxGetAppModuleState());
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pszAppName != NULL) AppendCut(name, pApp->m_pszAppName);
    }
    if (name[0] == '\0') AppendCut(name, "TQProgLock");
    if (bGlobal) {
        char global[kNameBuffer] = {};
        AppendCut(global, kGlobalPrefix);
        AppendCut(global, name);
        memcpy(name, global, kNameBuffer);
    }

    HANDLE hExisting = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name);
    if (hExisting != NULL) {
        if (bWait) WaitForSingleObject(hExisting, INFINITE);
        CloseHandle(hExisting);
    } else {
        HANDLE h = CreateMutexA(NULL, FALSE, name);
        // A second Lock under another name replaces the held handle; the
        // old one is closed rather than lost.
        if (m_hMutex != NULL && h != NULL) {
            const DWORD err = GetLastError();
            CloseHandle(m_hMutex);
            SetLastError(err);
        }
        if (h != NULL || m_hMutex == NULL) m_hMutex = h;
    }
    if (bWait && m_hMutex == NULL) m_hMutex = CreateMutexA(NULL, FALSE, name);
    return m_hMutex != NULL || GetLastError() == ERROR_PATH_NOT_FOUND;
}

void ZUZA_ProgramLock::Unlock() {
    if (m_hMutex != NULL) {
        CloseHandle(m_hMutex);
        m_hMutex = NULL;
    }
}

CProgramLock::CProgramLock(bool bLock) {
    if (bLock) (void)Lock(NULL, false, false);
}

CProgramLock::~CProgramLock() {
    if (m_hMutex != NULL) {
        CloseHandle(m_hMutex);
        m_hMutex = NULL;  // the base destructor then has nothing left to close
    }
}
