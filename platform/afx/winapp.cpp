// Module state (the application's and the per-thread switch) and the
// application object.
#include <stdlib.h>
#include <string.h>

#include <initializer_list>
#include <type_traits>
#include <vector>

#include <afxwin.h>

namespace {

// Nothing to destroy at exit: extension DLLs unregister themselves while the
// process exits, when static destructors may already have run.
static_assert(std::is_trivially_destructible_v<AFX_MODULE_STATE>);

AFX_MODULE_STATE g_appModuleState;

// The state AFX_MANAGE_STATE made current on this thread; NULL means the
// application's.
thread_local AFX_MODULE_STATE* t_pModuleState = NULL;

// "C:\Apps\Zelvo_UI.exe" -> "Zelvo_UI", "/usr/bin/xwth" -> "xwth": the last
// path component, without the text from its last dot on.
char* DupExeName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    char* copy = _strdup(name);
    if (copy != NULL) {
        char* dot = strrchr(copy, '.');
        if (dot != NULL) *dot = '\0';
    }
    return copy;
}

}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState() {
    return &g_appModuleState;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
    return t_pModuleState != NULL ? t_pModuleState : &g_appModuleState;
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState) {
    AFX_MODULE_STATE* pPrev = AfxGetModuleState();
    t_pModuleState = pNewState == &g_appModuleState ? NULL : pNewState;
    return pPrev;
}

IMPLEMENT_DYNAMIC(CWinApp, CObject)

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(lpszAppName != NULL ? _strdup(lpszAppName) : NULL),
      m_hInstance(NULL),
      m_lpCmdLine(NULL),
      m_nCmdShow(0),
      m_pszExeName(NULL) {
    if (lpszAppName != NULL && m_pszAppName == NULL) AfxThrowMemoryException();
    AfxGetModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp() {
    // The state that was current at construction may no longer be: look in
    // both the current one and the application's.
    for (AFX_MODULE_STATE* pState : {AfxGetModuleState(), AfxGetAppModuleState()}) {
        if (pState->m_pCurrentWinApp == this) pState->m_pCurrentWinApp = NULL;
        if (pState->m_lpszCurrentAppName == m_pszAppName) pState->m_lpszCurrentAppName = NULL;
    }
    free(const_cast<LPTSTR>(m_pszAppName));
    free(const_cast<LPTSTR>(m_pszExeName));
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

CWinApp* AFXAPI AfxGetApp() {
    return AfxGetModuleState()->m_pCurrentWinApp;
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    CWinApp* pApp = pState->m_pCurrentWinApp;
    if (pApp == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pState->m_hCurrentInstanceHandle = hInstance;
    pState->m_hCurrentResourceHandle = hInstance;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    if (pApp->m_pszExeName == NULL) {
        // POSIX paths may be longer than MAX_PATH: grow until the name fits.
        std::vector<char> path(MAX_PATH);
        for (;;) {
            const DWORD n = GetModuleFileNameA(hInstance, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return FALSE;  // last error set by the call
            if (n < path.size()) break;
            if (path.size() >= 32768) return FALSE;
            path.resize(path.size() * 2);
        }
        pApp->m_pszExeName = DupExeName(path.data());
        if (pApp->m_pszExeName == NULL) AfxThrowMemoryException();
    }
    if (pApp->m_pszAppName == NULL) {
        pApp->m_pszAppName = _strdup(pApp->m_pszExeName);
        if (pApp->m_pszAppName == NULL) AfxThrowMemoryException();
    }
    pState->m_lpszCurrentAppName = pApp->m_pszAppName;
    return TRUE;
}
