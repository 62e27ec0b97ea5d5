// The application object: CWinApp, AfxGetApp and AfxWinInit.
#pragma once

#include <afx.h>

// The program's one application object, usually a static of the program.
// Its constructor makes it the current module state's application and its
// destructor undoes that. It owns m_pszAppName and m_pszExeName: both are
// heap copies made with _strdup and released with free, so code that replaces
// one frees the old text with free and stores a _strdup copy.
class WINPORT_API CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)
public:
    // lpszAppName NULL: AfxWinInit names the application after its executable.
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The program's exit code.
    virtual int ExitInstance();

    LPCTSTR m_pszAppName;
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;  // not owned
    int m_nCmdShow;
    // The executable's file name without folder and extension ("xwth" for
    // /usr/bin/xwth, "Zelvo_UI" for C:\Apps\Zelvo_UI.exe).
    LPCTSTR m_pszExeName;
};

// The current module state's application object, or NULL.
[[nodiscard]] WINPORT_API CWinApp* AFXAPI AfxGetApp();

// What a program's start-up does before InitInstance: records the instance
// handle in the application object and the module state (as instance and
// resource handle) and fills m_pszExeName from the module's file name and,
// where the program gave none, m_pszAppName with the same text. Names that
// are already set are kept. FALSE when there is no application object or the
// module's file name cannot be read.
WINPORT_API BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
