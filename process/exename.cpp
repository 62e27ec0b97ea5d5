// XWGetExeName: the executable's file name as the framework records it.
#include <windows.h>
#include <afxwin.h>

#include <stdlib.h>

#include <xwth/process.h>

CString XWGetExeName() {
    // No application object, or no recorded name: an empty name rather than
    // a guess from the module's path, which the application may have chosen
    // not to use.
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pszExeName == NULL) return CString();
    char drive[MAX_PATH], dir[MAX_PATH], fname[MAX_PATH], ext[MAX_PATH], path[MAX_PATH];
    _splitpath(pApp->m_pszExeName, drive, dir, fname, ext);
    _makepath(path, NULL, NULL, fname, ext);
    return CString(path);
}
