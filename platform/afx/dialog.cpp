// CDialog, CCommonDialog and CFileDialog.
//
// CFileDialog::DoModal asks the system's file dialog (GetOpenFileNameA or
// GetSaveFileNameA) with the object's record. The framework's hook ties the
// object to the dialog's window when the system reports WM_INITDIALOG, so
// that OnInitDialog runs with m_hWnd set, and DoModal unties it once the
// system call has returned (the window is gone by then).
#include <afxdlgs.h>

#include <algorithm>
#include <cstring>

// ---- CDialog ------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

CDialog::CDialog() noexcept : m_pParentWnd(NULL), m_nIDHelp(0), m_lpszTemplateName(NULL) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept
    : m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate),
      m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) noexcept
    : m_pParentWnd(pParentWnd), m_nIDHelp(0), m_lpszTemplateName(lpszTemplateName) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return -1;
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

// ---- CCommonDialog --------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

BEGIN_MESSAGE_MAP(CCommonDialog, CDialog)
END_MESSAGE_MAP()

CCommonDialog::CCommonDialog(CWnd* pParentWnd) noexcept : CDialog(static_cast<UINT>(0), pParentWnd) {
    m_lpszTemplateName = NULL;
}

CCommonDialog::~CCommonDialog() = default;

// ---- CFileDialog ----------------------------------------------------------------

namespace {

// The file dialog whose DoModal runs on this thread (the innermost one).
thread_local CFileDialog* t_pDialogInit = NULL;

// The framework's hook: on WM_INITDIALOG it ties the dialog object to the
// system dialog's window (an Explorer-style hook window is a child of it)
// and calls OnInitDialog. Everything else is left to the system.
UINT_PTR CALLBACK AfxFileDialogHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    if (message != WM_INITDIALOG) return 0;
    CFileDialog* pDlg = t_pDialogInit;
    if (pDlg == NULL || pDlg->GetSafeHwnd() != NULL) return 0;
    HWND hDialog = (pDlg->m_ofn.Flags & OFN_EXPLORER) != 0 ? ::GetParent(hWnd) : hWnd;
    if (hDialog == NULL || !pDlg->Attach(hDialog)) return 0;
    return pDlg->OnInitDialog();
}

}  // namespace

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

BEGIN_MESSAGE_MAP(CFileDialog, CCommonDialog)
END_MESSAGE_MAP()

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_szFileTitle(), m_szFileName() {
    m_ofn.lStructSize = dwSize != 0 ? dwSize : static_cast<DWORD>(sizeof(OPENFILENAME));
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = static_cast<DWORD>(sizeof m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = static_cast<DWORD>(sizeof m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &AfxFileDialogHook;
    if (lpszFileName != NULL) {
        const size_t n = std::min(std::strlen(lpszFileName), sizeof m_szFileName - 1);
        std::memcpy(m_szFileName, lpszFileName, n);
        m_szFileName[n] = '\0';
    }
    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFilter != NULL) {
        // Each '|' becomes a NUL in place; the buffer stays held, so the
        // record may point into it for the object's life.
        m_strFilter = lpszFilter;
        // A filter must end in "|" so that its last pair is closed by two
        // NULs (the string's own NUL is the second).
        if (!m_strFilter.IsEmpty() && m_strFilter[m_strFilter.GetLength() - 1] != '|') m_strFilter += '|';
        const int length = m_strFilter.GetLength();
        LPTSTR p = m_strFilter.GetBuffer(0);
        for (int i = 0; i < length; ++i) {
            if (p[i] == '|') p[i] = '\0';
        }
        m_ofn.lpstrFilter = p;
    }
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = m_pParentWnd != NULL ? m_pParentWnd->GetSafeHwnd() : NULL;
    CFileDialog* const outer = t_pDialogInit;
    t_pDialogInit = this;
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    t_pDialogInit = outer;
    // The system's window is gone: the object lets go of its handle.
    if (m_hWnd != NULL) Detach();
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    return CString(m_ofn.lpstrFile != NULL ? m_ofn.lpstrFile : "");
}

CString CFileDialog::GetFileName() const {
    const CString path = GetPathName();
    const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}
